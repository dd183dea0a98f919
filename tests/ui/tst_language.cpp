#include "core/appidentity.h"
#include "modaldialogs.h"
#include "ui/language.h"

#include <QtTest>
#include <QtWidgets>

static const QString languageKey = S("ApplicationLanguage");

class TestLanguage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { AppIdentity::apply(); }

    void init()
    {
        QSettings().clear();
        qDeleteAll(qApp->findChildren<QTranslator *>()); // deleting also uninstalls
        QLocale::setDefault(QLocale::c());
    }

    void chosenLocale_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("system");
        QTest::addColumn<QString>("chosen");
        const auto row
            = [](const char *tag, const char *setting, const char *system, const char *chosen) {
                  QTest::newRow(tag) << S(setting) << S(system) << S(chosen);
              };
        row("German system", "", "de_AT", "de_DE");
        row("American system", "", "en_US", "en_GB");
        row("French system", "", "fr_FR", "de_DE");
        row("no locale at all", "", "C", "de_DE");
        row("setting wins", "en_GB", "de_DE", "en_GB");
        row("setting without translation", "en_US", "de_DE", "en_GB");
    }

    void chosenLocale()
    {
        QFETCH(QString, setting);
        QFETCH(QString, system);
        QFETCH(QString, chosen);
        if (!setting.isEmpty())
            QSettings().setValue(languageKey, setting);
        QCOMPARE(::chosenLocale(system), chosen);
    }

    // Program texts, Qt's own buttons and dates all in the one language.
    void setupLanguage_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QStringList>("texts"); // file menu, Qt's Cancel, a month
        QTest::newRow("German") << "de_DE" << QStringList{S("&Datei"), S("Abbrechen"), S("März")};
        QTest::newRow("English") << "en_GB" << QStringList{S("&File"), S("Cancel"), S("March")};
        QTest::newRow("French shows German")
            << "fr_FR" << QStringList{S("&Datei"), S("Abbrechen"), S("März")};
    }

    void setupLanguage()
    {
        QFETCH(QString, setting);
        QFETCH(QStringList, texts);
        QSettings().setValue(languageKey, setting);
        ::setupLanguage(qApp);
        const QStringList shown{
            QCoreApplication::translate("BrowserMainWindow", "&Datei"),
            QCoreApplication::translate("QPlatformTheme", "Cancel"),
            QLocale().monthName(3),
        };
        QCOMPARE(shown, texts);
    }

    // The question comes in the language chosen; only "restart now" restarts.
    void choosingALanguageOffersARestart()
    {
        QSettings().setValue(languageKey, S("de_DE"));
        ::setupLanguage(qApp);
        QMenu menu;
        menu.addAction(S("stale"));
        int restarts = 0;
        fillLanguageMenu(&menu, [&restarts] { ++restarts; });
        fillLanguageMenu(&menu, [&restarts] { ++restarts; });
        QCOMPARE(menu.actions().size(), 2);
        QAction *german = menu.actions().at(0);
        QAction *english = menu.actions().at(1);
        QVERIFY(german->isChecked() && !english->isChecked());

        for (const char *answer : {"Later", "Restart now"}) {
            answerNextModal<QMessageBox>([answer](QMessageBox *box) {
                const QList<QAbstractButton *> buttons = box->buttons();
                const auto chosen
                    = std::find_if(buttons.cbegin(), buttons.cend(), [answer](auto *b) {
                          return b->text() == QLatin1String(answer);
                      });
                chosen != buttons.cend() ? (*chosen)->click() : box->reject();
            });
            english->trigger();
        }
        QCOMPARE(restarts, 1);
        QCOMPARE(QSettings().value(languageKey).toString(), S("en_GB"));

        german->trigger(); // the running language: nothing to ask
        QCOMPARE(restarts, 1);
        QCOMPARE(QSettings().value(languageKey).toString(), S("de_DE"));
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"

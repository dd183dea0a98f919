#include "app/language.h"
#include "core/appidentity.h"
#include "ui/browsermainwindow.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSettings>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

static const QString languageKey = QStringLiteral("ApplicationLanguage");

static QString fileMenuText()
{
    return QCoreApplication::translate("BrowserMainWindow", "&Datei");
}

class TestLanguage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        AppIdentity::apply();
        QVERIFY(QSettings().fileName().endsWith(QLatin1String("Lumorel/RAMAN.ini")));
    }

    void init()
    {
        QSettings().clear();
        qDeleteAll(qApp->findChildren<QTranslator *>()); // deleting also uninstalls
        QLocale::setDefault(QLocale::c());
    }

    void chosenLocale()
    {
        QCOMPARE(::chosenLocale(), QLocale::system().name());
        QSettings().setValue(languageKey, QStringLiteral("fr_FR"));
        QCOMPARE(::chosenLocale(), QStringLiteral("fr_FR"));
    }

    void setupLanguage_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<int>("translators");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("file");
        QTest::newRow("English") << "en_GB" << 2 << "en_GB"
                                 << "&File";
        QTest::newRow("German needs no program translation") << "de_DE" << 1 << "de_DE"
                                                             << "&Datei";
        // This run keeps the chosen locale's formats with the German texts.
        QTest::newRow("missing falls back to German") << "en_US" << 1 << "de_DE"
                                                      << "&Datei";
    }

    void setupLanguage()
    {
        QFETCH(QString, setting);
        QFETCH(int, translators);
        QFETCH(QString, stored);
        QFETCH(QString, file);
        QSettings().setValue(languageKey, setting);
        if (stored != setting) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(
                                                   "^Failed to load translations from .*:/"
                                                   "translations/en_US.qm")));
            QTest::ignoreMessage(QtWarningMsg, "Resetting locale in settings to source locale.");
        }
        ::setupLanguage(qApp);
        QCOMPARE(QSettings().value(languageKey).toString(), stored);
        QCOMPARE(QLocale().name(), setting);
        QCOMPARE(fileMenuText(), file);
        BrowserMainWindow window;
        auto *fileMenu = window.findChild<QMenu *>(QStringLiteral("menuFile"));
        QVERIFY(fileMenu);
        QCOMPARE(fileMenu->title(), file);
        if (stored == setting)
            QCOMPARE(qApp->findChildren<QTranslator *>().size(), translators);
    }

    void choosingALanguageStoresItAndAsksForRestart()
    {
        QSettings().setValue(languageKey, QStringLiteral("de_DE"));
        ::setupLanguage(qApp);
        QMainWindow window;
        window.show();
        QMenu menu;
        menu.addAction(QStringLiteral("stale"));
        fillLanguageMenu(&menu);
        fillLanguageMenu(&menu);
        QStringList names;
        QAction *english = nullptr;
        for (QAction *action : menu.actions()) {
            names << QString(action->text()
                             + (action->isCheckable() ? QStringLiteral("!") : QString()));
            if (action->text() == QLatin1String("English"))
                english = action;
        }
        names.sort();
        QCOMPARE(names, (QStringList{QStringLiteral("Deutsch"), QStringLiteral("English")}));

        QString text;
        QWidget *parent = nullptr;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            text = box->windowTitle() + QLatin1Char('|') + box->text();
            parent = box->parentWidget();
            QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
            box->accept();
        });
        english->trigger();
        QCOMPARE(text, QStringLiteral("Language changed|Please restart the application to use the "
                                      "selected language."));
        QCOMPARE(parent, &window);
        QCOMPARE(QSettings().value(languageKey).toString(), QStringLiteral("en_GB"));
        QCOMPARE(fileMenuText(), QStringLiteral("&Datei")); // not re-translated before a restart
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"

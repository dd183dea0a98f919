#include "core/appidentity.h"
#include "modaldialogs.h"
#include "ui/language.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSettings>
#include <QTranslator>
#include <QtTest>

static const QString languageKey = S("ApplicationLanguage");

static QString fileMenuText()
{
    return QCoreApplication::translate("BrowserMainWindow", "&Datei");
}

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

    void setupLanguage_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("file");
        QTest::newRow("English") << "en_GB"
                                 << "en_GB"
                                 << "&File";
        // This run keeps the chosen locale's formats with the German texts.
        QTest::newRow("missing falls back to German") << "en_US"
                                                      << "de_DE"
                                                      << "&Datei";
    }

    void setupLanguage()
    {
        QFETCH(QString, setting);
        QFETCH(QString, stored);
        QFETCH(QString, file);
        QSettings().setValue(languageKey, setting);
        if (stored != setting) {
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(S("^Failed to load translations from .*:/"
                                                      "translations/en_US.qm")));
            QTest::ignoreMessage(QtWarningMsg, "Resetting locale in settings to source locale.");
        }
        ::setupLanguage(qApp);
        QCOMPARE(QSettings().value(languageKey).toString(), stored);
        QCOMPARE(QLocale().name(), setting);
        QCOMPARE(fileMenuText(), file);
    }

    void choosingALanguageStoresItAndAsksForRestart()
    {
        QSettings().setValue(languageKey, S("de_DE"));
        ::setupLanguage(qApp);
        QMenu menu;
        menu.addAction(S("stale"));
        fillLanguageMenu(&menu);
        fillLanguageMenu(&menu);
        QCOMPARE(menu.actions().size(), 2);
        QAction *english
            = menu.actions().at(menu.actions().at(0)->text() == QLatin1String("English") ? 0 : 1);
        QCOMPARE(english->text(), S("English"));
        QString shown;
        answerNextModal<QWidget>([&shown](QWidget *box) {
            shown = QLatin1String(box->metaObject()->className());
            box->close();
        });
        english->trigger();
        QCOMPARE(shown, S("QMessageBox"));
        QCOMPARE(QSettings().value(languageKey).toString(), S("en_GB"));
        QCOMPARE(fileMenuText(), S("&Datei")); // not re-translated before a restart
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"

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

class TestLanguage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void chosenLocale_data();
    void chosenLocale();
    void englishTranslation();
    void missingTranslationFallsBackToGerman();
    void germanNeedsNoProgramTranslation();
    void languageMenu();
    void choosingALanguageStoresItAndAsksForRestart();

private:
    static int translatorCount() { return qApp->findChildren<QTranslator *>().size(); }
};

void TestLanguage::initTestCase()
{
    AppIdentity::apply();
    QCOMPARE(QSettings().format(), QSettings::IniFormat);
    QVERIFY(QSettings().fileName().endsWith(QLatin1String("Lumorel/RAMAN.ini")));
}

void TestLanguage::init()
{
    QSettings().clear();
    qDeleteAll(qApp->findChildren<QTranslator *>()); // deleting also uninstalls
    QLocale::setDefault(QLocale::c());
}

void TestLanguage::chosenLocale_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("expected");
    QTest::newRow("unset uses the system locale") << QString() << QLocale::system().name();
    QTest::newRow("set") << QStringLiteral("en_GB") << QStringLiteral("en_GB");
    QTest::newRow("set to anything") << QStringLiteral("fr_FR") << QStringLiteral("fr_FR");
}

void TestLanguage::chosenLocale()
{
    QFETCH(QString, setting);
    QFETCH(QString, expected);
    if (!setting.isNull())
        QSettings().setValue(QStringLiteral("ApplicationLanguage"), setting);
    QCOMPARE(::chosenLocale(), expected);
}

void TestLanguage::englishTranslation()
{
    QSettings().setValue(QStringLiteral("ApplicationLanguage"), QStringLiteral("en_GB"));
    setupLanguage(qApp);
    QCOMPARE(translatorCount(), 2);
    QCOMPARE(QCoreApplication::translate("BrowserMainWindow", "&Datei"), QStringLiteral("&File"));
    QCOMPARE(QLocale().name(), QStringLiteral("en_GB"));
    QCOMPARE(QSettings().value(QStringLiteral("ApplicationLanguage")).toString(),
             QStringLiteral("en_GB"));

    // The forms pick the translation up.
    BrowserMainWindow window;
    auto *fileMenu = window.findChild<QMenu *>(QStringLiteral("menuFile"));
    QVERIFY(fileMenu);
    QCOMPARE(fileMenu->title(), QStringLiteral("&File"));
}

void TestLanguage::missingTranslationFallsBackToGerman()
{
    QSettings().setValue(QStringLiteral("ApplicationLanguage"), QStringLiteral("en_US"));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^Failed to load translations from "
                                                           ".*:/translations/en_US.qm")));
    QTest::ignoreMessage(QtWarningMsg, "Resetting locale in settings to source locale.");
    setupLanguage(qApp);
    QCOMPARE(QSettings().value(QStringLiteral("ApplicationLanguage")).toString(),
             QStringLiteral("de_DE"));
    // This run keeps the chosen locale's formats with the German texts.
    QCOMPARE(QLocale().name(), QStringLiteral("en_US"));
    QCOMPARE(QCoreApplication::translate("BrowserMainWindow", "&Datei"), QStringLiteral("&Datei"));
}

void TestLanguage::germanNeedsNoProgramTranslation()
{
    QSettings().setValue(QStringLiteral("ApplicationLanguage"), QStringLiteral("de_DE"));
    setupLanguage(qApp);
    QCOMPARE(translatorCount(), 1);
    QCOMPARE(QLocale().name(), QStringLiteral("de_DE"));
    QCOMPARE(QCoreApplication::translate("BrowserMainWindow", "&Datei"), QStringLiteral("&Datei"));
}

void TestLanguage::languageMenu()
{
    QMenu menu;
    menu.addAction(QStringLiteral("stale"));
    fillLanguageMenu(&menu);
    fillLanguageMenu(&menu);
    QStringList names;
    for (const QAction *action : menu.actions()) {
        names << action->text();
        QVERIFY(!action->isCheckable());
    }
    names.sort();
    QCOMPARE(names, (QStringList{QStringLiteral("Deutsch"), QStringLiteral("English")}));
}

void TestLanguage::choosingALanguageStoresItAndAsksForRestart()
{
    QSettings().setValue(QStringLiteral("ApplicationLanguage"), QStringLiteral("de_DE"));
    setupLanguage(qApp);
    QMainWindow window;
    window.show();
    QMenu menu;
    fillLanguageMenu(&menu);
    QAction *english = nullptr;
    for (QAction *action : menu.actions()) {
        if (action->text() == QLatin1String("English"))
            english = action;
    }
    QVERIFY(english);

    QString title, text;
    QWidget *parent = nullptr;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        parent = box->parentWidget();
        QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
        box->accept();
    });
    english->trigger();
    QCOMPARE(title, QStringLiteral("Language changed"));
    QCOMPARE(text, QStringLiteral("Please restart the application to use the selected language."));
    QCOMPARE(parent, &window);
    QCOMPARE(QSettings().value(QStringLiteral("ApplicationLanguage")).toString(),
             QStringLiteral("en_GB"));
    // Nothing is re-translated until the next start.
    QCOMPARE(QCoreApplication::translate("BrowserMainWindow", "&Datei"), QStringLiteral("&Datei"));
}

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"

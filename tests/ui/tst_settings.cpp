#include "core/appidentity.h"
#include "core/pathmanager.h"
#include "measurementfolders.h"
#include "modaldialogs.h"
#include "report/reportgenerator.h"
#include "reportfixture.h"
#include "storage/backup.h"
#include "ui/language.h"
#include "ui/settingsdialog.h"

#include <QtTest>
#include <QtWidgets>

static const QString languageKey = S("ApplicationLanguage");

// The language of the program and the settings dialog.
class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        AppIdentity::apply();
        QLoggingCategory::setFilterRules(S("*.debug=false\n*.warning=false"));
        QVERIFY(QDir().mkpath(m_dir.filePath(S("save"))));
        QVERIFY(QDir().mkpath(m_dir.filePath(S("backups"))));
        QVERIFY(TestFiles::write(m_dir.filePath(S("a file")), "x"));
        ReportFixture::writeCompiler(m_dir.filePath(S("good tex")), "exit 0\n");
        ReportFixture::writeCompiler(m_dir.filePath(S("broken tex")), "exit 1\n");
    }

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
        if (!setting.isEmpty())
            QSettings().setValue(languageKey, setting);
        QTEST(::chosenLocale(system), "chosen");
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
        QSettings().setValue(languageKey, setting);
        ::setupLanguage(qApp);
        const QStringList shown{
            QCoreApplication::translate("BrowserMainWindow", "&Datei"),
            QCoreApplication::translate("QPlatformTheme", "Cancel"),
            QLocale().monthName(3),
        };
        QTEST(shown, "texts");
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

    // Each refused entry is named with its value; the dialog stays open until all can be used.
    void refusesWhatCannotBeUsed_data()
    {
        QTest::addColumn<QString>("save");
        QTest::addColumn<QString>("backup");
        QTest::addColumn<QString>("compiler");
        QTest::addColumn<QStringList>("named"); // empty: accepted
        const auto row = [](const char *tag, const char *save, const char *backup,
                            const char *compiler, const QStringList &named) {
            QTest::newRow(tag) << S(save) << S(backup) << S(compiler) << named;
        };
        row("all usable", "save", "backups", "good tex", {});
        row("no compiler, no reports", "save", "backups", "", {});
        row("default backup folder, not made yet", "save", "", "", {});
        row("missing save folder", "missing", "backups", "", {S("Speicherpfad"), S("missing")});
        row("backup folder is a file", "save", "a file", "", {S("Backup-Ordner"), S("a file")});
        row("compiler fails, no folder", "", "backups", "broken tex",
            {S("Speicherpfad"), S("TeX-Compiler"), S("broken tex")});
        row("compiler missing", "save", "backups", "no tex", {S("TeX-Compiler")});
    }

    void refusesWhatCannotBeUsed()
    {
        QFETCH(QString, save);
        QFETCH(QString, backup);
        QFETCH(QString, compiler);
        QFETCH(QStringList, named);
        const auto path
            = [this](const QString &name) { return name.isEmpty() ? name : m_dir.filePath(name); };
        const QString backupFolder = backup.isEmpty() ? defaultBackupRoot() : path(backup);
        const QString before = PathManager::instance().savePath();
        SettingsDialog dialog;
        dialog.show();
        childNamed<QLineEdit>(&dialog, "savePath")->setText(path(save));
        childNamed<QLineEdit>(&dialog, "backupPath")->setText(backupFolder);
        childNamed<QLineEdit>(&dialog, "texCompiler")->setText(path(compiler));
        auto *language = childNamed<QComboBox>(&dialog, "language");
        language->setCurrentIndex(language->findData(S("en_GB")));
        // A member: the answer of an accepted row stays armed and may take a later row's box.
        m_message.clear();
        answerNextModal<QMessageBox>([this](QMessageBox *box) {
            m_message = box->text();
            box->accept();
        });
        const QString &message = m_message;
        dialog.accept();
        QTRY_VERIFY(!message.isEmpty() || !dialog.isVisible());
        for (const QString &name : qAsConst(named))
            QVERIFY2(message.contains(name), qPrintable(message));
        QCOMPARE(dialog.isVisible(), !named.isEmpty());
        if (!named.isEmpty()) {
            QCOMPARE(PathManager::instance().savePath(), before);
            return;
        }
        QCOMPARE(PathManager::instance().savePath(), path(save));
        QCOMPARE(QDir::cleanPath(backupRoot()), QDir::cleanPath(backupFolder));
        QCOMPARE(ReportGenerator::texCompilerPath(), path(compiler));
        QCOMPARE(QSettings().value(S("ApplicationLanguage")).toString(), S("en_GB"));
        QCOMPARE(SettingsDialog().edited().savePath, path(save)); // shown again as stored
    }

private:
    QTemporaryDir m_dir;
    QString m_message;
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"

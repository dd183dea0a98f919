// Random user actions on the real main window, its measurement view and analysis windows, with
// the demo measurements and the real library. RAMAN_RANDOM_SEED and RAMAN_RANDOM_ACTIONS choose
// a run; every action is printed as it starts, so a crash or sanitizer report leaves the road to
// it, and a run with the same seed and count replays it.

#include "analysis/ui/lineselectplotcanvas.h"
#include "analysis/ui/spectrumanalysiswindow.h"
#include "analysis/ui/spectrumprocessingwidget.h"
#include "browse/savedatabrowsemodel.h"
#include "browse/ui/savedatabrowsewidget.h"
#include "core/appidentity.h"
#include "demoprofile.h"
#include "measurementfolders.h"
#include "modalguard.h"
#include "savedata_view/savedatamodel.h"
#include "savedata_view/ui/savedatadisplaywidget.h"
#include "storage/backup.h"
#include "ui/browsermainwindow.h"

#include <QtTest>
#include <QtWidgets>

#include <cstdio>

namespace {

int environmentNumber(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

// Copies into `to` what it lacks of `from`.
bool copyTree(const QString &from, const QString &to)
{
    return QProcess::execute(S("cp"), {S("-Rn"), from + S("/."), to}) == 0;
}

} // namespace

class TestRandomUse : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        AppIdentity::apply();
        QLoggingCategory::setFilterRules(S("*.debug=false\n*.info=false\n*.warning=false"));
        QSettings().clear();
        const QByteArray failed = setUpDemoProfile(m_dir.filePath(S("lib")), pristine());
        QVERIFY2(failed.isEmpty(), failed.constData());
    }

    void run()
    {
        const auto seed = quint32(environmentNumber("RAMAN_RANDOM_SEED", 1));
        const int actions = environmentNumber("RAMAN_RANDOM_ACTIONS", 1000);
        QDir(root()).removeRecursively();
        QDir(backupRoot()).removeRecursively();
        QVERIFY(copyTree(pristine(), root()));
        QSettings().setValue(BrowserMainWindow::activeDirectoryKey, root());
        m_random.seed(seed);
        m_answers.seed(seed ^ 0x5a5a5a5au);
        m_log.clear();
        say(QStringLiteral("seed %1, %2 actions").arg(seed).arg(actions));

        m_window = new BrowserMainWindow;
        m_window->show();
        QTimer answerer;
        connect(&answerer, &QTimer::timeout, this, &TestRandomUse::answerModal);
        answerer.start(5);
        QVERIFY(QSignalSpy(list(), &SaveDataBrowseModel::loadingFinished).wait(10000));

        for (int step = 1; step <= actions; ++step) {
            act(step);
            // Sometimes the next action comes before the last one has settled.
            QTest::qWait(int(m_random.bounded(3)) * 10);
            const QString broken = brokenInvariant();
            if (!broken.isEmpty()) {
                say(QStringLiteral("invariant broken: ") + broken);
                QFAIL(qPrintable(QStringLiteral("replay with RAMAN_RANDOM_SEED=%1 "
                                                "RAMAN_RANDOM_ACTIONS=%2:\n%3")
                                     .arg(seed)
                                     .arg(step)
                                     .arg(m_log.join(QLatin1Char('\n')))));
            }
        }
        for (SpectrumAnalysisWindow *analysis : analysisWindows())
            analysis->close();
        delete m_window.data();
        QTest::qWait(10);
    }

private:
    QString root() const { return m_dir.filePath(S("Raman")); }
    QString pristine() const { return m_dir.filePath(S("pristine")); }

    void say(const QString &line)
    {
        m_log << line;
        std::printf("%s\n", qPrintable(line));
        std::fflush(stdout);
    }

    SaveDataBrowseWidget *browse() const
    {
        return childNamed<SaveDataBrowseWidget>(m_window, "browseWidget");
    }
    SaveDataDisplayWidget *display() const
    {
        return childNamed<SaveDataDisplayWidget>(m_window, "displayWidget");
    }
    SaveDataBrowseModel *list() const { return browse()->model(); }
    QTableView *table() const { return childNamed<QTableView>(browse(), "tableView"); }
    QTreeView *tree() const { return childNamed<QTreeView>(display(), "treeView"); }
    SaveDataModel *shown() const { return display()->model(); }

    static QList<SpectrumAnalysisWindow *> analysisWindows()
    {
        QList<SpectrumAnalysisWindow *> windows;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *window = qobject_cast<SpectrumAnalysisWindow *>(w);
            if (window && window->isVisible())
                windows << window;
        }
        return windows;
    }

    int pick(int count) { return count <= 0 ? 0 : int(m_random.bounded(count)); }
    template<typename T>
    T pickOf(const QList<T> &items)
    {
        return items.at(pick(items.size()));
    }

    void pickIn(QComboBox *combo) { combo->setCurrentIndex(pick(combo->count())); }

    void trigger(const char *name)
    {
        if (QAction *action = childNamed<QAction>(m_window, name); action->isEnabled())
            action->trigger();
    }

    void act(int step)
    {
        struct Action
        {
            const char *name;
            int weight;
            void (TestRandomUse::*run)();
        };
        static const Action all[] = {
            {"select a measurement", 8, &TestRandomUse::selectMeasurement},
            {"type in a filter", 6, &TestRandomUse::typeInFilter},
            {"change a filter switch", 3, &TestRandomUse::changeFilterSwitch},
            {"clear the filters", 3, &TestRandomUse::clearFilters},
            {"sort the list", 2, &TestRandomUse::sortList},
            {"select in the tree", 4, &TestRandomUse::selectTreeItem},
            {"analyse", 3, &TestRandomUse::analyse},
            {"work in an analysis", 12, &TestRandomUse::workInAnalysis},
            {"save", 2, &TestRandomUse::save},
            {"reload the list", 1, &TestRandomUse::reload},
            {"edit the sample data", 2, &TestRandomUse::editMetadata},
            {"delete a measuring point", 1, &TestRandomUse::deletePoint},
            {"delete the measurement", 1, &TestRandomUse::deleteMeasurement},
            {"re-create deleted measurements", 1, &TestRandomUse::recreate},
            {"switch the language", 1, &TestRandomUse::switchLanguage},
            {"browse the backups or come back", 1, &TestRandomUse::browseBackups},
            {"open the report", 1, &TestRandomUse::report},
        };
        int total = 0;
        for (const Action &a : all)
            total += a.weight;
        int chosen = pick(total);
        for (const Action &a : all) {
            if ((chosen -= a.weight) < 0) {
                m_detail.clear();
                (this->*a.run)();
                say(QStringLiteral("#%1 %2%3").arg(step).arg(QLatin1String(a.name), m_detail));
                return;
            }
        }
    }

    void selectMeasurement()
    {
        const int rows = table()->model()->rowCount();
        const int row = pick(rows + 1) - 1;
        m_detail = QStringLiteral(" row %1 of %2").arg(row).arg(rows);
        if (row < 0)
            table()->clearSelection();
        else
            table()->selectRow(row);
    }

    void typeInFilter()
    {
        static const char *const edits[] = {"lineEditOwner", "lineEditResult", "lineEditId"};
        static const QStringList texts
            = {S("Topa"), S("Hu"), S("a"), S("Bar"), S("7"), S("x"), S("Quarz"), S("")};
        auto *edit = childNamed<QLineEdit>(browse(), edits[pick(3)]);
        const QString text = pickOf(texts);
        m_detail = QStringLiteral(" %1 \"%2\"").arg(edit->objectName(), text);
        edit->setFocus();
        edit->clear();
        QTest::keyClicks(edit, text);
    }

    void changeFilterSwitch()
    {
        const int which = pick(3);
        m_detail = QStringLiteral(" %1").arg(which);
        if (which == 2) {
            QMetaObject::invokeMethod(childNamed<QWidget>(browse(), "ratingMin"), "setRating",
                                      Q_ARG(int, pick(4)));
            return;
        }
        childNamed<QCheckBox>(browse(), which == 0 ? "cBoxHideEmpty" : "cBoxHideUnrated")->toggle();
    }

    void clearFilters()
    {
        for (const char *name : {"lineEditOwner", "lineEditResult", "lineEditId"})
            childNamed<QLineEdit>(browse(), name)->clear();
        childNamed<QCheckBox>(browse(), "cBoxHideUnrated")->setChecked(false);
        QMetaObject::invokeMethod(childNamed<QWidget>(browse(), "ratingMin"), "setRating",
                                  Q_ARG(int, 0));
    }

    void sortList()
    {
        const int column = pick(list()->columnCount());
        m_detail = QStringLiteral(" column %1").arg(column);
        table()->sortByColumn(column, pick(2) ? Qt::AscendingOrder : Qt::DescendingOrder);
    }

    void selectTreeItem()
    {
        const int points = shown()->rowCount();
        if (points == 0 || !tree()->isEnabled())
            return;
        const int point = pick(points);
        const QModelIndex parent = shown()->index(point, 0);
        const int item = pick(shown()->rowCount(parent) + 1) - 1;
        m_detail = QStringLiteral(" point %1 item %2").arg(point).arg(item);
        tree()->setCurrentIndex(item < 0 ? parent : shown()->index(item, 0, parent));
    }

    void analyse()
    {
        auto *button = childNamed<QPushButton>(display(), "buttonAnalyze");
        if (button->isEnabled() && button->isVisible() && analysisWindows().size() < 3)
            button->click();
    }

    void workInAnalysis()
    {
        const QList<SpectrumAnalysisWindow *> windows = analysisWindows();
        if (windows.isEmpty())
            return;
        SpectrumAnalysisWindow *window = pickOf(windows);
        SpectrumProcessingWidget *widget = window->analysisWidget();
        const int what = pick(12);
        m_detail = QStringLiteral(" %1").arg(what);
        switch (what) {
        case 0:
            pickIn(childNamed<QComboBox>(widget, "searchMethodCombo"));
            break;
        case 1:
            pickIn(childNamed<QComboBox>(widget, "cBoxBackgroundMethod"));
            break;
        case 2:
            childNamed<QSpinBox>(widget, pick(2) ? "sBoxCmMin" : "smoothWidth")
                ->setValue(pick(400));
            break;
        case 3:
            widget->canvas()->placeLineAt(100 + pick(1400));
            break;
        case 4:
            childNamed<QPushButton>(widget, pick(2) ? "buttonAutoLines" : "buttonClearLines")
                ->click();
            break;
        case 5: {
            auto *results = childNamed<QTableView>(widget, "TViewRaBib");
            results->selectRow(pick(results->model()->rowCount() + 1) - 1);
            break;
        }
        case 6:
            QTest::keyClick(window, Qt::Key_G, Qt::ControlModifier);
            break;
        case 7:
            pickIn(childNamed<QComboBox>(widget, "resultSelectCombo"));
            break;
        case 8:
            childNamed<QLineEdit>(widget, "elementFilter")->setText(pick(2) ? S("Ba") : S(""));
            break;
        case 9: {
            auto *button = childNamed<QPushButton>(widget, "buttonSaveResults");
            if (button->isVisible())
                button->click();
            break;
        }
        case 10:
            childNamed<QCheckBox>(widget, "cBoxMovePoints")->toggle();
            break;
        default:
            window->close();
            break;
        }
    }

    void save() { trigger("actionSave"); }
    void reload() { trigger("actionReload"); }
    void report() { trigger("actionGenerateReport"); }
    void deleteMeasurement() { trigger("actionDelete"); }

    void editMetadata()
    {
        auto *button = childNamed<QPushButton>(display(), "buttonEditMetadata");
        if (button->isEnabled() && button->isVisible())
            button->click();
    }

    void deletePoint()
    {
        const int points = shown()->rowCount();
        if (points == 0 || !tree()->isEnabled())
            return;
        const int point = pick(points);
        m_detail = QStringLiteral(" %1").arg(point);
        emit tree()->customContextMenuRequested(
            tree()->visualRect(shown()->index(point, 0)).center());
        const QList<QMenu *> menus = display()->findChildren<QMenu *>();
        const QPointer<QMenu> menu = menus.isEmpty() ? nullptr : menus.last();
        if (!menu || menu->actions().size() < 2)
            return;
        menu->actions().at(1)->trigger(); // the second entry deletes
        if (menu)
            menu->close();
    }

    void recreate()
    {
        copyTree(pristine(), root());
        trigger("actionReload");
    }

    void switchLanguage()
    {
        QMenu *menu = childNamed<QMenu>(m_window, "menuLanguage");
        const QList<QAction *> actions = menu->actions();
        // A restart would start this test anew beside itself: the offer is always declined.
        m_declineRestart = true;
        if (!actions.isEmpty())
            pickOf(actions)->trigger();
        m_declineRestart = false;
    }

    void browseBackups()
    {
        if (pick(2)) {
            trigger("actionBrowseBackups");
        } else {
            m_detail = S(" back");
            browse()->selectSourceDirectory(root());
        }
    }

    // Message boxes get any of their buttons, file choosers are cancelled, the sample data form
    // is changed and accepted or rejected, other dialogs are rejected.
    void answerModal()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || m_answering)
            return;
        m_answering = true;
        const auto pickAnswer = [this](int n) { return int(m_answers.bounded(n)); };
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            const QList<QAbstractButton *> buttons = box->buttons();
            QAbstractButton *button = buttons.at(pickAnswer(buttons.size()));
            for (QAbstractButton *later : buttons) {
                if (m_declineRestart && box->buttonRole(later) == QMessageBox::RejectRole)
                    button = later;
            }
            say(QStringLiteral("   answered \"%1\" with %2")
                    .arg(box->windowTitle(), button->text()));
            button->click();
        } else if (auto *dialog = qobject_cast<QDialog *>(modal)) {
            const QList<QLineEdit *> edits = dialog->findChildren<QLineEdit *>();
            const bool accept
                = modal->inherits("SampleDataDialog") && pickAnswer(2) && !edits.isEmpty();
            if (accept)
                edits.at(pickAnswer(edits.size()))->setText(S("Zufall"));
            say(QStringLiteral("   %1 %2")
                    .arg(accept ? S("accepted") : S("rejected"),
                         QLatin1String(modal->metaObject()->className())));
            accept ? dialog->accept() : dialog->reject();
        }
        m_answering = false;
    }

    // What the window shows agrees with itself.
    QString brokenInvariant()
    {
        if (const QStringList modal = m_modalGuard.takeViolations(); !modal.isEmpty())
            return modal.join(S("; "));
        if (QApplication::activeModalWidget())
            return QString();
        if (!display()->isEnabled() && !m_window->isLoading())
            return S("the measurement view stays disabled after a load");
        const SaveData &data = shown()->saveData();
        if (shown()->rowCount() != data.sectorCount())
            return S("the tree lists other measuring points than the measurement has");
        if (m_window->isLoading())
            return QString();
        const int row = browse()->selectedRow();
        const QString selected
            = row < 0 ? QString()
                      : list()->index(row, 0).data(SaveDataBrowseModel::FolderPathRole).toString();
        if (!selected.isEmpty() && !data.folderPath().isEmpty()
            && QDir::cleanPath(selected) != QDir::cleanPath(data.folderPath()))
            return QStringLiteral("the list selects %1 but the window shows %2")
                .arg(selected, data.folderPath());
        return QString();
    }

    ModalInSignalGuard m_modalGuard;
    QTemporaryDir m_dir;
    QPointer<BrowserMainWindow> m_window;
    QRandomGenerator m_random;
    QRandomGenerator m_answers;
    QStringList m_log;
    QString m_detail;
    bool m_answering = false;
    bool m_declineRestart = false;
};

QTEST_MAIN(TestRandomUse)
#include "tst_randomuse.moc"

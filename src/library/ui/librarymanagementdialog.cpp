#include "library/ui/librarymanagementdialog.h"

#include "ui_librarymanagementdialog.h"

#include "core/librarysettings.h"
#include "core/logging.h"
#include "core/pathmanager.h"
#include "library/install/libraryinstaller.h"
#include "library/librarycache.h"
#include "library/libraryloader.h"
#include "library/ui/librarydownloaddialog.h"
#include "widgets/waitcursor.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

enum ItemRole { KindRole = Qt::UserRole, IndexRole };
enum ItemKind { GroupItem, ConfiguredItem, InstallableItem };

} // namespace

LibraryManagementDialog::LibraryManagementDialog(std::shared_ptr<LibraryLoader> library,
                                                 QWidget *parent, const QString &sourceList)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::LibraryManagementDialog>())
    , m_library(std::move(library))
    , m_sourceList(sourceList)
    , m_defaultLibraryFolder(PathManager::instance().defaultLibraryFolder())
{
    m_ui->setupUi(this);
    // Read anew: the process-wide list stays as it was at start-up, the settings may not.
    m_applied = PathManager::readLibraryPaths(m_defaultLibraryFolder);
    m_configured = m_applied;
    m_installable = LibrarySources::installableLibraries(m_sourceList);
    // A first set-up suggests the collections marked for it.
    if (m_configured.isEmpty()) {
        for (const LibraryPath &library : qAsConst(m_installable)) {
            if (library.info.value(QStringLiteral("preselect")).toBool()
                && !QFileInfo::exists(library.path))
                m_chosen.insert(library.path);
        }
    }

    connect(m_ui->buttonAddLibrary, &QPushButton::clicked, this,
            &LibraryManagementDialog::addLibrary);
    connect(m_ui->buttonRemoveLibrary, &QPushButton::clicked, this,
            &LibraryManagementDialog::removeSelectedLibrary);
    connect(m_ui->buttonClearCache, &QPushButton::clicked, this,
            &LibraryManagementDialog::clearSelectedCache);
    connect(m_ui->buttonClearAllCaches, &QPushButton::clicked, this,
            &LibraryManagementDialog::clearAllCaches);
    connect(m_ui->treeLibraries, &QTreeWidget::itemSelectionChanged, this,
            &LibraryManagementDialog::handleSelectionChanged);
    connect(m_ui->treeLibraries, &QTreeWidget::itemChanged, this,
            [this](QTreeWidgetItem *item) { takeCheckState(item); });
    connect(m_ui->buttonBox, &QDialogButtonBox::accepted, this, &LibraryManagementDialog::accept);
    connect(m_ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_ui->buttonBox->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            &LibraryManagementDialog::applyAndReload);
    populate();
}

LibraryManagementDialog::~LibraryManagementDialog() = default;

QVector<LibraryPath> LibraryManagementDialog::chosenInstallableLibraries() const
{
    QVector<LibraryPath> chosen;
    for (const LibraryPath &library : m_installable) {
        if (m_chosen.contains(library.path) && !isConfigured(library.path))
            chosen.append(library);
    }
    return chosen;
}

bool LibraryManagementDialog::isConfigured(const QString &path) const
{
    return indexOfLibraryPath(m_configured, path) >= 0;
}

void LibraryManagementDialog::populate()
{
    QTreeWidget *tree = m_ui->treeLibraries;
    const QSignalBlocker blocker(tree);
    tree->clear();
    const QString locale = QLocale().name();

    auto group = [tree](const QString &title) {
        auto item = new QTreeWidgetItem(tree, {title});
        item->setData(0, KindRole, GroupItem);
        item->setFlags(Qt::ItemIsEnabled);
        item->setExpanded(true);
        return item;
    };
    auto entry = [](QTreeWidgetItem *parent, ItemKind kind, int index, bool checked,
                    const QStringList &texts) {
        auto item = new QTreeWidgetItem(parent, texts);
        item->setData(0, KindRole, kind);
        item->setData(0, IndexRole, index);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    };

    QTreeWidgetItem *configured = group(tr("Eingerichtete Bibliotheken"));
    for (int i = 0; i < m_configured.size(); ++i) {
        const LibraryPath &library = m_configured.at(i);
        const QString cleaned = QDir::cleanPath(library.path);
        const int installable = indexOfLibraryPath(m_installable, cleaned);
        const QString name
            = installable >= 0 ? LibrarySources::readableName(m_installable.at(installable), locale)
                               : QFileInfo(cleaned).fileName();
        QStringList status;
        if (!QFileInfo(cleaned).isDir())
            status << tr("Ordner fehlt");
        else if (QFileInfo::exists(LibraryCache::cachePath(cleaned)))
            status << tr("Cache vorhanden");
        else
            status << tr("Kein Cache");
        if (library.system)
            status << tr("System");
        entry(configured, ConfiguredItem, i, library.enabled,
              {name, status.join(QStringLiteral(", ")), QDir::toNativeSeparators(library.path)});
    }

    QMap<QString, QTreeWidgetItem *> categories;
    for (int i = 0; i < m_installable.size(); ++i) {
        const LibraryPath &library = m_installable.at(i);
        if (isConfigured(library.path))
            continue;
        const QString category = library.info.value(QStringLiteral("category")).toString();
        QTreeWidgetItem *&parent = categories[category];
        if (!parent) {
            parent
                = group(category == QLatin1String("minerals")   ? tr("Mineralien zum Herunterladen")
                        : category == QLatin1String("pigments") ? tr("Pigmente zum Herunterladen")
                                                                : category);
        }
        const QString status = QFileInfo::exists(library.path)
                                   ? tr("Installiert, nicht eingerichtet")
                                   : tr("Nicht installiert");
        entry(parent, InstallableItem, i, m_chosen.contains(library.path),
              {LibrarySources::readableName(library, locale), status,
               QDir::toNativeSeparators(library.path)});
    }
    for (int column = 0; column < tree->columnCount(); ++column)
        tree->resizeColumnToContents(column);
    handleSelectionChanged();
}

void LibraryManagementDialog::takeCheckState(QTreeWidgetItem *item)
{
    const int index = item->data(0, IndexRole).toInt();
    const bool checked = item->checkState(0) == Qt::Checked;
    switch (item->data(0, KindRole).toInt()) {
    case ConfiguredItem:
        m_configured[index].enabled = checked;
        break;
    case InstallableItem:
        if (checked)
            m_chosen.insert(m_installable.at(index).path);
        else
            m_chosen.remove(m_installable.at(index).path);
        break;
    default:
        break;
    }
}

int LibraryManagementDialog::selectedConfiguredIndex() const
{
    const QList<QTreeWidgetItem *> selected = m_ui->treeLibraries->selectedItems();
    if (selected.isEmpty() || selected.first()->data(0, KindRole).toInt() != ConfiguredItem)
        return -1;
    return selected.first()->data(0, IndexRole).toInt();
}

void LibraryManagementDialog::handleSelectionChanged()
{
    const int row = selectedConfiguredIndex();
    qCDebug(logDataLibraries) << "library selection changed, selected row:" << row;
    // Sub-folders of the default library folder come back at every start, so they stay.
    m_ui->buttonRemoveLibrary->setEnabled(row >= 0 && !m_configured.at(row).system);
    m_ui->buttonClearCache->setEnabled(row >= 0);
}

void LibraryManagementDialog::addLibrary()
{
    const QString folder
        = QFileDialog::getExistingDirectory(this, tr("Raman-Bibliothek auswählen"));
    if (!folder.isEmpty())
        addLibraryFolder(folder);
}

void LibraryManagementDialog::addLibraryFolder(const QString &path)
{
    const QString cleaned = QDir::cleanPath(path);
    if (!isConfigured(cleaned)) {
        LibraryPath library;
        library.path = cleaned;
        library.system = QFileInfo(cleaned).path() == QDir::cleanPath(m_defaultLibraryFolder);
        m_configured.append(library);
        populate();
    }
    const int configured = indexOfLibraryPath(m_configured, cleaned);
    QTreeWidgetItem *group = m_ui->treeLibraries->topLevelItem(0);
    for (int i = 0; i < group->childCount(); ++i) {
        if (group->child(i)->data(0, IndexRole).toInt() == configured)
            m_ui->treeLibraries->setCurrentItem(group->child(i));
    }
}

void LibraryManagementDialog::removeSelectedLibrary()
{
    const int row = selectedConfiguredIndex();
    if (row < 0 || m_configured.at(row).system)
        return;
    m_configured.removeAt(row);
    populate();
}

void LibraryManagementDialog::removeCache(const QString &folder)
{
    const QString cache = LibraryCache::cachePath(QDir::cleanPath(folder));
    if (!QFileInfo::exists(cache))
        return;
    if (QFile::remove(cache)) {
        m_cachesCleared = true;
        qCDebug(logDataLibraries) << "removed library cache" << cache;
    } else {
        qCWarning(logDataLibraries) << "failed to remove library cache" << cache;
    }
}

void LibraryManagementDialog::clearSelectedCache()
{
    const int row = selectedConfiguredIndex();
    if (row < 0)
        return;
    removeCache(m_configured.at(row).path);
    populate();
}

void LibraryManagementDialog::clearAllCaches()
{
    QMessageBox box(QMessageBox::Question, tr("Alle Caches löschen"),
                    tr("Das Wiederherstellen aller Caches kann einige Zeit in Anspruch nehmen - "
                       "wirklich alle löschen?"),
                    QMessageBox::Cancel, this);
    QPushButton *deleteAll = box.addButton(tr("Alle löschen"), QMessageBox::AcceptRole);
    box.exec();
    if (box.clickedButton() != deleteAll) {
        qCDebug(logDataLibraries) << "cache clear cancelled";
        return;
    }
    for (const LibraryPath &library : qAsConst(m_configured))
        removeCache(library.path);
    populate();
}

void LibraryManagementDialog::applyAndReload()
{
    QVector<LibraryPath> entries = m_configured;
    QVector<LibraryPath> toInstall;
    for (const LibraryPath &library : chosenInstallableLibraries()) {
        if (QFileInfo::exists(library.path))
            entries.append(LibraryPath{library.path, true, false, {}});
        else
            toInstall.append(library);
    }
    if (!toInstall.isEmpty()) {
        LibraryDownloadDialog download(toInstall, this, m_sourceList);
        download.exec();
        for (const LibraryPath &library : download.installer().installed())
            entries.append(LibraryPath{library.path, true, false, {}});
    }

    const WaitCursor wait;
    LibrarySettings::storeLibraryPaths(entries);
    const QVector<LibraryPath> stored = PathManager::readLibraryPaths(m_defaultLibraryFolder);
    const bool changed = stored != m_applied || m_cachesCleared;
    m_applied = stored;
    m_configured = stored;
    m_chosen.clear();
    m_cachesCleared = false;
    if (changed) {
        if (m_library) {
            m_library->setLibraryFolders(stored);
            m_library->startLoading();
        }
        emit update_sig();
    }
    populate();
}

void LibraryManagementDialog::accept()
{
    applyAndReload();
    QDialog::accept();
}

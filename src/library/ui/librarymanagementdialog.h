#pragma once

#include "core/librarypath.h"
#include "library/install/librarysources.h"

#include <QDialog>
#include <QSet>

#include <memory>

class QTreeWidgetItem;
class LibraryLoader;

namespace Ui {
class LibraryManagementDialog;
}

// Edits the list of library folders: tick to load, add and remove folders, clear caches, and
// tick downloadable libraries to have them installed. Applying stores the list in the settings
// and reloads the library from it.
class LibraryManagementDialog : public QDialog
{
    Q_OBJECT

public:
    // `library` (may be null) is cleared and reloaded when an applied list differs.
    explicit LibraryManagementDialog(std::shared_ptr<LibraryLoader> library,
                                     QWidget *parent = nullptr,
                                     const QString &sourceList = LibrarySources::builtInList());
    ~LibraryManagementDialog() override;

    // The configured folders as shown, enabled when ticked.
    QVector<LibraryPath> configuredLibraries() const { return m_configured; }
    // The downloadable libraries that are not configured yet, and those of them ticked.
    QVector<LibraryPath> installableLibraries() const { return m_installable; }
    QVector<LibraryPath> chosenInstallableLibraries() const;

    void addLibraryFolder(const QString &path);
    // Applies the list, then closes.
    void accept() override;

signals:
    void update_sig();

public slots:
    void addLibrary();
    void clearSelectedCache();
    void clearAllCaches();
    void applyAndReload();
    void removeSelectedLibrary();
    void handleSelectionChanged();

private:
    void populate();
    void takeCheckState(QTreeWidgetItem *item);
    int selectedConfiguredIndex() const;
    bool isConfigured(const QString &path) const;
    void removeCache(const QString &folder);

    std::unique_ptr<Ui::LibraryManagementDialog> m_ui;
    std::shared_ptr<LibraryLoader> m_library;
    QString m_sourceList;
    QString m_defaultLibraryFolder;
    QVector<LibraryPath> m_configured;
    // The list as stored in the settings when the dialog opened or was last applied.
    QVector<LibraryPath> m_applied;
    QVector<LibraryPath> m_installable;
    QSet<QString> m_chosen; // paths of ticked downloadable libraries
    bool m_cachesCleared = false;
};

#pragma once

#include "core/librarypath.h"
#include "library/referencelibrary.h"

#include <QFileSystemWatcher>
#include <QFutureWatcher>
#include <QMutex>
#include <QObject>

#include <memory>
#include <optional>

// Loads the enabled library folders into a ReferenceLibrary and hands out the current one.
// Reloads build a new library on the thread pool and swap it in on the loader's thread, so a
// running search keeps the library it started with and nobody waits; a folder's rewritten cache
// starts a reload by itself.
class LibraryLoader : public QObject
{
    Q_OBJECT

public:
    explicit LibraryLoader(QObject *parent = nullptr);
    ~LibraryLoader() override;

    // Folders to load instead of the configured ones (batch tools, tests).
    void setLibraryFolders(const QVector<LibraryPath> &folders);
    QVector<LibraryPath> libraryFolders() const;

    // The current library; never null, empty before the first load.
    std::shared_ptr<const ReferenceLibrary> library() const;
    // True until the first load is done.
    bool isLoading() const;

    // Loads and swaps in at once, on the calling thread (tools, tests).
    void loadNow();
    // Loads on the thread pool; the newest request wins. libraryChanged follows the swap.
    void startLoading();
    // Starts the first load unless it is done or running.
    void startFirstLoad();

signals:
    void libraryChanged();

private:
    void swapIn(std::shared_ptr<const ReferenceLibrary> library);

    mutable QMutex m_mutex; // guards m_library only, for threads that ask for it
    std::shared_ptr<const ReferenceLibrary> m_library;
    bool m_loaded = false;
    bool m_loadAgain = false;
    std::optional<QVector<LibraryPath>> m_folders;
    QFileSystemWatcher m_watcher;
    QFutureWatcher<std::shared_ptr<const ReferenceLibrary>> m_loading;
};

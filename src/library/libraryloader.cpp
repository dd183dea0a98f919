#include "library/libraryloader.h"

#include "core/logging.h"
#include "core/pathmanager.h"
#include "library/librarycache.h"

#include <QFile>
#include <QFileInfo>
#include <QtConcurrent>

LibraryLoader::LibraryLoader(QObject *parent)
    : QObject(parent)
    , m_library(ReferenceLibrary::empty())
{
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this](const QString &path) {
        if (!QFileInfo::exists(path))
            return;
        qCInfo(logDataLibraries) << "Library cache file" << path << "changed on disk, reloading";
        startLoading();
    });
    connect(&m_loading, &QFutureWatcherBase::finished, this, [this] {
        if (m_loading.future().resultCount() > 0)
            swapIn(m_loading.result());
        if (m_loadAgain) {
            m_loadAgain = false;
            startLoading();
        }
    });
}

LibraryLoader::~LibraryLoader()
{
    // The load cannot be interrupted; it only reads, and its result is dropped.
    m_loading.waitForFinished();
}

void LibraryLoader::setLibraryFolders(const QVector<LibraryPath> &folders)
{
    m_folders = folders;
}

QVector<LibraryPath> LibraryLoader::libraryFolders() const
{
    return m_folders ? *m_folders : PathManager::instance().libraryPaths();
}

std::shared_ptr<const ReferenceLibrary> LibraryLoader::library() const
{
    QMutexLocker locker(&m_mutex);
    return m_library;
}

bool LibraryLoader::isLoading() const
{
    return !m_loaded;
}

void LibraryLoader::loadNow()
{
    swapIn(ReferenceLibrary::load(libraryFolders()));
}

void LibraryLoader::startLoading()
{
    if (m_loading.isRunning()) {
        m_loadAgain = true;
        return;
    }
    m_loading.setFuture(QtConcurrent::run(&ReferenceLibrary::load, libraryFolders()));
}

void LibraryLoader::startFirstLoad()
{
    if (!m_loaded && !m_loading.isRunning())
        startLoading();
}

void LibraryLoader::swapIn(std::shared_ptr<const ReferenceLibrary> library)
{
    const QStringList watched = m_watcher.files();
    if (!watched.isEmpty())
        m_watcher.removePaths(watched);
    if (!library->cacheFiles().isEmpty())
        m_watcher.addPaths(library->cacheFiles());
    {
        QMutexLocker locker(&m_mutex);
        m_library = std::move(library);
    }
    m_loaded = true;
    emit libraryChanged();
}

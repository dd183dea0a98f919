#include "core/librarysettings.h"

#include "core/logging.h"

#include <QDir>
#include <QSettings>

#include <algorithm>

int indexOfLibraryPath(const QVector<LibraryPath> &paths, const QString &path)
{
    const QString cleaned = QDir::cleanPath(path);
    const auto found = std::find_if(paths.cbegin(), paths.cend(), [&cleaned](const LibraryPath &p) {
        return QDir::cleanPath(p.path) == cleaned;
    });
    return found == paths.cend() ? -1 : int(found - paths.cbegin());
}

namespace LibrarySettings {

QVector<LibraryPath> storedLibraryPaths()
{
    QVector<LibraryPath> paths;
    QSettings settings;
    const int count = settings.beginReadArray(QStringLiteral("Paths/LibraryPaths"));
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        LibraryPath entry;
        entry.path = settings.value(QStringLiteral("Path")).toString();
        entry.enabled = settings.value(QStringLiteral("Enabled")).toBool();
        entry.system = settings.value(QStringLiteral("System")).toBool();
        paths.append(entry);
    }
    settings.endArray();
    return paths;
}

void storeLibraryPaths(const QVector<LibraryPath> &paths)
{
    QSettings settings;
    settings.beginGroup(QStringLiteral("Paths"));
    settings.remove(QStringLiteral("LibraryPaths"));
    settings.beginWriteArray(QStringLiteral("LibraryPaths"), paths.size());
    for (int i = 0; i < paths.size(); ++i) {
        settings.setArrayIndex(i);
        settings.setValue(QStringLiteral("Path"), paths.at(i).path);
        settings.setValue(QStringLiteral("Enabled"), paths.at(i).enabled);
        settings.setValue(QStringLiteral("System"), paths.at(i).system);
    }
    settings.endArray();
    settings.endGroup();
    settings.sync();
    if (settings.status() != QSettings::NoError)
        qCWarning(logDataLibraries)
            << "failed to store the library folder list in" << settings.fileName();
}

void enableLibraryPath(const QString &path)
{
    QVector<LibraryPath> paths = storedLibraryPaths();
    const int known = indexOfLibraryPath(paths, path);
    if (known >= 0) {
        paths[known].enabled = true;
    } else {
        LibraryPath entry;
        entry.path = QDir::cleanPath(path);
        paths.append(entry);
    }
    storeLibraryPaths(paths);
}

} // namespace LibrarySettings

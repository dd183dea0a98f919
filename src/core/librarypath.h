#pragma once

#include <QDir>
#include <QString>
#include <QVariantMap>
#include <QVector>

#include <algorithm>

// One folder of reference spectra that the library is assembled from.
struct LibraryPath
{
    QString path;
    bool enabled = true;
    // A sub-folder of the default library folder beside the program.
    bool system = false;
    // The description of an installable library; empty for folders from the settings.
    QVariantMap info;

    bool operator==(const LibraryPath &o) const
    {
        return path == o.path && enabled == o.enabled && system == o.system && info == o.info;
    }
    bool operator!=(const LibraryPath &o) const { return !(*this == o); }
};

// The entry that names the same folder as `path` once both are cleaned; -1 when none does.
inline int indexOfLibraryPath(const QVector<LibraryPath> &paths, const QString &path)
{
    const QString cleaned = QDir::cleanPath(path);
    const auto found = std::find_if(paths.cbegin(), paths.cend(), [&cleaned](const LibraryPath &p) {
        return QDir::cleanPath(p.path) == cleaned;
    });
    return found == paths.cend() ? -1 : int(found - paths.cbegin());
}

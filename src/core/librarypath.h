#pragma once

#include <QString>
#include <QVariantMap>

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

#pragma once

#include <QString>

// The per-user area where saving keeps what it would otherwise destroy: "overwritten" holds old
// folders moved aside by a save, "unsaved" background copies of measurements not yet saved.
QString backupRoot();

// Copies the files and sub-folders of `source` into `destination`, creating it when missing.
// False when the source is no folder or at the first file or folder that fails.
bool copyRecursively(const QString &source, const QString &destination);

// Moves `folder` into <backup root>/overwritten/<today>/<folderName>-backup<n>, by rename or else
// by copy and remove. True when the old content is complete in the backup area; false when no
// complete copy could be made, in which case the folder is left where it was.
bool moveToOverwrittenBackup(const QString &folder, const QString &parentDir,
                             const QString &folderName);

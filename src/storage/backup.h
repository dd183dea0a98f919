#pragma once

#include <QString>

class CheckedFiles;

// The per-user area where saving keeps what it would otherwise destroy: "overwritten" holds old
// folders replaced by a save, "unsaved" background copies of measurements not yet saved.
// The setting Paths/BackupPath chooses another folder than the default one.
QString backupRoot();
QString defaultBackupRoot();
inline const char *const backupPathKey = "Paths/BackupPath";
// True for a path at or below the backup root: such copies are the record of what was there and
// are never written to.
bool isInBackupArea(const QString &path);

// Copies the files and sub-folders of `source` into the new folder `destination`, each file
// linked where the file system allows, else copied and read back; synced to disk.
bool copyTree(CheckedFiles &files, const QString &source, const QString &destination);

// Puts a whole copy of `folder` into <backup root>/overwritten/<today>/<folderName>-backup<n>
// and returns its path; empty, with the failure in `files` and no partial copy left, when none
// could be made. The folder itself is not touched.
QString copyToOverwrittenBackup(CheckedFiles &files, const QString &folder,
                                const QString &folderName);

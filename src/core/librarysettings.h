#pragma once

#include "core/librarypath.h"

#include <QVector>

// The library folder list in the settings, which PathManager reads at start-up.
// The entry that names the same folder as `path` once both are cleaned; -1 when none does.
int indexOfLibraryPath(const QVector<LibraryPath> &paths, const QString &path);

namespace LibrarySettings {

// The array "LibraryPaths" of group "Paths" as stored (keys "Path", "Enabled", "System").
QVector<LibraryPath> storedLibraryPaths();

// Replaces the array "LibraryPaths" of group "Paths" (keys "Path", "Enabled", "System").
void storeLibraryPaths(const QVector<LibraryPath> &paths);

// Enables `path` in the stored list, appending it when the list does not name it yet.
void enableLibraryPath(const QString &path);

} // namespace LibrarySettings

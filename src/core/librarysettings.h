#pragma once

#include "core/librarypath.h"

#include <QVector>

// The library folder list in the settings, which PathManager reads at start-up.
namespace LibrarySettings {

// The array "LibraryPaths" of group "Paths" as stored (keys "Path", "Enabled", "System").
QVector<LibraryPath> storedLibraryPaths();

// Replaces the array "LibraryPaths" of group "Paths" (keys "Path", "Enabled", "System").
void storeLibraryPaths(const QVector<LibraryPath> &paths);

// Enables `path` in the stored list, appending it when the list does not name it yet.
void enableLibraryPath(const QString &path);

} // namespace LibrarySettings

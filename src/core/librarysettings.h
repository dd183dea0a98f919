#pragma once

#include "core/librarypath.h"

#include <QVector>

// Writing the library folder list that PathManager reads at start-up.
namespace LibrarySettings {

// Replaces the array "LibraryPaths" of group "Paths" (keys "Path", "Enabled", "System").
void storeLibraryPaths(const QVector<LibraryPath> &paths);

// Enables `path` in the stored list, appending it when the list does not name it yet.
void enableLibraryPath(const QString &path);

} // namespace LibrarySettings

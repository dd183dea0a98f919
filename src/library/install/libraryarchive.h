#pragma once

#include <QString>

#include <functional>

// Unpacking a downloaded library archive into its library folder.
namespace LibraryArchive {

enum StatusType { Info = 0, Success = 1, Error = 2 };
using StatusReporter = std::function<void(const QString &message, int type)>;

// folder + "/data.zip"
QString downloadPath(const QString &folder);

// A file name an archive may place in the library folder: no path, nothing reserved.
bool isSafeEntryName(const QString &name);

// Writes the files of the archive's root (its only top-level folder, if that is all it holds)
// into `folder` and builds the folder's cache with the name mapper of `installHandler`. Any
// entry whose name would leave the folder is reported and fails the installation before
// anything is written. Safe to run on a worker thread; `report` is called from it.
bool installLibraryArchive(const QString &folder, const QString &installHandler,
                           const StatusReporter &report);

} // namespace LibraryArchive

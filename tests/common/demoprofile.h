#pragma once

// The profile the window tests start from: the vendored demo library as the only library folder
// (a copy, since loading writes its cache beside it) and the demo measurements.

#include "core/librarysettings.h"
#include "librarycopy.h"
#include "testfiles.h"
#include "toolprocess.h"

// Empty when all is set up, else what failed.
inline QByteArray setUpDemoProfile(const QString &library, const QString &measurements)
{
    LibrarySettings::storeLibraryPaths({{library, true, false, {}}});
    if (!copyLibraryFolder(TestFiles::rruffDir() + QStringLiteral("/library"), library))
        return "cannot copy the demo library to " + library.toLocal8Bit();
    const ToolRun run = runTool(QStringLiteral("raman-demo-data"),
                                {QStringLiteral("--measurements"), measurements,
                                 QStringLiteral("--data"), TestFiles::rruffDir()});
    return run.exitCode == 0 ? QByteArray() : run.err + QByteArrayLiteral(" (raman-demo-data)");
}

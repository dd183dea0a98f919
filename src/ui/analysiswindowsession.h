#pragma once

#include "savedata_view/ui/analysisworkspace.h"

#include <memory>

class LibraryLoader;
class SpectrumAnalysisWindow;

// The analysis workspace the program plugs into its measurement view: the analysis window for
// re-analysing a measuring point, searching the loader's library, and the library export for its
// context menu.
AnalysisWorkspace analysisWindowWorkspace(std::shared_ptr<LibraryLoader> library);

// Keeps `window` searching the loader's newest library (starting the first load if needed) and
// answers its wish to manage the libraries with the management dialog on that loader.
void followLibrary(SpectrumAnalysisWindow *window, const std::shared_ptr<LibraryLoader> &library);

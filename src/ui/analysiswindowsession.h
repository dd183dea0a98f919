#pragma once

#include "savedata_view/ui/analysisworkspace.h"

// The analysis workspace the program plugs into its measurement view: the analysis window for
// re-analysing a measuring point, the library export for its context menu.
AnalysisWorkspace analysisWindowWorkspace();

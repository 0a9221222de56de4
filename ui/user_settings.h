#pragma once

#include "analysis/analysis_driver.h"

namespace zelmora::ui {

// Settings of the user, not of the project: remembered from one start of the program to the
// next, never written into a project file.

// How many finite-element runs an analysis does at once: 1 (the default) runs them one after
// the other in the project's own folder.
int ParallelRunsSetting();
void StoreParallelRunsSetting(int runs);

} // namespace zelmora::ui

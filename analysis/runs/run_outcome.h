#pragma once

#include "analysis/coupling/modification_file.h"

#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace zelmora {

// What one finite-element run left behind, as the executor saw it. The evaluation applies it to
// the first-order results and raises its first error.
struct RunOutcome {
    int runId = 0;
    std::exception_ptr writeError;      // the modification file could not be written
    bool started = false;               // the calculator process was started
    int exitStatus = -1;                // kept for the user to see, never judged
    double seconds = 0;                 // wall time of the calculator
    std::exception_ptr openError;       // the result file could not be opened
    bool resultRewritten = false;       // the result file is not the one that lay there before
    std::optional<double> safetyFactor; // of the last complete record
    std::exception_ptr readError;       // raised while reading or at the close
    std::string picture;  // the calculator's SVG beside the result file: mean values, design point
    std::string records;  // the end of the records this run wrote, for the journal
    std::string error;    // in the record: the message of the run that ended the analysis
    std::string copyPath; // the work copy's project file the run calculated; empty in place
    std::vector<std::string> calculatorOutput; // a failed run's last output lines
    std::vector<ValueWritten> written;         // the values its modification file wrote
    bool reused = false; // taken from the journal of an interrupted analysis, not run again
};

} // namespace zelmora

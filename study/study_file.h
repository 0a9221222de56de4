#pragma once

#include "study/study.h"

#include <string>

namespace zelmora {

// The study found beside a project file that has just been read.
struct OpenedStudy {
    Study study;
    // One line for the user when the study was not taken whole: it could not be read, or it
    // does not belong to the project file's bytes and so lost its results. Empty otherwise,
    // also when there is no study file.
    std::string note;
};

// Reads the study file of `projectFile`; never fails: what went wrong is in the note, and the
// study is then the defaults or the settings without the results.
OpenedStudy ReadStudyOf(const std::string& projectFile);

// Saves `study` with the digest of the project file that follows it, then the project file from
// State, each atomically. An empty name writes no study, and the project file's save reports
// the name as before.
void SaveStudyAndProject(const std::string& projectFile, const Study& study);

} // namespace zelmora

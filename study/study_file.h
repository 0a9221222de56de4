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
    // Why the study file that is there cannot be read; empty when it could, or there is none.
    std::string unreadable;
};

// Reads the study file of `projectFile`; never fails: what went wrong is in the note, and the
// study is then the defaults or the settings without the results. A study file of another user
// cannot be read; a kept analysis that does not agree with the project just read (State) is
// left out, as one of a changed project file is.
OpenedStudy ReadStudyOf(const std::string& projectFile);

// Refuses, naming the file and why, to run or save while the project's study file cannot be
// read, so that nothing it holds is lost to a save of the defaults.
void RefuseUnreadableStudy(const std::string& projectFile, const OpenedStudy& opened);

// Saves `study` with the digest of the project file that follows it, then the project file from
// State, each atomically. An empty name writes no study, and the project file's save reports
// the name as before. A study file there that cannot be read is first kept as
// "<study file>.unreadable", and the line returned says so (empty otherwise); when that name is
// taken, nothing is written and the error names both files.
std::string SaveStudyAndProject(const std::string& projectFile, const Study& study);

} // namespace zelmora

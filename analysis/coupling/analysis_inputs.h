#pragma once

#include "project/project_state.h"

#include <array>
#include <string>
#include <vector>

namespace zelmora {

using SoilRows = std::array<SoilSet, SoilRowCount>;

// What an analysis reads of the project, taken once at its start. Below the driver every unit
// takes this value, or a part of it, and never the project state.
struct AnalysisInputs {
    SoilRows soil{}; // rows 1..10 at 0..9: use SoilRow()
    double stepSize = 0;
    std::string batchPath;
    // The model as the analysis reaches it: a relative path is taken from the folder of the
    // project file, so that a project means the same whatever folder the program started in.
    std::string projectPath;
    std::string projectName;
    std::vector<int> variables; // the VariableIds of the random variables, in list order
    // The command line as the project holds it, with the model path as stored: in place the
    // calculator gets it, and the journal's runs are those of this line.
    std::string batchCommandLine;
    std::string modificationFilePath;
    std::string resultFilePath;
};

// Soil row r, numbered 1..10.
inline const SoilSet& SoilRow(const SoilRows& soil, int r) {
    return soil[static_cast<std::size_t>(r - 1)];
}

// The soil row (1..10) of a VariableId: 1..10 the friction angle of that row, 11..20 the cohesion
// of row id - 10.
inline int VariableRow(int variableId) {
    return variableId <= SoilRowCount ? variableId : variableId - SoilRowCount;
}

// The VariableIds the soil rows make, in list order: the friction angle of every row whose
// deviation is above 0, then the cohesion of every such row, each in row order.
std::vector<int> RandomVariableIds(const SoilRows& soil);

// The model path an analysis uses for the stored one: a relative path is taken from
// `projectFolder`, the folder of the project file that was opened or saved; an empty folder (a
// project never saved) leaves the path as it is.
std::string ModelPathFrom(const std::string& projectFolder, const std::string& storedPath);

// The inputs of an analysis of `project`, whose project file lies in `projectFolder`.
AnalysisInputs InputsOf(const ProjectState& project, const std::string& projectFolder = {});

} // namespace zelmora

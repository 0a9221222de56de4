#include "analysis/coupling/analysis_inputs.h"

#include "analysis/coupling/batch_command_line.h"
#include "analysis/coupling/data_file_paths.h"

#include <filesystem>

namespace zelmora {

std::vector<int> RandomVariableIds(const SoilRows& soil) {
    std::vector<int> variables;
    for (int r = 1; r <= SoilRowCount; ++r) {
        if (SoilRow(soil, r).PhiStdDev > 0) {
            variables.push_back(r);
        }
    }
    for (int r = 1; r <= SoilRowCount; ++r) {
        if (SoilRow(soil, r).CohesionStdDev > 0) {
            variables.push_back(SoilRowCount + r);
        }
    }
    return variables;
}

std::string ModelPathFrom(const std::string& projectFolder, const std::string& storedPath) {
    const std::filesystem::path model(storedPath);
    if (projectFolder.empty() || storedPath.empty() || !model.is_relative()) {
        return storedPath;
    }
    return (std::filesystem::path(projectFolder) / model).string();
}

AnalysisInputs InputsOf(const ProjectState& project, const std::string& projectFolder) {
    AnalysisInputs inputs;
    inputs.soil = project.SoilTable;
    inputs.stepSize = project.StepSize;
    inputs.batchPath = project.BatchPath;
    inputs.projectPath = ModelPathFrom(projectFolder, project.ProjectPath);
    inputs.projectName = project.ProjectName;
    inputs.variables = RandomVariableIds(project.SoilTable);
    inputs.batchCommandLine = BatchCommandLine(project.BatchPath, project.ProjectPath);
    const DataFiles files = DataFilesOf(inputs.projectPath, inputs.projectName);
    inputs.modificationFilePath = files.modification;
    inputs.resultFilePath = files.result;
    return inputs;
}

} // namespace zelmora

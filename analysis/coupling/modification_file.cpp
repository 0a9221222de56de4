#include "analysis/coupling/modification_file.h"

#include "analysis/coupling/written_value.h"
#include "project/errors.h"
#include "project/number_forms.h"
#include "project/text_output.h"

#include <filesystem>

namespace zelmora {

namespace {

constexpr int AccessDenied = 5;

// The friction angle travels as the sine of the angle; the reduced value lowers that sine by
// the step times the sine of the deviation.
long double FrictionValue(const SoilSet& row, double step, Strength strength) {
    const long double mean = ExtendedSineOfDegrees(row.PhiMean);
    if (strength == Strength::Mean) {
        return mean;
    }
    return mean - static_cast<long double>(step) * ExtendedSineOfDegrees(row.PhiStdDev);
}

long double CohesionValue(const SoilSet& row, double step, Strength strength) {
    const long double mean = row.CohesionMean;
    if (strength == Strength::Mean) {
        return mean;
    }
    return mean - static_cast<long double>(step) * row.CohesionStdDev;
}

std::string ModificationLine(const AnalysisInputs& inputs, int variable, Strength strength) {
    return ModificationLineWithValue(inputs.soil, variable,
                                     ModificationValue(inputs, variable, strength));
}

// The VariableId that run i (1..N) lowers.
int VariableOfRun(const AnalysisInputs& inputs, int runId) {
    return inputs.variables[static_cast<std::size_t>(runId - 1)];
}

// How many modification lines a run's file holds.
int ModificationCount(const AnalysisInputs& inputs, int runId) {
    if (runId == 0 || runId == -2) {
        return static_cast<int>(inputs.variables.size());
    }
    return runId > 0 ? 1 : 0;
}

void AddAllVariables(const AnalysisInputs& inputs, std::vector<std::string>& lines,
                     Strength strength) {
    for (const int variable : inputs.variables) {
        lines.push_back(ModificationLine(inputs, variable, strength));
    }
}

// A link would lead the reduced strengths to a file outside the model, where the link's maker
// wants them; the open refuses one that appears after this look as well.
void RefuseLink(const std::string& path, const std::string& shownPath) {
    std::error_code error;
    if (std::filesystem::is_symlink(path, error)) {
        throw EInOutError(AccessDenied, "File access denied. " + shownPath);
    }
}

} // namespace

std::string ModificationLineWithValue(const SoilRows& soil, int variable, double value) {
    const SoilSet& row = SoilRow(soil, VariableRow(variable));
    return "1 " + FormatInteger(row.SetNumber, 0) + (variable <= SoilRowCount ? " 3 " : " 4 ") +
           FormatFixed(value, 8, 4);
}

double ModificationValue(const AnalysisInputs& inputs, int variable, Strength strength) {
    const SoilSet& row = SoilRow(inputs.soil, VariableRow(variable));
    return NarrowToDouble(variable <= SoilRowCount ? FrictionValue(row, inputs.stepSize, strength)
                                                   : CohesionValue(row, inputs.stepSize, strength));
}

std::vector<std::string> LinesWriting(const SoilRows& soil,
                                      const std::vector<ValueWritten>& values) {
    std::vector<std::string> lines{FormatInteger(static_cast<int>(values.size()), 0)};
    for (const ValueWritten& v : values) {
        lines.push_back(ModificationLineWithValue(soil, v.variableId, v.value));
    }
    return lines;
}

std::vector<ValueWritten> ValuesWrittenBy(const AnalysisInputs& inputs, int runId) {
    std::vector<ValueWritten> values;
    const auto add = [&values, &inputs](int variable, Strength strength) {
        values.push_back({variable, WrittenValue(ModificationValue(inputs, variable, strength))});
    };
    if (runId == 0 || runId == -2) {
        for (const int variable : inputs.variables) {
            add(variable, runId == 0 ? Strength::Mean : Strength::Reduced);
        }
    } else if (runId > 0) {
        add(VariableOfRun(inputs, runId), Strength::Reduced);
    }
    return values;
}

std::vector<std::string> ModificationLines(const AnalysisInputs& inputs, int runId) {
    std::vector<std::string> lines{FormatInteger(ModificationCount(inputs, runId), 0)};
    if (runId == 0) {
        AddAllVariables(inputs, lines, Strength::Mean);
    } else if (runId == -2) {
        AddAllVariables(inputs, lines, Strength::Reduced);
    } else if (runId > 0) {
        lines.push_back(ModificationLine(inputs, VariableOfRun(inputs, runId), Strength::Reduced));
    }
    return lines;
}

void WriteModificationFile(const std::string& path, const std::vector<std::string>& lines,
                           const std::string& shownPath) {
    RefuseLink(path, shownPath.empty() ? path : shownPath);
    TextOutput file;
    file.OpenForWritingNotLink(path);
    CheckIo();
    for (const std::string& line : lines) {
        file.WriteText(line);
        file.EndLine();
        CheckIo();
    }
    file.Close();
    CheckIo();
}

} // namespace zelmora

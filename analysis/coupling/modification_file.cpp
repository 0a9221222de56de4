#include "analysis/coupling/modification_file.h"

#include "analysis/coupling/written_value.h"
#include "project/errors.h"
#include "project/number_forms.h"
#include "project/project_state.h"
#include "project/text_file.h"

#include <filesystem>

namespace zelmora {

namespace {

constexpr int AccessDenied = 5;

// The friction angle travels as the sine of the angle; the reduced value lowers that sine by
// the step times the sine of the deviation.
long double FrictionValue(const SoilSet& row, Strength strength) {
    const long double mean = ExtendedSineOfDegrees(row.PhiMean);
    if (strength == Strength::Mean) {
        return mean;
    }
    return mean - static_cast<long double>(State.StepSize) * ExtendedSineOfDegrees(row.PhiStdDev);
}

long double CohesionValue(const SoilSet& row, Strength strength) {
    const long double mean = row.CohesionMean;
    if (strength == Strength::Mean) {
        return mean;
    }
    return mean - static_cast<long double>(State.StepSize) * row.CohesionStdDev;
}

std::string ModificationLine(int variable, Strength strength) {
    return ModificationLineWithValue(variable, ModificationValue(variable, strength));
}

// How many modification lines a run's file holds.
int ModificationCount(int runId) {
    if (runId == 0 || runId == -2) {
        return State.VariableCount;
    }
    return runId > 0 ? 1 : 0;
}

void AddAllVariables(std::vector<std::string>& lines, Strength strength) {
    for (int i = 1; i <= State.VariableCount; ++i) {
        lines.push_back(ModificationLine(Entry(State.Variables, i), strength));
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

std::string ModificationLineWithValue(int variable, double value) {
    const bool friction = variable <= SoilRowCount;
    const SoilSet& row = Row(State, friction ? variable : variable - SoilRowCount);
    return "1 " + FormatInteger(row.SetNumber, 0) + (friction ? " 3 " : " 4 ") +
           FormatFixed(value, 8, 4);
}

double ModificationValue(int variable, Strength strength) {
    const bool friction = variable <= SoilRowCount;
    const SoilSet& row = Row(State, friction ? variable : variable - SoilRowCount);
    return NarrowToDouble(friction ? FrictionValue(row, strength) : CohesionValue(row, strength));
}

std::vector<std::string> LinesWriting(const std::vector<ValueWritten>& values) {
    std::vector<std::string> lines{FormatInteger(static_cast<int>(values.size()), 0)};
    for (const ValueWritten& v : values) {
        lines.push_back(ModificationLineWithValue(v.variableId, v.value));
    }
    return lines;
}

std::vector<ValueWritten> ValuesWrittenBy(int runId) {
    std::vector<ValueWritten> values;
    const auto add = [&values](int variable, Strength strength) {
        values.push_back({variable, WrittenValue(ModificationValue(variable, strength))});
    };
    if (runId == 0 || runId == -2) {
        for (int i = 1; i <= State.VariableCount; ++i) {
            add(Entry(State.Variables, i), runId == 0 ? Strength::Mean : Strength::Reduced);
        }
    } else if (runId > 0) {
        add(Entry(State.Variables, runId), Strength::Reduced);
    }
    return values;
}

std::vector<std::string> ModificationLines(int runId) {
    std::vector<std::string> lines{FormatInteger(ModificationCount(runId), 0)};
    if (runId == 0) {
        AddAllVariables(lines, Strength::Mean);
    } else if (runId == -2) {
        AddAllVariables(lines, Strength::Reduced);
    } else if (runId > 0) {
        lines.push_back(ModificationLine(Entry(State.Variables, runId), Strength::Reduced));
    }
    return lines;
}

void WriteModificationLines(const std::string& path, const std::vector<std::string>& lines,
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

void WriteModificationFile(const std::string& path, int runId) {
    WriteModificationLines(path, ModificationLines(runId));
}

} // namespace zelmora

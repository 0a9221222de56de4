#include "analysis/batch_coupling.h"
#include "project/errors.h"
#include "project/project_state.h"
#include "project/text_file.h"

#include <cmath>
#include <numbers>

namespace zelmora {

namespace {

enum class Strength { Mean, Reduced };

long double SineOfDegrees(double angle) {
    return sinl(static_cast<long double>(angle) * std::numbers::pi_v<long double> / 180.0L);
}

// The friction angle travels as the sine of the angle; the reduced value lowers that sine by
// the step times the sine of the deviation.
long double FrictionValue(const SoilSet& row, Strength strength) {
    const long double mean = SineOfDegrees(row.PhiMean);
    if (strength == Strength::Mean) {
        return mean;
    }
    return mean - static_cast<long double>(State.StepSize) * SineOfDegrees(row.PhiStdDev);
}

long double CohesionValue(const SoilSet& row, Strength strength) {
    const long double mean = row.CohesionMean;
    if (strength == Strength::Mean) {
        return mean;
    }
    return mean - static_cast<long double>(State.StepSize) * row.CohesionStdDev;
}

void WriteModificationLine(TextOutput& file, int variable, Strength strength) {
    const bool friction = variable <= 10;
    const SoilSet& row = Row(State, friction ? variable : variable - 10);
    const double value =
        NarrowToDouble(friction ? FrictionValue(row, strength) : CohesionValue(row, strength));
    file.WriteText("1 ");
    file.WriteInteger(row.SetNumber);
    file.WriteText(friction ? " 3 " : " 4 ");
    file.WriteFixed(value, 8, 4);
    file.EndLine();
    CheckIo();
}

void WriteAllVariables(TextOutput& file, Strength strength) {
    for (int i = 1; i <= State.VariableCount; ++i) {
        WriteModificationLine(file, Entry(State.Variables, i), strength);
    }
}

} // namespace

void WriteModificationFile(const std::string& path, int runId) {
    TextOutput file;
    file.OpenForWriting(path);
    CheckIo();
    const bool allVariables = runId == 0 || runId == -2;
    file.WriteInteger(allVariables ? State.VariableCount : runId > 0 ? 1 : 0);
    file.EndLine();
    CheckIo();
    if (runId == 0) {
        WriteAllVariables(file, Strength::Mean);
    } else if (runId == -2) {
        WriteAllVariables(file, Strength::Reduced);
    } else if (runId > 0) {
        WriteModificationLine(file, Entry(State.Variables, runId), Strength::Reduced);
    }
    file.Close();
    CheckIo();
}

} // namespace zelmora

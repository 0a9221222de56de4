#include "project/errors.h"
#include "project/project_file.h"
#include "project/project_state.h"
#include "project/shown_text.h"
#include "project/text_input.h"

namespace zelmora {

namespace {

constexpr int InvalidNumericInput = 106;

// Reads the steps in order, each ending with the check; values go into `s` as they are read.
class StepReader {
public:
    explicit StepReader(TextInput& in) : in_(in) {}

    double Real() { return NarrowToDouble(in_.ReadReal()); }
    std::int32_t Integer() { return in_.ReadInteger(); }
    std::string Text() { return in_.ReadRestOfLine(); }
    void EndStep() {
        in_.SkipLine();
        CheckIo();
    }
    void SkipLines(int count) {
        for (int i = 0; i < count; ++i) {
            EndStep();
        }
    }

private:
    TextInput& in_;
};

void ReadSoilRow(StepReader& step, SoilSet& row) {
    row.SetNumber = step.Integer();
    row.PhiMean = step.Real();
    row.PhiStdDev = step.Real();
    row.CohesionMean = step.Real();
    row.CohesionStdDev = step.Real();
    step.EndStep();
}

void ReadLines(TextInput& in, ProjectState& s) {
    StepReader step(in);
    step.SkipLines(2);
    s.LastSafetyFactor = step.Real();
    step.EndStep();
    step.SkipLines(1);
    s.FailureProbability = step.Real();
    s.Linearity = step.Real();
    step.EndStep();
    step.SkipLines(3);
    for (SoilSet& row : s.SoilTable) {
        ReadSoilRow(step, row);
    }
    step.SkipLines(1);
    for (std::string* text : {&s.BatchPath, &s.ProjectPath, &s.ProjectName}) {
        *text = step.Text();
        step.EndStep();
    }
    s.StepSize = step.Real();
    step.EndStep();
    step.SkipLines(1);
    s.Beta = step.Real();
    step.EndStep();
    for (double& factor : s.SafetyFactors) {
        factor = step.Real();
        step.EndStep();
    }
}

constexpr int FirstSoilLine = 9;
constexpr int StepSizeLine = 23;

// What the writer puts on a line that holds numbers, for the messages.
std::string LineContent(int line) {
    if (line >= FirstSoilLine && line < FirstSoilLine + SoilRowCount) {
        return " (soil row " + std::to_string(line - FirstSoilLine + 1) + ")";
    }
    return line == StepSizeLine ? " (step size)" : "";
}

// "<file>, line 9 (soil row 1): "30,000000" is not a number"
std::string BadNumberDetail(const std::string& fileName, const BadNumber& bad) {
    return ShownText(fileName) + ", line " + std::to_string(bad.line) + LineContent(bad.line) +
           ": \"" + ShownText(bad.text) + "\" is not a number";
}

} // namespace

void RequireProjectFileLines(const std::string& fileName) {
    TextInput in;
    in.OpenForReading(fileName);
    CheckIo();
    for (int line = 1; line < StepSizeLine; ++line) {
        if (!in.SkipLine()) {
            in.Close();
            RecordIoCode(0);
            throw Error(ShownText(fileName) + " is not a Zelmora project file: it ends within " +
                        "its first " + std::to_string(StepSizeLine - 1) +
                        " lines (a project file has 49, each ended by CR LF).");
        }
    }
    in.Close();
    CheckIo();
}

// Reads into a copy so that a file that fails anywhere leaves the project as it was. A failure
// names the file as it was given, and a number that does not parse its line.
void ReadProjectFile(const std::string& fileName) {
    ProjectState read = State;
    TextInput in;
    in.OpenForReading(fileName);
    if (const int code = PendingIoCode(); code != 0) {
        RecordIoCode(0);
        throw EInOutError::Explained(code, ShownText(fileName));
    }
    try {
        ReadLines(in, read);
    } catch (const EOverflow&) {
        // An overflow ends its step before the step's check: a code recorded earlier in that
        // step belongs to this failed read and must not surface in a later command.
        RecordIoCode(0);
        throw;
    } catch (const EInOutError& error) {
        if (error.code == InvalidNumericInput && in.FirstBadNumber()) {
            throw EInOutError::Explained(error.code,
                                         BadNumberDetail(fileName, *in.FirstBadNumber()));
        }
        throw;
    }
    in.Close();
    CheckIo();
    State = std::move(read);
}

} // namespace zelmora

#include "project/number_forms.h"
#include "project/project_file.h"
#include "project/project_state.h"
#include "project/text_output.h"
#include "project/whole_file.h"

namespace zelmora {

namespace {

constexpr int FieldWidth = 10;
constexpr int Decimals = 6;

// Writes the lines one by one; the first pending error stops the save at its line.
class LineWriter {
public:
    explicit LineWriter(TextOutput& out) : out_(out) {}

    LineWriter& Text(std::string_view text) {
        out_.WriteText(text);
        return *this;
    }
    LineWriter& Blank() {
        out_.WriteChar(' ');
        return *this;
    }
    LineWriter& Integer(std::int32_t value) {
        out_.WriteInteger(value);
        return *this;
    }
    LineWriter& Real(double value) {
        out_.WriteFixed(value, FieldWidth, Decimals);
        return *this;
    }
    // A field that follows another directly is kept apart from it by one blank when its text
    // fills the whole field, so that it reads back as a number of its own.
    LineWriter& AdjoiningReal(double value) {
        const std::string text = FormatFixed(value, FieldWidth, Decimals);
        if (text.front() != ' ') {
            Blank();
        }
        return Text(text);
    }
    void End() {
        out_.EndLine();
        CheckIo();
    }

private:
    TextOutput& out_;
};

void WriteSoilRow(LineWriter& line, const SoilSet& row) {
    line.Integer(row.SetNumber);
    for (const double value : {row.PhiMean, row.PhiStdDev, row.CohesionMean, row.CohesionStdDev}) {
        line.Blank().Real(value);
    }
    line.Blank().End();
}

void WriteLines(TextOutput& out, const ProjectState& s) {
    LineWriter line(out);
    line.Text("ZELMORA").End();
    line.Text("Safety Factor:").End();
    line.Real(Entry(s.SafetyFactors, 0)).End();
    line.Text("Probability of failure + linearity:").End();
    line.Real(s.FailureProbability).AdjoiningReal(s.Linearity).End();
    line.End();
    line.Text("*** soil data ***").End();
    line.Text("set; phi mean; phi stnd. dev.; coh. mean.; coh. stnd. dev.").End();
    for (const SoilSet& row : s.SoilTable) {
        WriteSoilRow(line, row);
    }
    line.End();
    line.Text(s.BatchPath).End();
    line.Text(s.ProjectPath).End();
    line.Text(s.ProjectName).End();
    line.Real(s.StepSize).Text("  stepsize").End();
    line.End();
    line.Real(s.Beta).End();
    for (const double factor : s.SafetyFactors) {
        line.Real(factor).End();
    }
    line.Text("*** end ***").End();
}

} // namespace

void WriteProjectFile(const std::string& fileName) {
    SaveTextFile(fileName, [](TextOutput& out) { WriteLines(out, State); });
}

std::string ProjectFileText() {
    std::string text;
    TextOutput out;
    out.OpenInMemory(text);
    WriteLines(out, State);
    out.Close();
    return text;
}

} // namespace zelmora

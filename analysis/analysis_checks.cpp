#include "analysis/analysis_checks.h"

#include "analysis/coupling/batch_command_line.h"
#include "analysis/coupling/data_file_paths.h"
#include "analysis/coupling/modification_file.h"
#include "analysis/coupling/written_value.h"
#include "analysis/methods/random_variables.h"
#include "analysis/methods/strength_transform.h"
#include "processes/calculator_lookup.h"
#include "project/errors.h"
#include "project/number_forms.h"
#include "project/shown_text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <numbers>

namespace zelmora {

namespace {

#ifdef _WIN32
constexpr bool FileNamesIgnoreCase = true;
#else
constexpr bool FileNamesIgnoreCase = false;
#endif

// A value as the messages show it, with a true minus sign.
std::string Shown(double value) {
    std::string text = FormatFixed(value, 0, 4);
    if (!text.empty() && text.front() == '-') {
        text.replace(0, 1, "\u2212");
    }
    return text;
}

// The output window's scientific form, for values that four decimals do not show.
std::string Scientific(double value) {
    const std::string text = FormatScientific(value, 12);
    return text.substr(text.find_first_not_of(' '));
}

std::string Written(double value) {
    return FormatFixed(value, 8, 4);
}

void CheckStepSize(double step) {
    if (!std::isfinite(step) || step <= 0) {
        throw Error("The step size must be a finite number above 0, not " + Shown(step) + ".");
    }
}

void CheckDeviations(const SoilRows& soil) {
    for (int r = 1; r <= SoilRowCount; ++r) {
        const SoilSet& row = SoilRow(soil, r);
        for (const auto& [deviation, symbol] :
             {std::pair{row.PhiStdDev, "\u03c6"}, std::pair{row.CohesionStdDev, "c"}}) {
            if (deviation < 0) {
                throw Error("Row " + FormatInteger(r, 0) + ": the standard deviation of " + symbol +
                            " is negative (" + Shown(deviation) + ").");
            }
        }
    }
}

// The least change a modification line's four decimals show.
constexpr double LeastWrittenChange = 0.00005;

// What a variable's lowering changes, in the unit a modification line writes: for a friction
// angle the sine.
double WrittenDeviation(const RandomVariable& v) {
    return v.friction ? SineOfDegrees(v.stdDev) : v.stdDev;
}

// A lowered value written as its mean says so with its cause: a deviation below the written
// decimals, a step too small for them, or a mean so large that its 64-bit value holds no four
// decimals.
void CheckLoweredValues(const AnalysisInputs& inputs,
                        const std::vector<RandomVariable>& variables) {
    for (const RandomVariable& v : variables) {
        const std::string mean = Written(ModificationValue(inputs, v.id, Strength::Mean));
        if (Written(ModificationValue(inputs, v.id, Strength::Reduced)) != mean) {
            continue;
        }
        const std::string sameAsMean = ": lowered by it, " + Describe(v) +
                                       " is written the same as its mean (" +
                                       mean.substr(mean.find_first_not_of(' ')) + ").";
        const double deviation = WrittenDeviation(v);
        if (deviation < LeastWrittenChange) {
            throw Error("Row " + FormatInteger(v.row, 0) + ": the standard deviation of " +
                        (v.friction ? "\u03c6" : "c") + " (" + Scientific(v.stdDev) +
                        ") is below the four decimals a modification file writes" + sameAsMean);
        }
        if (inputs.stepSize * deviation < LeastWrittenChange) {
            throw Error("The step size " + Shown(inputs.stepSize) + " is too small" + sameAsMean);
        }
        throw Error("Row " + FormatInteger(v.row, 0) + ": the mean of " +
                    (v.friction ? "\u03c6" : "c") + " (" + Scientific(v.mean) +
                    ") is too large for the four decimals a modification file writes" + sameAsMean);
    }
}

// The calculator is looked for as the command line with the model as the analysis reaches it
// names it.
void CheckFiles(const AnalysisInputs& inputs, const std::string& projectFolder) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status model = fs::status(inputs.projectPath, error);
    if (!fs::exists(model)) {
        throw Error("The model file does not exist: " + inputs.projectPath);
    }
    if (!fs::is_regular_file(model)) {
        throw Error("The model file is not a regular file: " + inputs.projectPath);
    }
    const std::string dataFolder = DataFolderPath(inputs.projectPath);
    if (!fs::is_directory(fs::status(dataFolder, error))) {
        throw Error("The model's data folder does not exist: " + dataFolder);
    }
    if (const auto problem = CalculatorProblem(
            inputs.batchPath, BatchCommandLine(inputs.batchPath, inputs.projectPath),
            projectFolder)) {
        throw Error(*problem);
    }
}

// Names of files compared as the file system compares them.
std::string NameKey(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name;
}

bool SameName(const std::string& a, const std::string& b) {
    return FileNamesIgnoreCase ? NameKey(a) == NameKey(b) : a == b;
}

// Taylor's raised friction angle must stay a sine below 1 as written.
void CheckTaylor(const std::vector<RandomVariable>& variables, double step) {
    for (const RandomVariable& v : variables) {
        if (!v.friction) {
            continue;
        }
        const double raised =
            NarrowToDouble(static_cast<long double>(SineOfDegrees(v.mean)) +
                           static_cast<long double>(step) * SineOfDegrees(v.stdDev));
        if (WrittenValue(raised) >= 1) {
            throw Error("Taylor series: raised by the step, " + Describe(v) +
                        " would be written as a sine of " + Shown(raised) +
                        ", and a sine must stay below 1; a smaller step size keeps it so.");
        }
    }
}

void CheckMethod(Method method, StrengthDistribution strengths,
                 const std::vector<RandomVariable>& variables, double step) {
    if (method == Method::Taylor) {
        CheckTaylor(variables, step);
    } else if (method == Method::Form) {
        for (const RandomVariable& v : variables) {
            StrengthTransform(v, strengths);
        }
    }
}

bool EndsWithPlx(const std::string& name) {
    return name.size() >= 4 && NameKey(name.substr(name.size() - 4)) == ".plx";
}

// The calculator names its data files after the project name; under another name it would read
// no modification file, and every run would be of the unmodified model.
void CheckProjectName(const AnalysisInputs& inputs) {
    std::string name = std::filesystem::path(inputs.projectPath).filename().string();
    if (EndsWithPlx(name)) {
        name.resize(name.size() - 4);
    }
    if (SameName(name, inputs.projectName)) {
        return;
    }
    throw Error("The project name " + ShownText(inputs.projectName) +
                " is not the model file's name " + ShownText(name) +
                ": the calculator would read no modification file, so every run would be of "
                "the unmodified model.");
}

// A friction angle travels as its sine, lowered by the step times the sine of its deviation: a
// sine below 0 is no friction angle at all.
void CheckLoweredSines(const AnalysisInputs& inputs, const std::vector<RandomVariable>& variables) {
    for (const RandomVariable& v : variables) {
        if (!v.friction) {
            continue;
        }
        const double lowered = WrittenValue(ModificationValue(inputs, v.id, Strength::Reduced));
        if (lowered >= 0) {
            continue;
        }
        const double ratio = std::clamp(SineOfDegrees(v.mean) / inputs.stepSize, 0.0, 1.0);
        const double largest = std::floor(std::asin(ratio) * 180 / std::numbers::pi * 1e4) / 1e4;
        throw Error("Row " + FormatInteger(v.row, 0) + ": lowered by the step size " +
                    Shown(inputs.stepSize) + ", the sine of \u03c6 would be " + Shown(lowered) +
                    ", below 0; with this step the standard deviation of \u03c6 can be at most " +
                    Shown(largest) + ", not " + Shown(v.stdDev) + ".");
    }
}

} // namespace

void CheckBeforeFirstRun(const AnalysisInputs& inputs, Method method,
                         StrengthDistribution strengths, const std::string& projectFolder) {
    CheckStepSize(inputs.stepSize);
    CheckDeviations(inputs.soil);
    const std::vector<RandomVariable> variables = ListedVariables(inputs);
    if (variables.empty()) {
        throw Error("There is no random variable: no row has a standard deviation above 0.");
    }
    CheckLoweredValues(inputs, variables);
    CheckLoweredSines(inputs, variables);
    CheckFiles(inputs, projectFolder);
    CheckProjectName(inputs);
    CheckMethod(method, strengths, variables, inputs.stepSize);
}

void CheckSamplingBeforeFirstRun(const AnalysisInputs& inputs, Method method,
                                 StrengthDistribution strengths, const SamplingSettings& sampling) {
    if (sampling.kind == SamplingKind::None) {
        return;
    }
    if (sampling.kind == SamplingKind::Importance && method != Method::Form) {
        throw Error("Importance sampling starts from FORM's design point: choose FORM as the "
                    "method, or Monte Carlo as the sampling check.");
    }
    if (!SamplingSettingsValid(sampling) && sampling.kind == SamplingKind::Surrogate) {
        throw Error("The surrogate needs batches of " + FormatInteger(LeastBatch, 0) + " to " +
                    FormatInteger(MostBatch, 0) + " runs, at most " + FormatInteger(LeastRuns, 0) +
                    " to " + FormatInteger(MostRuns, 0) +
                    " runs and a target coefficient of variation between 0 and 1.");
    }
    if (!SamplingSettingsValid(sampling)) {
        throw Error("The sampling check needs " + FormatInteger(LeastSamples, 0) + " to " +
                    FormatInteger(MostSamples, 0) +
                    " samples and a target coefficient of variation between 0 and 1.");
    }
    for (const RandomVariable& v : ListedVariables(inputs)) {
        StrengthTransform(v, strengths);
    }
}

} // namespace zelmora

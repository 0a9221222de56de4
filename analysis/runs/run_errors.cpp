#include "analysis/runs/run_errors.h"

#include "project/errors.h"
#include "project/number_forms.h"

#include <array>
#include <cmath>

namespace zelmora {

namespace {

constexpr int FirstSignalStatus = 129;
constexpr int LastSignalStatus = 192;
constexpr int FirstRealTimeSignal = 34;

// glibc's texts of Linux's signals 1 to 31.
constexpr std::array<const char*, 31> SignalNames{"Hangup",
                                                  "Interrupt",
                                                  "Quit",
                                                  "Illegal instruction",
                                                  "Trace/breakpoint trap",
                                                  "Aborted",
                                                  "Bus error",
                                                  "Floating point exception",
                                                  "Killed",
                                                  "User defined signal 1",
                                                  "Segmentation fault",
                                                  "User defined signal 2",
                                                  "Broken pipe",
                                                  "Alarm clock",
                                                  "Terminated",
                                                  "Stack fault",
                                                  "Child exited",
                                                  "Continued",
                                                  "Stopped (signal)",
                                                  "Stopped",
                                                  "Stopped (tty input)",
                                                  "Stopped (tty output)",
                                                  "Urgent I/O condition",
                                                  "CPU time limit exceeded",
                                                  "File size limit exceeded",
                                                  "Virtual timer expired",
                                                  "Profiling timer expired",
                                                  "Window changed",
                                                  "I/O possible",
                                                  "Power failure",
                                                  "Bad system call"};

// A value as the messages show it, with a true minus sign; −0 as 0.
std::string Shown(double value) {
    std::string text = FormatFixed(value == 0 ? 0.0 : value, 0, 4);
    if (!text.empty() && text.front() == '-') {
        text.replace(0, 1, "\u2212");
    }
    return text;
}

} // namespace

bool IsSafetyFactor(double factor) {
    return std::isfinite(factor) && factor > 0;
}

std::optional<int> EndingSignal(const RunOutcome& outcome) {
    if (!outcome.started || outcome.exitStatus < FirstSignalStatus ||
        outcome.exitStatus > LastSignalStatus) {
        return std::nullopt;
    }
    return outcome.exitStatus - 128;
}

std::string SignalName(int signal) {
    if (signal >= 1 && signal <= static_cast<int>(SignalNames.size())) {
        return SignalNames[static_cast<std::size_t>(signal - 1)];
    }
    if (signal >= FirstRealTimeSignal) {
        return "Real-time signal " + std::to_string(signal - FirstRealTimeSignal);
    }
    return "Unknown signal " + std::to_string(signal);
}

bool RunFailed(const RunOutcome& outcome) {
    return outcome.writeError || !outcome.started || EndingSignal(outcome) || outcome.openError ||
           !outcome.resultRewritten || outcome.readError || !outcome.safetyFactor ||
           !IsSafetyFactor(*outcome.safetyFactor);
}

bool NonZeroExitAccepted(const RunOutcome& outcome) {
    return outcome.exitStatus != 0 && !RunFailed(outcome);
}

void RaiseErrorsBeforeReading(const RunOutcome& outcome, const AnalysisInputs& inputs) {
    if (outcome.writeError) {
        std::rethrow_exception(outcome.writeError);
    }
    if (!outcome.started) {
        throw Error("The batch calculator could not be started: " + inputs.batchCommandLine);
    }
    // Whatever it left may be cut short: a stage record of a calculation killed part way.
    if (const std::optional<int> signal = EndingSignal(outcome)) {
        throw Error("The batch calculator ended by signal " + std::to_string(*signal) + " (" +
                    SignalName(*signal) + "): " + inputs.resultFilePath);
    }
    if (outcome.openError) {
        std::rethrow_exception(outcome.openError);
    }
    // Reading it would take an earlier run's result for this one.
    if (!outcome.resultRewritten) {
        throw Error("The batch calculator wrote no new result file: " + inputs.resultFilePath);
    }
}

void RaiseReadingErrors(const RunOutcome& outcome, const AnalysisInputs& inputs) {
    if (outcome.readError) {
        std::rethrow_exception(outcome.readError);
    }
    if (!outcome.safetyFactor) {
        throw Error("The result file holds no safety factor: " + inputs.resultFilePath);
    }
    // A calculation that broke down can leave 0 or worse; computing on with it would show a
    // wrong beta as a result.
    if (!IsSafetyFactor(*outcome.safetyFactor)) {
        throw Error("The safety factor read is " + Shown(*outcome.safetyFactor) +
                    ", not a positive number: " + inputs.resultFilePath);
    }
}

std::string RunErrorDetailText(const RunErrorDetail& detail) {
    std::string text = "In " + detail.run + ".\nProject: " + detail.path + "\n";
    if (!detail.copyPath.empty()) {
        text += "Work copy: " + detail.copyPath + "\n";
    }
    if (!detail.calculatorOutput.empty()) {
        text += "The calculator's last lines:\n";
        for (const std::string& line : detail.calculatorOutput) {
            text += "  " + line + "\n";
        }
    }
    return text;
}

double CheckedSafetyFactor(const RunOutcome& outcome, const AnalysisInputs& inputs) {
    RaiseErrorsBeforeReading(outcome, inputs);
    RaiseReadingErrors(outcome, inputs);
    return *outcome.safetyFactor;
}

} // namespace zelmora

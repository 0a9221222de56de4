#include "analysis/coupling/result_file.h"
#include "fuzz_files.h"
#include "project/errors.h"
#include "project/project_state.h"
#include "project/text_file.h"

#include <cmath>

using namespace zelmora;

namespace {

const std::string ResultFile = fuzz::ScratchPath("result.hxx");
constexpr int RunId = 1;
constexpr int Key = 12; // the cohesion of row 2, the variable of run 1
constexpr double Mark = -7.25;

void StartAnalysis() {
    State = ProjectState{};
    for (int r = -2; r <= 0; ++r) {
        Entry(State.Variables, r) = r;
    }
    Entry(State.Variables, RunId) = Key;
    State.VariableCount = 1;
    State.SafetyFactors.fill(Mark);
    State.LastSafetyFactor = Mark;
}

void CheckOnlyTheRunsEntryChanged() {
    for (int key = -2; key <= 20; ++key) {
        if (key != Key && Entry(State.SafetyFactors, key) != Mark) {
            fuzz::Fail("the reader stored into the entry of another run");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    StartAnalysis();
    fuzz::WriteBytes(ResultFile, data, size);
    try {
        ReadResultFile(ResultFile, RunId);
    } catch (const Error&) {
        if (PendingIoCode() != 0) {
            fuzz::Fail("an input/output code is left pending for a later command");
        }
        CheckOnlyTheRunsEntryChanged();
        return 0;
    }
    if (PendingIoCode() != 0) {
        fuzz::Fail("an input/output code is left pending for a later command");
    }
    CheckOnlyTheRunsEntryChanged();
    const double stored = Entry(State.SafetyFactors, Key);
    if (!std::isfinite(stored)) {
        fuzz::Fail("a result file without error gave a safety factor that is not finite");
    }
    if (State.LastSafetyFactor != stored) {
        fuzz::Fail("the last safety factor differs from the one stored for the run");
    }
    return 0;
}

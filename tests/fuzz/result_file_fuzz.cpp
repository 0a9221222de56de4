#include "analysis/coupling/result_file.h"
#include "analysis/methods/stored_results.h"
#include "fuzz_files.h"
#include "project/errors.h"
#include "project/io_code.h"

#include <cmath>

using namespace zelmora;

namespace {

const std::string ResultFile = fuzz::ScratchPath("result.hxx");
constexpr int RunId = 1;
constexpr int Key = 12; // the cohesion of row 2, the variable of run 1
constexpr double Mark = -7.25;

StoredResults StartAnalysis() {
    StoredResults stored;
    stored.safetyFactors.fill(Mark);
    stored.lastSafetyFactor = Mark;
    return stored;
}

// Reads the file as the analysis takes run 1's result: its factor stored under the run's key,
// the errors raised around it in their order.
void ReadRun(StoredResults& stored) {
    const ResultReading reading = ReadResultFile(ResultFile);
    if (reading.openError) {
        std::rethrow_exception(reading.openError);
    }
    if (reading.safetyFactor) {
        StoreRunFactor(stored, {Key}, RunId, *reading.safetyFactor);
    }
    if (reading.readError) {
        std::rethrow_exception(reading.readError);
    }
}

void CheckOnlyTheRunsEntryChanged(const StoredResults& stored) {
    for (int key = -2; key <= 20; ++key) {
        if (key != Key && Entry(stored.safetyFactors, key) != Mark) {
            fuzz::Fail("the reader stored into the entry of another run");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    StoredResults results = StartAnalysis();
    fuzz::WriteBytes(ResultFile, data, size);
    try {
        ReadRun(results);
    } catch (const Error&) {
        if (PendingIoCode() != 0) {
            fuzz::Fail("an input/output code is left pending for a later command");
        }
        CheckOnlyTheRunsEntryChanged(results);
        return 0;
    }
    if (PendingIoCode() != 0) {
        fuzz::Fail("an input/output code is left pending for a later command");
    }
    CheckOnlyTheRunsEntryChanged(results);
    const double stored = Entry(results.safetyFactors, Key);
    if (!std::isfinite(stored)) {
        fuzz::Fail("a result file without error gave a safety factor that is not finite");
    }
    if (results.lastSafetyFactor != stored) {
        fuzz::Fail("the last safety factor differs from the one stored for the run");
    }
    return 0;
}

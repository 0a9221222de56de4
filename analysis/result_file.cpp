#include "analysis/batch_coupling.h"
#include "project/errors.h"
#include "project/project_state.h"
#include "project/text_file.h"

#include <optional>

namespace zelmora {

namespace {

constexpr int SkippedLinesPerRecord = 10;
constexpr int TrailingNumbersPerRecord = 6;

// Reads the four leading numbers of a record; nothing when the data ends before the fourth.
std::optional<long double> ReadSafetyFactor(TextInput& file) {
    long double value = 0;
    bool found = false;
    for (int k = 0; k < 4; ++k) {
        value = file.ReadReal(&found);
    }
    if (!found) {
        return std::nullopt;
    }
    return value;
}

void StoreSafetyFactor(long double value, int runId) {
    const double stored = NarrowToDouble(value);
    State.LastSafetyFactor = stored;
    Entry(State.SafetyFactors, Entry(State.Variables, runId)) = stored;
}

// A code recorded while reading stays pending: the reader checks only at the close.
void ReadRecords(TextInput& file, int runId) {
    while (!file.AtEnd()) {
        file.SkipLine();
        const std::optional<long double> safetyFactor = ReadSafetyFactor(file);
        if (!safetyFactor) {
            return;
        }
        file.SkipLine();
        StoreSafetyFactor(*safetyFactor, runId);
        for (int k = 0; k < SkippedLinesPerRecord; ++k) {
            file.SkipLine();
        }
        for (int k = 0; k < TrailingNumbersPerRecord; ++k) {
            file.ReadReal();
        }
        file.SkipLine();
    }
}

// A value too large to store ends the reading early; a code of this file left pending then
// must not surface at some later, unrelated check.
void DiscardPendingIo() {
    try {
        CheckIo();
    } catch (const EInOutError&) {
    }
}

} // namespace

void ReadResultFile(const std::string& path, int runId) {
    TextInput file;
    file.OpenForReading(path);
    CheckIo();
    try {
        ReadRecords(file, runId);
    } catch (...) {
        DiscardPendingIo();
        throw;
    }
    file.Close();
    CheckIo();
}

} // namespace zelmora

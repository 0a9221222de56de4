#include "analysis/coupling/result_file.h"

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

// A code recorded while reading stays pending: the reader checks only at the close. Each
// record overwrites the one before; a value too large to store ends the reading.
void ReadRecords(TextInput& file, std::optional<double>& safetyFactor) {
    while (!file.AtEnd()) {
        file.SkipLine();
        const std::optional<long double> value = ReadSafetyFactor(file);
        if (!value) {
            return;
        }
        file.SkipLine();
        safetyFactor = NarrowToDouble(*value);
        for (int k = 0; k < SkippedLinesPerRecord; ++k) {
            file.SkipLine();
        }
        for (int k = 0; k < TrailingNumbersPerRecord; ++k) {
            file.ReadReal();
        }
        file.SkipLine();
    }
}

// A code of this file left pending after an overflow must not surface at some later,
// unrelated check.
void DiscardPendingIo() {
    try {
        CheckIo();
    } catch (const EInOutError&) {
    }
}

std::exception_ptr CheckIoError() {
    try {
        CheckIo();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

} // namespace

ResultReading ReadResultRecords(const std::string& path) {
    ResultReading reading;
    TextInput file;
    file.OpenForReading(path);
    reading.openError = CheckIoError();
    if (reading.openError) {
        return reading;
    }
    try {
        ReadRecords(file, reading.safetyFactor);
    } catch (...) {
        DiscardPendingIo();
        reading.readError = std::current_exception();
        return reading;
    }
    file.Close();
    reading.readError = CheckIoError();
    return reading;
}

void ReadResultFile(const std::string& path, int runId) {
    const ResultReading reading = ReadResultRecords(path);
    if (reading.openError) {
        std::rethrow_exception(reading.openError);
    }
    if (reading.safetyFactor) {
        State.LastSafetyFactor = *reading.safetyFactor;
        Entry(State.SafetyFactors, Entry(State.Variables, runId)) = *reading.safetyFactor;
    }
    if (reading.readError) {
        std::rethrow_exception(reading.readError);
    }
}

} // namespace zelmora

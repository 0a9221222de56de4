#include "analysis/coupling/result_file.h"

#include "analysis/coupling/result_snapshot.h"
#include "project/errors.h"
#include "project/text_input.h"

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

// A code recorded while reading stays pending: the reader checks only at the close. A record
// counts once its closing six numbers and the end of their line were read, and overwrites the
// one before; a value too large to store ends the reading.
void ReadRecords(TextInput& file, std::optional<double>& safetyFactor) {
    while (!file.AtEnd()) {
        file.SkipLine();
        const std::optional<long double> value = ReadSafetyFactor(file);
        if (!value) {
            return;
        }
        file.SkipLine();
        for (int k = 0; k < SkippedLinesPerRecord; ++k) {
            file.SkipLine();
        }
        bool closed = true;
        for (int k = 0; k < TrailingNumbersPerRecord; ++k) {
            bool found = false;
            file.ReadReal(&found);
            closed = closed && found;
        }
        if (!file.SkipLine() || !closed) {
            return;
        }
        safetyFactor = NarrowToDouble(*value);
    }
}

} // namespace

ResultReading ReadResultText(std::string_view text, const std::string& path) {
    ResultReading reading;
    TextInput file;
    file.OpenText(text, path);
    try {
        ReadRecords(file, reading.safetyFactor);
    } catch (...) {
        // A code left pending after an overflow must not surface at some later, unrelated check.
        TakePendingIoError();
        reading.readError = std::current_exception();
        return reading;
    }
    file.Close();
    reading.readError = TakePendingIoError();
    return reading;
}

ResultReading ReadResultFile(const std::string& path) {
    const ResultSnapshot snapshot = TakeResultSnapshot(path);
    if (snapshot.openError) {
        return {snapshot.openError, std::nullopt, nullptr};
    }
    ResultReading reading = ReadResultText(snapshot.bytes, path);
    if (snapshot.readError) {
        reading.readError = snapshot.readError;
    }
    return reading;
}

} // namespace zelmora

#pragma once

#include "analysis/coupling/file_identity.h"

#include <array>
#include <cstddef>
#include <exception>
#include <optional>
#include <string>

namespace zelmora {

// The result file as one open found it: what it is and every byte it held, read at once so that
// nothing written later is mixed in.
struct ResultSnapshot {
    std::exception_ptr openError; // it could not be opened
    std::optional<FileIdentity> identity;
    std::string bytes;
    std::exception_ptr readError; // reading or closing it failed part way
};
ResultSnapshot TakeResultSnapshot(const std::string& path);

// What a run keeps of the result file that lay there before it started: its identity and the
// SHA-256 of its bytes, nothing of a file that is not there or cannot be read.
struct ResultBefore {
    std::optional<FileIdentity> identity;
    std::optional<std::array<unsigned char, 32>> digest;
};
ResultBefore KeepResultBefore(const std::string& path);

// True when the file after the run is the very file that lay there before, with the same bytes.
bool LeftAsItWas(const ResultBefore& before, const ResultSnapshot& after);

// Where the run's own records begin: past the old end when the calculator appended to the old
// file (the same file, larger, its old bytes unchanged), otherwise at the start.
std::size_t OwnRecordsStart(const ResultBefore& before, const ResultSnapshot& after);

} // namespace zelmora

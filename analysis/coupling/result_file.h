#pragma once

#include <exception>
#include <optional>
#include <string>
#include <string_view>

namespace zelmora {

// What reading a result file found: the safety factor of its last complete record and the
// first error, kept apart from where the factor is stored so that runs may be read in any order.
struct ResultReading {
    std::exception_ptr openError;
    std::optional<double> safetyFactor;
    std::exception_ptr readError;
};
ResultReading ReadResultFile(const std::string& path);

// The same for bytes already read from the result file at `path`.
ResultReading ReadResultText(std::string_view text, const std::string& path);

} // namespace zelmora

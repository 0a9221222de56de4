#include "project/errors.h"

#include <cmath>

namespace zelmora {

EInOutError::EInOutError(int code) : Error(IoErrorMessage(code)), code(code) {}

EInOutError::EInOutError(int code, const std::string& message) : Error(message), code(code) {}

EInOutError::EInOutError(int code, const std::string& message, std::string detail)
    : Error(message, std::move(detail)), code(code) {}

EInOutError EInOutError::Explained(int code, std::string detail) {
    return {code, IoErrorMessage(code), std::move(detail)};
}

std::string DetailOf(const std::exception& error) {
    const auto* ours = dynamic_cast<const Error*>(&error);
    return ours ? ours->Detail() : std::string();
}

std::string IoErrorMessage(int code) {
    switch (code) {
    case 2:
        return "File not found";
    case 3:
        return "Invalid filename";
    case 4:
        return "Too many open files";
    case 5:
        return "File access denied";
    case 100:
        return "Read beyond end of file";
    case 101:
        return "Disk full";
    case 106:
        return "Invalid numeric input";
    default:
        return "I/O error " + std::to_string(code);
    }
}

double NarrowToDouble(long double value) {
    const double narrowed = static_cast<double>(value);
    if (std::isinf(narrowed)) {
        throw EOverflow();
    }
    return narrowed;
}

long double CheckedDivide(long double numerator, long double denominator) {
    if (std::isnan(numerator) || std::isnan(denominator)) {
        throw EInvalidOp();
    }
    if (denominator == 0) {
        if (numerator == 0) {
            throw EInvalidOp();
        }
        throw EZeroDivide();
    }
    const long double quotient = numerator / denominator;
    if (std::isnan(quotient)) {
        throw EInvalidOp(); // infinity divided by infinity
    }
    if (std::isinf(quotient) && std::isfinite(numerator)) {
        throw EOverflow();
    }
    return quotient;
}

} // namespace zelmora

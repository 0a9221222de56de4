#pragma once

#include <stdexcept>
#include <string>

namespace zelmora {

// Base of every error that ends a command; what() is the message the user sees, and the detail,
// when there is one, the lines shown under it: the file and line concerned.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    Error(const std::string& message, std::string detail)
        : std::runtime_error(message), detail_(std::move(detail)) {}
    const std::string& Detail() const noexcept { return detail_; }

private:
    std::string detail_;
};

// The detail of an error that has one, else empty.
std::string DetailOf(const std::exception& error);

class EZeroDivide : public Error {
public:
    EZeroDivide() : Error("Floating point division by zero") {}
};

class EInvalidOp : public Error {
public:
    EInvalidOp() : Error("Invalid floating point operation") {}
};

class EOverflow : public Error {
public:
    EOverflow() : Error("Floating point overflow") {}
};

// An input/output failure with its code; the message comes from the code table.
class EInOutError : public Error {
public:
    explicit EInOutError(int code);
    // The code with a message of its own, such as one that names the file.
    EInOutError(int code, const std::string& message);
    // The code's own message, with a detail under it.
    static EInOutError Explained(int code, std::string detail);
    int code;

private:
    EInOutError(int code, const std::string& message, std::string detail);
};

// The message of the code table: "File not found", ..., "I/O error %d" for any other code.
std::string IoErrorMessage(int code);

// Stores an extended value into a 64-bit field: a value beyond its range throws EOverflow (the
// parsers give infinity for an exponent past the scaling table), one below the range becomes 0
// or subnormal silently.
double NarrowToDouble(long double value);

// Extended-precision quotient with the system's checks: x/0 throws EZeroDivide, 0/0 EInvalidOp.
long double CheckedDivide(long double numerator, long double denominator);

// Ends an analysis that the user stopped; the log says so and no error box is shown.
class EAnalysisStopped : public Error {
public:
    EAnalysisStopped() : Error("Analysis stopped.") {}
};

} // namespace zelmora

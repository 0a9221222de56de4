#include "project/extended_precision.h"
#include "project/number_forms.h"
#include "project/power_of_ten.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace zelmora {

namespace {

// Reads a text left to right; positions are 1-based, the end is the position after the last
// character.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    bool AtEnd() const { return index_ >= text_.size(); }
    char Peek(std::size_t ahead = 0) const {
        return index_ + ahead < text_.size() ? text_[index_ + ahead] : '\0';
    }
    void Advance() { ++index_; }
    int Position() const { return static_cast<int>(index_) + 1; }

    bool Take(char c) {
        if (AtEnd() || text_[index_] != c) {
            return false;
        }
        ++index_;
        return true;
    }

    void SkipSpaces() {
        while (Take(' ')) {
        }
    }

    bool AtDecimalDigit() const { return Peek() >= '0' && Peek() <= '9'; }

private:
    std::string_view text_;
    std::size_t index_ = 0;
};

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// The exponent saturates here, far beyond any value that still changes the result.
constexpr long long ExponentLimit = 1'000'000'000;

// Accumulates N := N × 10 + digit in extended precision; returns the count of digits read.
long long ReadDigits(Cursor& cursor, long double& n) {
    long long count = 0;
    for (; cursor.AtDecimalDigit(); cursor.Advance()) {
        n = n * 10.0L + static_cast<long double>(cursor.Peek() - '0');
        ++count;
    }
    return count;
}

// An optional sign and at least one digit; false when no digit follows.
bool ReadExponent(Cursor& cursor, long long& exponent) {
    const bool negative = cursor.Take('-');
    if (!negative) {
        cursor.Take('+');
    }
    if (!cursor.AtDecimalDigit()) {
        return false;
    }
    for (; cursor.AtDecimalDigit(); cursor.Advance()) {
        exponent = std::min(exponent * 10 + (cursor.Peek() - '0'), ExponentLimit);
    }
    if (negative) {
        exponent = -exponent;
    }
    return true;
}

long double ScaledValue(long double n, long long scale) {
    if (n == 0.0L || scale < -MaxScaleExponent) {
        return 0.0L;
    }
    if (scale > MaxScaleExponent) {
        return std::numeric_limits<long double>::infinity();
    }
    return ScaleByPowerOfTen(n, static_cast<int>(scale));
}

ParsedInteger Failed(std::uint32_t n, int position) {
    return {static_cast<std::int32_t>(n), position};
}

ParsedInteger ReadHex(Cursor& cursor) {
    std::uint32_t n = 0;
    if (cursor.AtEnd()) {
        return Failed(n, cursor.Position());
    }
    while (!cursor.AtEnd()) {
        const int digit = HexDigitValue(cursor.Peek());
        if (digit < 0 || n > 0xFFFFFFFu) {
            return Failed(n, cursor.Position());
        }
        n = n * 16 + static_cast<std::uint32_t>(digit);
        cursor.Advance();
    }
    return {static_cast<std::int32_t>(n), 0};
}

ParsedInteger ReadDecimal(Cursor& cursor, bool negative) {
    std::uint32_t n = 0;
    if (cursor.AtEnd()) {
        return Failed(n, cursor.Position());
    }
    while (!cursor.AtEnd()) {
        if (!cursor.AtDecimalDigit() || n > 214748364u) {
            return Failed(n, cursor.Position());
        }
        n = n * 10 + static_cast<std::uint32_t>(cursor.Peek() - '0');
        cursor.Advance();
    }
    if (n > (negative ? 2147483648u : 2147483647u)) {
        return Failed(n, cursor.Position());
    }
    return {static_cast<std::int32_t>(negative ? 0u - n : n), 0};
}

} // namespace

ParsedReal ParseReal(std::string_view text) {
    EnsureExtendedPrecision();
    if (text.empty()) {
        return {0.0L, 1};
    }
    Cursor cursor(text);
    cursor.SkipSpaces();
    const bool negative = cursor.Take('-');
    if (!negative) {
        cursor.Take('+');
    }
    if (cursor.AtEnd()) {
        return {0.0L, cursor.Position()};
    }
    long double n = 0.0L;
    ReadDigits(cursor, n);
    const long long fraction = cursor.Take('.') ? ReadDigits(cursor, n) : 0;
    long long exponent = 0;
    const bool hasExponent = cursor.Take('E') || cursor.Take('e');
    if ((hasExponent && !ReadExponent(cursor, exponent)) || !cursor.AtEnd()) {
        return {n, cursor.Position()};
    }
    const long double value = ScaledValue(n, exponent - fraction);
    return {negative ? -value : value, 0};
}

ParsedInteger ParseInteger(std::string_view text) {
    if (text.empty()) {
        return {0, 1};
    }
    Cursor cursor(text);
    cursor.SkipSpaces();
    if (cursor.Take('-')) {
        return ReadDecimal(cursor, true);
    }
    if (cursor.Take('+')) {
        return ReadDecimal(cursor, false);
    }
    if (cursor.Take('$') || cursor.Take('x') || cursor.Take('X')) {
        return ReadHex(cursor);
    }
    if (cursor.Peek() == '0' && (cursor.Peek(1) == 'x' || cursor.Peek(1) == 'X')) {
        cursor.Advance();
        cursor.Advance();
        return ReadHex(cursor);
    }
    return ReadDecimal(cursor, false);
}

} // namespace zelmora

#include "project/extended_precision.h"
#include "project/number_forms.h"
#include "project/power_of_ten.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zelmora {

namespace {

constexpr int MaxTextLength = 255;
constexpr int MaxDecimals = 216;
constexpr int DigitCount = 19;

// The 19 digits of v × 10^17 for a scaled magnitude v (0 or 1 <= v < 16): Digits[0] is the tens
// digit of v, and Digits[i] stands for the place 10^(Exponent + 1 - i) of the magnitude.
struct DigitString {
    std::array<int, DigitCount> Digits{};
    int Exponent = 0;

    int At(int i) const { return i >= 0 && i < DigitCount ? Digits[i] : 0; }

    // Rounds half away from zero so that the string ends at Digits[last]; only the next digit
    // is looked at. Returns true when the carry ran out through Digits[first].
    bool RoundAt(int first, int last) {
        if (last + 1 >= DigitCount || Digits[last + 1] < 5) {
            return false;
        }
        for (int i = last; i >= first; --i) {
            if (Digits[i] < 9) {
                ++Digits[i];
                return false;
            }
            Digits[i] = 0;
        }
        return true;
    }
};

// Scales m towards 1 <= v < 16 by whole powers of ten; k is the binary exponent times log10(2),
// taken towards minus infinity.
void Scale(long double& v, int& exponent) {
    while (v != 0.0L) {
        const int b = std::ilogb(v);
        const int k = (b * 19728) >> 16;
        if (k == 0) {
            return;
        }
        v = ScaleByPowerOfTen(v, -k);
        exponent += k;
    }
}

DigitString MakeDigits(long double m, bool scale) {
    EnsureExtendedPrecision();
    DigitString result;
    long double v = m;
    if (scale) {
        Scale(v, result.Exponent);
    }
    long long n = std::llrint(v * 1e17L);
    for (int i = DigitCount - 1; i >= 0; --i) {
        result.Digits[i] = static_cast<int>(n % 10);
        n /= 10;
    }
    return result;
}

int ClampWidth(int width) {
    return std::min(width, MaxTextLength);
}

std::string PadLeft(std::string text, int width) {
    const int w = ClampWidth(width);
    if (static_cast<int>(text.size()) < w) {
        text.insert(0, w - text.size(), ' ');
    }
    return text;
}

std::string NonFinite(double value, int width) {
    if (std::isnan(value)) {
        return PadLeft("Nan", width);
    }
    return PadLeft(value > 0 ? "+Inf" : "-Inf", width);
}

char DigitChar(int digit) {
    return static_cast<char>('0' + digit);
}

} // namespace

std::string FormatFixed(double value, int width, int decimals) {
    if (!std::isfinite(value)) {
        return NonFinite(value, width);
    }
    const int d = std::clamp(decimals, 0, MaxDecimals);
    const long double m = std::fabs(static_cast<long double>(value));
    DigitString digits = MakeDigits(m, m >= 10.0L);
    const int e = digits.Exponent;
    if (e > 35) {
        return FormatScientific(value, width);
    }
    digits.RoundAt(0, e + 1 + d);
    std::string text = std::signbit(value) ? "-" : "";
    for (int i = digits.Digits[0] == 0 ? 1 : 0; i <= e + 1; ++i) {
        text += DigitChar(digits.At(i));
    }
    if (d > 0) {
        text += '.';
        for (int i = e + 2; i <= e + 1 + d; ++i) {
            text += DigitChar(digits.At(i));
        }
    }
    return PadLeft(std::move(text), width);
}

std::string FormatScientific(double value, int width) {
    if (!std::isfinite(value)) {
        return NonFinite(value, width);
    }
    const int n = std::clamp(width, 10, 26) - 8;
    DigitString digits = MakeDigits(std::fabs(static_cast<long double>(value)), true);
    const int first = digits.Digits[0] == 1 ? 0 : 1;
    int exponent = digits.Exponent + (first == 0 ? 1 : 0);
    std::string mantissa;
    if (digits.RoundAt(first, first + n - 1)) {
        mantissa.assign(static_cast<std::size_t>(n), '0');
        mantissa[0] = '1';
        ++exponent;
    } else {
        for (int i = first; i < first + n; ++i) {
            mantissa += DigitChar(digits.At(i));
        }
    }
    std::string text(1, std::signbit(value) ? '-' : ' ');
    text += mantissa[0];
    text += '.';
    text += mantissa.substr(1);
    text += 'E';
    text += exponent < 0 ? '-' : '+';
    const int magnitude = std::abs(exponent);
    for (int place = 1000; place > 0; place /= 10) {
        text += DigitChar(magnitude / place % 10);
    }
    return PadLeft(std::move(text), width);
}

std::string FormatInteger(std::int32_t value, int width) {
    // Unsigned magnitude, so that -2147483648 is written in full.
    std::uint32_t magnitude =
        value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    std::string digits;
    do {
        digits.insert(digits.begin(), DigitChar(static_cast<int>(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) {
        digits.insert(digits.begin(), '-');
    }
    return PadLeft(std::move(digits), width);
}

} // namespace zelmora

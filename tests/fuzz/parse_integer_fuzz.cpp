#include "fuzz_files.h"
#include "project/errors.h"
#include "project/number_forms.h"

#include <string_view>

using namespace zelmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ParsedInteger parsed = ParseInteger(text);
    if (parsed.errorPosition < 0 || static_cast<std::size_t>(parsed.errorPosition) > size + 1) {
        fuzz::Fail("error position outside the text");
    }
    if (parsed.errorPosition != 0) {
        return 0;
    }
    const ParsedReal fixed = ParseReal(FormatFixed(parsed.value, 0, 17));
    if (fixed.errorPosition != 0 || NarrowToDouble(fixed.value) != parsed.value) {
        fuzz::Fail("the fixed form of a valid integer does not give the same value back");
    }
    const ParsedInteger plain = ParseInteger(FormatInteger(parsed.value, 0));
    if (plain.errorPosition != 0 || plain.value != parsed.value) {
        fuzz::Fail("the integer form of a valid integer does not give the same value back");
    }
    return 0;
}

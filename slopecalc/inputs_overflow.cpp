#include "slopecalc/inputs_overflow.h"

#include <cmath>

namespace slopecalc {

InputsOverflow::InputsOverflow()
    : InputError(0, "the inputs overflow: the sums over a circle exceed the largest number "
                    "(about 1.8e308)") {}

void CheckNoOverflow(double value) {
    if (!std::isfinite(value)) {
        throw InputsOverflow();
    }
}

} // namespace slopecalc

#include "report/tables/linearity_reading.h"

namespace zelmora {

LinearityBand BandOf(double linearity) {
    if (linearity >= 0.9 && linearity <= 1.1) {
        return LinearityBand::Close;
    }
    if (linearity >= 0.75 && linearity <= 1.25) {
        return LinearityBand::Fair;
    }
    return LinearityBand::Far;
}

std::string LinearityReading(std::optional<double> linearity) {
    if (!linearity) {
        return "No linearity: the analysis did not run to its end.";
    }
    switch (BandOf(*linearity)) {
    case LinearityBand::Close:
        return "Close to 1: the safety factor falls almost in a straight line as the "
               "variables are lowered, so the first-order β describes it well.";
    case LinearityBand::Fair:
        return "Somewhat off 1: the safety factor bends over the step, so read β as an "
               "estimate. Repeat the analysis with a smaller step size to see whether β holds.";
    case LinearityBand::Far:
        break;
    }
    return "Far from 1: the safety factor does not respond in a straight line (or the "
           "variables act together), so β from this first-order analysis cannot be trusted. "
           "A smaller step size is the usual remedy; if the linearity stays far from 1, do "
           "not rely on β.";
}

} // namespace zelmora

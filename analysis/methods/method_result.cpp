#include "analysis/methods/method_result.h"

namespace zelmora {

std::string MethodName(Method method) {
    switch (method) {
    case Method::Taylor:
        return "taylor";
    case Method::Form:
        return "form";
    default:
        return "first-order";
    }
}

std::string DistributionName(StrengthDistribution distribution) {
    return distribution == StrengthDistribution::Lognormal ? "lognormal" : "normal";
}

} // namespace zelmora

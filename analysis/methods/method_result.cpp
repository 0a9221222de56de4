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

std::string MethodTitle(Method method) {
    switch (method) {
    case Method::Taylor:
        return "Taylor series";
    case Method::Form:
        return "FORM";
    default:
        return "First order";
    }
}

std::string DistributionName(StrengthDistribution distribution) {
    return distribution == StrengthDistribution::Lognormal ? "lognormal" : "normal";
}

std::optional<Method> MethodFromName(std::string_view name) {
    for (const Method method : {Method::FirstOrder, Method::Taylor, Method::Form}) {
        if (name == MethodName(method)) {
            return method;
        }
    }
    return std::nullopt;
}

std::optional<StrengthDistribution> DistributionFromName(std::string_view name) {
    for (const StrengthDistribution strengths :
         {StrengthDistribution::Normal, StrengthDistribution::Lognormal}) {
        if (name == DistributionName(strengths)) {
            return strengths;
        }
    }
    return std::nullopt;
}

} // namespace zelmora

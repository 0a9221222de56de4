#include "analysis/methods/method_result.h"

namespace zelmora {

namespace {

struct MethodNames {
    Method method;
    const char* name;
    const char* title;
};

constexpr MethodNames Names[] = {{Method::FirstOrder, "first-order", "First order"},
                                 {Method::Taylor, "taylor", "Taylor series"},
                                 {Method::Form, "form", "FORM"}};

const MethodNames& NamesOf(Method method) {
    for (const MethodNames& names : Names) {
        if (names.method == method) {
            return names;
        }
    }
    return Names[0];
}

} // namespace

std::string MethodName(Method method) {
    return NamesOf(method).name;
}

std::string MethodTitle(Method method) {
    return NamesOf(method).title;
}

std::string DistributionName(StrengthDistribution distribution) {
    return distribution == StrengthDistribution::Lognormal ? "lognormal" : "normal";
}

std::optional<Method> MethodFromName(std::string_view name) {
    for (const MethodNames& names : Names) {
        if (name == names.name) {
            return names.method;
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

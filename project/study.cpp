#include "project/study.h"

namespace zelmora {

Study ProjectStudy;

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

std::string StudyFileName(const std::string& projectFile) {
    constexpr std::string_view ProjectSuffix = ".zmo";
    constexpr std::string_view StudySuffix = ".study.json";
    if (projectFile.ends_with(ProjectSuffix)) {
        return projectFile.substr(0, projectFile.size() - ProjectSuffix.size()) +
               std::string(StudySuffix);
    }
    return projectFile + std::string(StudySuffix);
}

} // namespace zelmora

#include "ui/user_settings.h"

#include <QSettings>
#include <algorithm>

namespace zelmora::ui {

namespace {

const QString ParallelRunsKey = QStringLiteral("analysis/parallelRuns");
const QString MethodKey = QStringLiteral("analysis/method");
const QString StrengthsKey = QStringLiteral("analysis/strengths");

QSettings UserSettings() {
    return QSettings(QStringLiteral("Zelmora"), QStringLiteral("Zelmora"));
}

} // namespace

int ParallelRunsSetting() {
    return std::clamp(UserSettings().value(ParallelRunsKey, 1).toInt(), 1, MaxParallelRuns);
}

void StoreParallelRunsSetting(int runs) {
    UserSettings().setValue(ParallelRunsKey, std::clamp(runs, 1, MaxParallelRuns));
}

// Stored by name, so that an unknown name (from a later version) reads as the default.
Method MethodSetting() {
    const std::string name = UserSettings().value(MethodKey).toString().toStdString();
    for (const Method method : {Method::Taylor, Method::Form}) {
        if (name == MethodName(method))
            return method;
    }
    return Method::FirstOrder;
}

void StoreMethodSetting(Method method) {
    UserSettings().setValue(MethodKey, QString::fromStdString(MethodName(method)));
}

StrengthDistribution StrengthsSetting() {
    const std::string name = UserSettings().value(StrengthsKey).toString().toStdString();
    return name == DistributionName(StrengthDistribution::Lognormal)
               ? StrengthDistribution::Lognormal
               : StrengthDistribution::Normal;
}

void StoreStrengthsSetting(StrengthDistribution strengths) {
    UserSettings().setValue(StrengthsKey, QString::fromStdString(DistributionName(strengths)));
}

} // namespace zelmora::ui

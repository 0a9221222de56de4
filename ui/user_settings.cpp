#include "ui/user_settings.h"

#include <QSettings>
#include <algorithm>

namespace zelmora::ui {

namespace {

const QString ParallelRunsKey = QStringLiteral("analysis/parallelRuns");

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

} // namespace zelmora::ui

#include "analysis/workcopies/model_lock.h"

#include "analysis/workcopies/work_folder.h"

namespace zelmora {

// Runs in the model's own folder take no lock on Windows, as before.
ModelLock::ModelLock(const std::string&) {}

ModelLock::~ModelLock() = default;

void ModelLock::Release() {}

void ModelLock::ReleaseKeepingJournal() {}

std::unique_ptr<WorkFolder> ModelLock::Take() {
    return nullptr;
}

std::string ModelLock::JournalPath() const {
    return {};
}

int ModelLock::OpenCalculatorLog() {
    return -1;
}

std::string ModelLock::CalculatorLogPath() const {
    return {};
}

} // namespace zelmora

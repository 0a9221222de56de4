#include "analysis/workcopies/model_lock.h"

#include "analysis/workcopies/work_folder.h"

namespace zelmora {

ModelLock::ModelLock(const std::string& projectPath)
    : folder_(std::make_unique<WorkFolder>(projectPath)) {}

ModelLock::~ModelLock() = default;

int ModelLock::OpenCalculatorLog() {
    return folder_->OpenCalculatorLog(0);
}

std::string ModelLock::CalculatorLogPath() const {
    return folder_ ? folder_->Reached(folder_->CalculatorLogPath(0)) : std::string();
}

void ModelLock::Release() {
    if (folder_) {
        folder_->Remove();
        folder_.reset();
    }
}

void ModelLock::ReleaseKeepingJournal() {
    if (folder_) {
        folder_->RemoveCopies();
        folder_.reset();
    }
}

std::unique_ptr<WorkFolder> ModelLock::Take() {
    return std::move(folder_);
}

std::string ModelLock::JournalPath() const {
    return folder_ ? folder_->JournalPath() : std::string();
}

} // namespace zelmora

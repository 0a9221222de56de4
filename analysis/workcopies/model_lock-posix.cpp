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

} // namespace zelmora

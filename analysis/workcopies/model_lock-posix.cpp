#include "analysis/workcopies/model_lock.h"

#include "analysis/workcopies/work_folder.h"

namespace zelmora {

ModelLock::ModelLock(const std::string& projectPath)
    : folder_(std::make_unique<WorkFolder>(projectPath)) {}

ModelLock::~ModelLock() = default;

void ModelLock::Release() {
    if (folder_) {
        folder_->Remove();
        folder_.reset();
    }
}

} // namespace zelmora

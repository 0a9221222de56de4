#pragma once

#include <memory>
#include <string>

namespace zelmora {

class WorkFolder;

// Keeps a second analysis off a model while one calculates in the model's own folder: the
// model's work folder, holding only its locked marker. On Windows nothing is taken.
class ModelLock {
public:
    // Takes the lock; refused with the work folder's messages.
    explicit ModelLock(const std::string& projectPath);
    ModelLock(const ModelLock&) = delete;
    ModelLock& operator=(const ModelLock&) = delete;
    ~ModelLock();

    // Removes the work folder, holding the lock until it is gone.
    void Release();

    // The open log in the work folder that the calculator's output goes to in place, and its
    // path as Zelmora reads it; -1 and empty where no lock is taken.
    int OpenCalculatorLog();
    std::string CalculatorLogPath() const;

private:
    std::unique_ptr<WorkFolder> folder_;
};

} // namespace zelmora

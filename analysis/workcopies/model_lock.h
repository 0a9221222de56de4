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

    // After a stop or a failure: the folder stays when it holds a journal, the lock goes.
    void ReleaseKeepingJournal();

    // The locked work folder, handed over with the lock; nullptr where none is taken.
    std::unique_ptr<WorkFolder> Take();

    // The journal's path; empty where no folder is taken.
    std::string JournalPath() const;

    // The open log in the work folder that the calculator's output goes to in place, and its
    // path as Zelmora reads it; -1 and empty where no lock is taken.
    int OpenCalculatorLog();
    std::string CalculatorLogPath() const;

private:
    std::unique_ptr<WorkFolder> folder_;
};

} // namespace zelmora

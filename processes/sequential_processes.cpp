#include "processes/sequential_processes.h"

#include <vector>

namespace zelmora {

namespace {

// Runs each process to its end when it is started; WaitForAny hands the ends back in order.
class SequentialProcesses : public ProcessSet {
public:
    explicit SequentialProcesses(ProcessRunner runner) : runner_(std::move(runner)) {}

    // The runner starts the command as it will: the output and folder are its own.
    int Start(const std::string& commandLine, int /*outputFd*/, const std::string& /*startsIn*/,
              const std::string& /*runMarker*/) override {
        const int status = runner_(commandLine, 1);
        if (status == -1) {
            return -1;
        }
        ended_.push_back({++lastHandle_, status});
        return lastHandle_;
    }

    std::optional<Ended> WaitForAny(std::chrono::milliseconds /*timeout*/) override {
        if (ended_.empty()) {
            return std::nullopt;
        }
        const Ended first = ended_.front();
        ended_.erase(ended_.begin());
        return first;
    }

    void SignalAll(int /*signal*/) override {}

    int RunningCount() const override { return static_cast<int>(ended_.size()); }

    void EndLeftovers(int /*handle*/) override {}

    void EndAllLeftovers() override {}

private:
    ProcessRunner runner_;
    std::vector<Ended> ended_;
    int lastHandle_ = 0;
};

} // namespace

std::unique_ptr<ProcessSet> MakeSequentialProcesses(ProcessRunner runner) {
    return std::make_unique<SequentialProcesses>(std::move(runner));
}

} // namespace zelmora

#pragma once

#include "processes/process_set.h"

#include <functional>
#include <memory>

namespace zelmora::ui::test {

// Real child processes, with hooks where the analysis starts one and where it waits.
class ObservedProcesses : public ProcessSet {
public:
    std::function<void()> onStart;
    std::function<void()> onWait;
    std::function<void()> onEnd;
    int started = 0;

    int Start(const std::string& commandLine, int outputFd, const std::string& startsIn,
              const std::string& runMarker) override {
        ++started;
        if (onStart)
            onStart();
        return inner_->Start(commandLine, outputFd, startsIn, runMarker);
    }

    std::optional<Ended> WaitForAny(std::chrono::milliseconds timeout) override {
        if (onWait)
            onWait();
        const std::optional<Ended> ended = inner_->WaitForAny(timeout);
        if (ended && onEnd)
            onEnd();
        return ended;
    }

    void SignalAll(int signal) override { inner_->SignalAll(signal); }
    int RunningCount() const override { return inner_->RunningCount(); }
    void EndLeftovers(int handle) override { inner_->EndLeftovers(handle); }
    void EndAllLeftovers() override { inner_->EndAllLeftovers(); }

private:
    std::unique_ptr<ProcessSet> inner_ = MakeChildProcesses();
};

} // namespace zelmora::ui::test

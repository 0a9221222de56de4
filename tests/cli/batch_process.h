#pragma once

#include "tests/support/file_bytes.h"

#include <fcntl.h>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace zelmora {

struct Finished {
    int status = -1;
    std::string out;
    std::string err;
};

// What a test does to the streams a child starts with, after they were opened on files.
using StreamSetup = std::function<void(posix_spawn_file_actions_t&)>;

// zelmora-batch as a child process, its output caught in files.
class BatchProcess {
public:
    BatchProcess(const std::vector<std::string>& arguments, const std::string& folder,
                 const StreamSetup& streams = {})
        : out_(folder + "/stdout"), err_(folder + "/stderr") {
        std::vector<std::string> words{ZELMORA_BATCH};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_addopen(&actions, 2, err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        if (streams) {
            streams(actions);
        }
        posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
    }

    void Signal(int signal) const { kill(pid_, signal); }

    Finished Wait() const {
        int status = 0;
        waitpid(pid_, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
                test_support::ReadBytes(out_), test_support::ReadBytes(err_)};
    }

private:
    std::string out_;
    std::string err_;
    pid_t pid_ = -1;
};

} // namespace zelmora

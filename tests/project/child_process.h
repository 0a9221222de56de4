#pragma once

#include <csignal>
#include <functional>
#include <grp.h>
#include <optional>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace test_support {

// An ordinary user that exists on every Debian system.
constexpr uid_t Nobody = 65534;

// Starts `action` in a forked child, as `user` with the same group and no others when one is
// given; the child ends with action's result as its exit status, or 255 when it cannot
// become that user. The child leaves by _exit, so nothing of the test framework runs twice.
inline pid_t StartChild(const std::function<int()>& action, std::optional<uid_t> user = {}) {
    const pid_t pid = fork();
    if (pid != 0) {
        return pid;
    }
    if (user && (setgroups(0, nullptr) != 0 || setresgid(*user, *user, *user) != 0 ||
                 setresuid(*user, *user, *user) != 0)) {
        _exit(255);
    }
    _exit(action());
}

// Runs `action` as StartChild does and returns its result (0 to 254); nullopt when the child
// did not end by itself within `seconds`, a watchdog against calls that hang.
inline std::optional<int> RunInChild(const std::function<int()>& action,
                                     std::optional<uid_t> user = {}, unsigned seconds = 10) {
    const pid_t pid = StartChild(
        [&] {
            alarm(seconds);
            return action();
        },
        user);
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
        return std::nullopt;
    }
    return WEXITSTATUS(status);
}

} // namespace test_support

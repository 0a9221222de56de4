#pragma once

#include <cstring>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace test_support {

struct SpecialFile {
    std::string name;
    std::string path;
};

inline void Require(bool made, const std::string& what) {
    if (!made) {
        throw std::runtime_error("cannot make the " + what);
    }
}

// Things that exist and are not regular files, made in `folder`: a pipe without a writer (an
// open waits for one), a device that never ends, a folder, a socket and a link to the pipe.
// The device is a node of the folder's own where the test may make one (as root), so that a
// faulty save could never replace the system's /dev/zero; otherwise it is /dev/zero itself,
// which an ordinary user cannot replace.
inline std::vector<SpecialFile> MakeSpecialFiles(const std::string& folder) {
    const std::string pipe = folder + "/pipe";
    const std::string socketPath = folder + "/socket";
    std::string zero = folder + "/zero";
    if (mknod(zero.c_str(), S_IFCHR | 0666, makedev(1, 5)) != 0) {
        zero = "/dev/zero";
    }
    Require(mkfifo(pipe.c_str(), 0666) == 0, "pipe");
    Require(mkdir((folder + "/folder").c_str(), 0777) == 0, "folder");
    Require(symlink("pipe", (folder + "/link-to-pipe").c_str()) == 0, "link");
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound =
        bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(listener);
    Require(bound, "socket");
    return {{"pipe without a writer", pipe},
            {"endless device", zero},
            {"folder", folder + "/folder"},
            {"socket", socketPath},
            {"link to a pipe", folder + "/link-to-pipe"}};
}

} // namespace test_support

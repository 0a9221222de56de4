#include "project/standard_streams.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace zelmora {

void ReopenClosedStandardStreams() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            // The lowest free number is this one: the lower ones are open by now.
            ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        }
    }
}

} // namespace zelmora

#include "project/process_umask.h"

#include <charconv>
#include <fstream>
#include <string>

namespace zelmora {

mode_t ProcessUmask() {
    constexpr mode_t Private = 077;
    std::ifstream status("/proc/self/status");
    const std::string key = "Umask:";
    for (std::string line; std::getline(status, line);) {
        if (!line.starts_with(key)) {
            continue;
        }
        const auto start = line.find_first_not_of(" \t", key.size());
        unsigned mask = 0;
        if (start == std::string::npos ||
            std::from_chars(line.data() + start, line.data() + line.size(), mask, 8).ec !=
                std::errc()) {
            return Private;
        }
        return static_cast<mode_t>(mask & 0777);
    }
    return Private;
}

} // namespace zelmora

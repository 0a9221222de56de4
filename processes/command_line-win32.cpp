#include "processes/command_line.h"

namespace zelmora {

// "bin\calc" and "bin/calc" have a folder; "\calc", "/calc" and "C:calc" start at a root or a
// drive and stay as they are.
std::string InFolder(const std::string& folder, const std::string& name) {
    const bool withFolder = name.find_first_of("/\\") != std::string::npos;
    const bool rooted = !name.empty() && (name.front() == '/' || name.front() == '\\' ||
                                          (name.size() > 1 && name[1] == ':'));
    if (folder.empty() || !withFolder || rooted) {
        return name;
    }
    return folder + "\\" + name;
}

} // namespace zelmora

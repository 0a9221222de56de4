#include "processes/containment.h"

#include "processes/calculator_start.h"

#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zelmora {

namespace {

std::string ReadWhole(const char* path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// mountinfo writes a blank, tab, line end or backslash of a path as an octal escape.
std::string Unescaped(const std::string& field) {
    std::string path;
    for (std::size_t k = 0; k < field.size(); ++k) {
        if (field[k] == '\\' && k + 3 < field.size()) {
            path += static_cast<char>(std::stoi(field.substr(k + 1, 3), nullptr, 8));
            k += 3;
        } else {
            path += field[k];
        }
    }
    return path;
}

std::vector<std::string> Fields(const std::string& line) {
    std::istringstream words(line);
    std::vector<std::string> fields;
    for (std::string word; words >> word;) {
        fields.push_back(word);
    }
    return fields;
}

bool OwnedAndWritable(const std::string& path, uid_t user) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && info.st_uid == user &&
           faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

} // namespace

std::optional<std::string> OwnCgroupFolder(const std::string& cgroups, const std::string& mounts) {
    std::istringstream cgroupLines(cgroups);
    std::string own;
    for (std::string line; std::getline(cgroupLines, line);) {
        if (line.starts_with("0::")) {
            own = line.substr(3);
        }
    }
    if (own.empty()) {
        return std::nullopt;
    }
    std::istringstream mountLines(mounts);
    for (std::string line; std::getline(mountLines, line);) {
        const std::vector<std::string> fields = Fields(line);
        const std::size_t separator = line.find(" - ");
        if (fields.size() < 5 || separator == std::string::npos ||
            Fields(line.substr(separator + 3)).front() != "cgroup2") {
            continue;
        }
        // The mount shows the hierarchy from its root on: our cgroup must lie below it.
        const std::string root = Unescaped(fields[3]);
        const std::string point = Unescaped(fields[4]);
        if (root == "/") {
            return own == "/" ? point : point + own;
        }
        if (own == root) {
            return point;
        }
        if (own.starts_with(root + "/")) {
            return point + own.substr(root.size());
        }
    }
    return std::nullopt;
}

std::optional<std::string> DelegatedCgroup() {
    const uid_t user = geteuid();
    std::optional<std::string> folder =
        OwnCgroupFolder(ReadWhole("/proc/self/cgroup"), ReadWhole("/proc/self/mountinfo"));
    if (user == 0 || !folder || !OwnedAndWritable(*folder, user) ||
        !OwnedAndWritable(*folder + "/cgroup.procs", user)) {
        return std::nullopt;
    }
    return folder;
}

ContainmentChoice BestContainment() {
    if (const std::optional<std::string> folder = DelegatedCgroup()) {
        return {Containment::Cgroup, *folder};
    }
    if (NamespacesWork()) {
        return {Containment::Namespaces, {}};
    }
    return {};
}

std::unique_ptr<ProcessSet> MakeChildProcesses() {
    return MakeChildProcesses(BestContainment());
}

} // namespace zelmora

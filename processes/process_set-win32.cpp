#include "processes/process_set.h"

#include "processes/command_line.h"
#include "processes/run_marker.h"

#include <algorithm>
#include <csignal>
#include <cstring>
#include <io.h>
#include <map>
#include <vector>
#include <windows.h>

namespace zelmora {

namespace {

// The handles a child gets as its standard input, output and error, and no other of ours.
class InheritedHandles {
public:
    explicit InheritedHandles(int outputFd) {
        SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        input_ = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        DuplicateHandle(GetCurrentProcess(), reinterpret_cast<HANDLE>(_get_osfhandle(outputFd)),
                        GetCurrentProcess(), &output_, 0, TRUE, DUPLICATE_SAME_ACCESS);
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        storage_.resize(size);
        list_ = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
        InitializeProcThreadAttributeList(list_, 1, 0, &size);
        handles_[0] = input_;
        handles_[1] = output_;
        UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles_,
                                  sizeof(handles_), nullptr, nullptr);
    }
    InheritedHandles(const InheritedHandles&) = delete;
    InheritedHandles& operator=(const InheritedHandles&) = delete;
    ~InheritedHandles() {
        DeleteProcThreadAttributeList(list_);
        CloseHandle(input_);
        CloseHandle(output_);
    }

    void Fill(STARTUPINFOEXA& startup) const {
        startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
        startup.StartupInfo.hStdInput = input_;
        startup.StartupInfo.hStdOutput = output_;
        startup.StartupInfo.hStdError = output_;
        startup.lpAttributeList = list_;
    }

private:
    HANDLE input_ = INVALID_HANDLE_VALUE;
    HANDLE output_ = INVALID_HANDLE_VALUE;
    HANDLE handles_[2]{};
    std::vector<char> storage_;
    LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

// The command line with a first part that is a relative path with a folder taken from `folder`:
// CreateProcessA would take it from our current folder, not the child's.
std::string StartedFrom(const std::string& commandLine, const std::string& folder) {
    const std::size_t first = commandLine.find_first_not_of(" \t");
    if (folder.empty() || first == std::string::npos) {
        return commandLine;
    }
    const bool quoted = commandLine[first] == '"';
    const std::size_t end =
        quoted ? commandLine.find('"', first + 1) : commandLine.find_first_of(" \t", first);
    const std::size_t begin = quoted ? first + 1 : first;
    const std::string program =
        commandLine.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    const std::string found = InFolder(folder, program);
    if (found == program) {
        return commandLine;
    }
    const std::string rest =
        end == std::string::npos ? "" : commandLine.substr(quoted ? end + 1 : end);
    return "\"" + found + "\"" + rest;
}

// Our environment with the marker as its only ZELMORA_RUN, as CreateProcessA takes one: each
// "NAME=value" ended by a zero, and one zero more.
std::vector<char> MarkedEnvironmentBlock(const std::string& marker) {
    std::vector<std::string> current;
    const LPCH strings = GetEnvironmentStringsA();
    for (const char* entry = strings; entry != nullptr && *entry != '\0';
         entry += std::strlen(entry) + 1) {
        current.emplace_back(entry);
    }
    FreeEnvironmentStringsA(strings);
    std::vector<char> block;
    for (const std::string& entry : MarkedEnvironment(current, marker)) {
        block.insert(block.end(), entry.begin(), entry.end());
        block.push_back('\0');
    }
    block.resize(std::max<std::size_t>(block.size() + 1, 2), '\0');
    return block;
}

// Starts the command line suspended, so that it is in its job before it can start anything.
// Output that goes elsewhere gets a hidden console of its own, as a POSIX child gets a session
// of its own: a Ctrl-C or Ctrl-Break in ours does not reach it. Otherwise the child shows its
// own console window, as ExecuteAndWait does.
bool CreateSuspended(const std::string& commandLine, int outputFd, const std::string& startsIn,
                     const std::string& marker, PROCESS_INFORMATION& process) {
    const std::string started = StartedFrom(commandLine, startsIn);
    const char* folder = startsIn.empty() ? nullptr : startsIn.c_str();
    std::vector<char> environment = MarkedEnvironmentBlock(marker);
    std::vector<char> buffer(started.begin(), started.end());
    buffer.push_back('\0');
    STARTUPINFOEXA startup{};
    startup.StartupInfo.cb = sizeof(startup);
    DWORD flags = CREATE_SUSPENDED | NORMAL_PRIORITY_CLASS;
    if (outputFd < 0) {
        startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW;
        startup.StartupInfo.wShowWindow = SW_SHOWNORMAL;
        return CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE,
                              flags | CREATE_NEW_CONSOLE, environment.data(), folder,
                              &startup.StartupInfo, &process) != 0;
    }
    const InheritedHandles handles(outputFd);
    handles.Fill(startup);
    flags |= CREATE_NO_WINDOW | EXTENDED_STARTUPINFO_PRESENT;
    return CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, TRUE, flags, environment.data(),
                          folder, &startup.StartupInfo, &process) != 0;
}

// Child processes, each in a job object of its own, waited for together.
class ChildProcesses : public ProcessSet {
public:
    ChildProcesses() = default;
    ChildProcesses(const ChildProcesses&) = delete;
    ChildProcesses& operator=(const ChildProcesses&) = delete;

    ~ChildProcesses() override {
        SignalAll(SIGTERM);
        for (const auto& [id, child] : running_) {
            WaitForSingleObject(child.process, INFINITE);
            Close(child);
        }
        EndAllLeftovers();
    }

    int Start(const std::string& commandLine, int outputFd, const std::string& startsIn,
              const std::string& runMarker) override {
        const HANDLE job = CreateJobObjectA(nullptr, nullptr);
        PROCESS_INFORMATION process{};
        if (job == nullptr || !KillOnClose(job) ||
            !CreateSuspended(commandLine, outputFd, startsIn, runMarker, process)) {
            if (job != nullptr) {
                CloseHandle(job);
            }
            return -1;
        }
        const Child child{process.hProcess, job};
        if (!AssignProcessToJobObject(job, process.hProcess)) {
            // Outside a job it could not be stopped with what it starts: end it at once.
            TerminateProcess(process.hProcess, Killed);
            CloseHandle(process.hThread);
            WaitForSingleObject(process.hProcess, INFINITE);
            Close(child);
            return -1;
        }
        ResumeThread(process.hThread);
        CloseHandle(process.hThread);
        const int id = static_cast<int>(process.dwProcessId);
        running_[id] = child;
        return id;
    }

    std::optional<Ended> WaitForAny(std::chrono::milliseconds timeout) override {
        std::vector<HANDLE> handles;
        std::vector<int> ids;
        for (const auto& [id, child] : running_) {
            handles.push_back(child.process);
            ids.push_back(id);
        }
        if (handles.empty()) {
            Sleep(static_cast<DWORD>(timeout.count()));
            return std::nullopt;
        }
        // One wait takes at most MAXIMUM_WAIT_OBJECTS handles; the last group waits the time.
        for (std::size_t first = 0; first < handles.size(); first += MAXIMUM_WAIT_OBJECTS) {
            const std::size_t count =
                std::min<std::size_t>(MAXIMUM_WAIT_OBJECTS, handles.size() - first);
            const bool last = first + count == handles.size();
            const DWORD result =
                WaitForMultipleObjects(static_cast<DWORD>(count), handles.data() + first, FALSE,
                                       last ? static_cast<DWORD>(timeout.count()) : 0);
            if (result < WAIT_OBJECT_0 + count) {
                return Collect(ids[first + (result - WAIT_OBJECT_0)]);
            }
        }
        return std::nullopt;
    }

    void SignalAll(int signal) override {
        for (const auto& [id, child] : running_) {
            TerminateJobObject(child.job, static_cast<UINT>(128 + signal));
        }
    }

    int RunningCount() const override { return static_cast<int>(running_.size()); }

    // Closing its job ends whatever the calculator left in it.
    void EndLeftovers(int handle) override {
        const auto found = ended_.find(handle);
        if (found != ended_.end()) {
            CloseHandle(found->second);
            ended_.erase(found);
        }
    }

    void EndAllLeftovers() override {
        for (const auto& [id, job] : ended_) {
            CloseHandle(job);
        }
        ended_.clear();
    }

private:
    struct Child {
        HANDLE process;
        HANDLE job;
    };

    // The exit status of a child that could not be put in its job, as if SIGKILL had ended it.
    static constexpr UINT Killed = 128 + 9;

    static void Close(const Child& child) {
        CloseHandle(child.process);
        CloseHandle(child.job);
    }

    // The job stays open until the run's result is read.
    Ended Collect(int id) {
        const Child child = running_.at(id);
        running_.erase(id);
        DWORD exitCode = 0;
        GetExitCodeProcess(child.process, &exitCode);
        CloseHandle(child.process);
        ended_[id] = child.job;
        return {id, static_cast<int>(exitCode)};
    }

    static bool KillOnClose(HANDLE job) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        return SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits,
                                       sizeof limits) != 0;
    }

    std::map<int, Child> running_; // process id -> its process and job
    std::map<int, HANDLE> ended_;  // process id -> the job of a calculator reported ended
};

} // namespace

std::unique_ptr<ProcessSet> MakeChildProcesses() {
    return std::make_unique<ChildProcesses>();
}

} // namespace zelmora

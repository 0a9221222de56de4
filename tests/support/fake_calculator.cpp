// A stand-in for the batch calculator, started by the tests as a real child process.
//
// Started as "<program> <project>.plx /c" it reads <project>.dta/<name>.mmt and writes
// <project>.dta/<name>.hxx with one record whose safety factor is
//     base + sum of coefficient * value
// over the terms of <project>.dta/model.txt ("base B" and "term SET PARAMETER COEFFICIENT
// DEFAULT" lines), where value is the one the modification file gives for that set and
// parameter, or the default; a "square SET PARAMETER COEFFICIENT DEFAULT" line adds
// coefficient * value * value. A line "pause MS" there makes it wait MS milliseconds first, so
// that the caller's idle callback runs meanwhile; a line "linger MS" makes it wait MS milliseconds
// after writing its result, as a calculator that tidies up before it ends. Every modification
// file it saw is appended
// to <project>.dta/history.txt, followed by a line "--"; a line "count PATH" makes every run,
// whichever copy it calculates, append a line to PATH as it starts; a line "lines-from PATH"
// adds the lines of PATH, if there is one, to the model's: a fault set there leaves the data
// folder as it is.
//
// A line "fault KIND SET PARAMETER" there makes the run that reduces only that set's parameter
// (a modification file of one line for them) fail, whichever process or copy does it:
//   missing     removes the result file and writes none
//   keep        leaves the result file as it is
//   empty       writes an empty result file
//   junk        writes a record whose safety factor is not a number
//   zero        writes a record whose safety factor is 0
//   negative    writes a record whose safety factor is -0.5
//   exit-3      writes the result, then ends with status 3
//   exit-137    writes the result, then ends with status 137, as a launcher reports SIGKILL
//   partial-kill  writes a first stage record with the factor 9.5, then dies of SIGKILL
//   append-partial  appends the start of a record to the result file, then ends with status 1
//   helper      writes its result, then leaves a helper in a process group of its own that
//               ignores SIGTERM, appends its process id to the pidfile and, once the calculator
//               has ended, keeps replacing the result file with one of the factor 1.25; the
//               calculator ends 300 ms after starting it
//   helper-session  the same, the helper in a session of its own
//   daemon      writes its result, then detaches a helper as a daemon does (a double fork, a
//               session of its own, SIGTERM, SIGHUP and SIGINT ignored), gone from its
//               descendants before it ends; the helper appends its process id to the pidfile
//               and, 100 ms after the calculator has ended, keeps replacing the result file with
//               one of the factor 1.25
//   daemon-bare the same, the helper starting again with an empty environment
//   hang        appends its process id to the file of the model's line "pidfile PATH" and
//               sleeps for a minute
//   hang-hard   the same, ignoring SIGTERM
//   talk        writes "set 5 read" to its standard output and "unknown set 5" with a bell
//               to its standard error, then leaves the result file as it is
// A line "chatty" makes every run write "calculating" to its standard output first.
//
// A line "fault-above KIND SET PARAMETER LIMIT" makes every run whose modification file gives
// that set's parameter a value above LIMIT fail in the way KIND names.
//
// Process ids written to files are the system's, as /proc shows them, also where the
// calculator runs in a PID namespace of its own.
//
// Other first words select a behaviour to observe from outside:
//   exit N          ends with status N
//   signal N        ends by signal N
//   stdin           status 0 when standard input is /dev/null at its end
//   fds             status = number of open descriptors above 2
//   session         status 0 when it leads a session of its own
//   env NAME [VALUE]  status 0 when the environment holds NAME (with VALUE, as its only value)
//   daemon PIDFILE [MS]  detaches a helper as the fault "daemon" does, which sleeps for a
//                   minute, then waits MS milliseconds
//   record FILE     writes its argument vector to FILE, one word a line
//   print TEXT      writes TEXT and a line end to its standard output, then to its error
//   sleep MS        sleeps MS milliseconds
#include "tests/support/calculator_text.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

extern char** environ;

namespace {

using test_support::ReadWhole;
using test_support::ToDouble;
using test_support::ToInt;
using test_support::ToText;
using test_support::Words;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

using Modifications = std::map<std::pair<int, int>, double>;

Modifications ReadModifications(const std::string& text) {
    Modifications modifications;
    const std::vector<std::string> lines = Lines(text);
    for (std::size_t k = 1; k < lines.size(); ++k) {
        const std::vector<std::string> words = Words(lines[k]);
        if (words.size() == 4) {
            modifications[{ToInt(words[1]), ToInt(words[2])}] = ToDouble(words[3]);
        }
    }
    return modifications;
}

double SafetyFactor(const std::string& model, const Modifications& modifications) {
    double factor = 0;
    for (const std::string& line : Lines(model)) {
        const std::vector<std::string> words = Words(line);
        if (words.size() == 2 && words[0] == "base") {
            factor += ToDouble(words[1]);
        } else if (words.size() == 5 && (words[0] == "term" || words[0] == "square")) {
            const auto found = modifications.find({ToInt(words[1]), ToInt(words[2])});
            const double value = found != modifications.end() ? found->second : ToDouble(words[4]);
            factor += ToDouble(words[3]) * value * (words[0] == "square" ? value : 1);
        }
    }
    return factor;
}

// Waits as the model's lines of the first word `key` ("pause", "linger") say.
void WaitAsTheModelSays(const std::string& model, const std::string& key) {
    for (const std::string& line : Lines(model)) {
        const std::vector<std::string> words = Words(line);
        if (words.size() == 2 && words[0] == key) {
            std::this_thread::sleep_for(std::chrono::milliseconds(ToInt(words[1])));
        }
    }
}

// The word after `key` on the model's line that starts with it.
std::string ModelSetting(const std::string& model, const std::string& key) {
    for (const std::string& line : Lines(model)) {
        const std::vector<std::string> words = Words(line);
        if (words.size() == 2 && words[0] == key) {
            return words[1];
        }
    }
    return "";
}

// The fault of a "fault-above" line whose limit the modification file's value exceeds, or "".
std::string FaultAbove(const std::string& model, const std::string& modification) {
    const Modifications modifications = ReadModifications(modification);
    for (const std::string& line : Lines(model)) {
        const std::vector<std::string> words = Words(line);
        if (words.size() != 5 || words[0] != "fault-above") {
            continue;
        }
        const auto found = modifications.find({ToInt(words[2]), ToInt(words[3])});
        if (found != modifications.end() && found->second > ToDouble(words[4])) {
            return words[1];
        }
    }
    return "";
}

// The fault the model names for this modification file, or "".
std::string FaultFor(const std::string& model, const std::string& modification) {
    if (std::string above = FaultAbove(model, modification); !above.empty()) {
        return above;
    }
    const std::vector<std::string> lines = Lines(modification);
    if (lines.size() != 2) {
        return "";
    }
    const std::vector<std::string> changed = Words(lines[1]);
    for (const std::string& line : Lines(model)) {
        const std::vector<std::string> words = Words(line);
        if (words.size() == 4 && words[0] == "fault" && changed.size() == 4 &&
            words[2] == changed[1] && words[3] == changed[2]) {
            return words[1];
        }
    }
    return "";
}

constexpr const char* RecordStart = "step 1 of the safety analysis\r\n1 0.5 0.25 ";

void WriteResult(const std::string& path, const std::string& factor) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << RecordStart << factor << " 7\r\n";
    for (int k = 0; k < 10; ++k) {
        file << "detail line " << k << "\r\n";
    }
    file << "1 2 3 4 5 6\r\n";
}

// The process id the system shows, which getpid() is not inside a PID namespace: /proc is the
// system's.
pid_t SystemPid() {
    char target[32] = {};
    const ssize_t length = readlink("/proc/self", target, sizeof target - 1);
    return length > 0 ? static_cast<pid_t>(ToInt(target)) : getpid();
}

void AppendPid(const std::string& pidfile) {
    std::ofstream(pidfile, std::ios::app) << SystemPid() << "\n";
}

// A planted result: 100 ms from now on, the result file replaced every 10 ms.
[[noreturn]] void KeepReplacing(const std::string& result) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    while (true) {
        WriteResult(result + ".new", "1.25");
        std::rename((result + ".new").c_str(), result.c_str());
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// The helper that a careless calculator leaves behind.
[[noreturn]] void KeepReplacing(const std::string& result, pid_t calculator) {
    std::signal(SIGTERM, SIG_IGN);
    while (getppid() == calculator) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    KeepReplacing(result);
}

// Replaces the result once `calculatorAlive`, a pipe only the calculator can write, reads its
// end.
[[noreturn]] void ReplaceOnceEnded(const std::string& result, int calculatorAlive) {
    char byte = 0;
    while (read(calculatorAlive, &byte, 1) != 0 && errno == EINTR) {
    }
    KeepReplacing(result);
}

// What a daemon runs: the program again, with an empty environment, or `run` in this process.
struct DaemonBody {
    std::vector<std::string> words; // the program's arguments when it starts again
    std::function<void(int calculatorAlive)> run;
};

[[noreturn]] void BecomeDaemonBody(const DaemonBody& body, int calculatorAlive) {
    if (body.words.empty()) {
        body.run(calculatorAlive);
        _exit(0);
    }
    std::vector<std::string> words = body.words;
    std::replace(words.begin(), words.end(), std::string("ALIVE"), std::to_string(calculatorAlive));
    std::vector<char*> arguments;
    for (std::string& word : words) {
        arguments.push_back(word.data());
    }
    arguments.push_back(nullptr);
    char* none[] = {nullptr};
    execve("/proc/self/exe", arguments.data(), none);
    _exit(127);
}

// Detaches a helper as a daemon does: a double fork and a session of its own, with SIGTERM,
// SIGHUP and SIGINT ignored. Returns once the helper has written its process id, its parent
// gone; the helper reads the end of this process on `calculatorAlive`.
void DetachDaemon(const std::string& pidfile, const DaemonBody& body) {
    int alive[2];
    int ready[2];
    if (pipe(alive) != 0 || pipe(ready) != 0) {
        std::exit(4);
    }
    const pid_t first = fork();
    if (first == 0) {
        setsid();
        if (fork() == 0) {
            ::close(alive[1]);
            ::close(ready[0]);
            for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
                std::signal(signal, SIG_IGN);
            }
            AppendPid(pidfile);
            ::close(ready[1]);
            BecomeDaemonBody(body, alive[0]);
        }
        _exit(0);
    }
    ::close(alive[0]);
    ::close(ready[1]);
    waitpid(first, nullptr, 0);
    char byte = 0;
    while (read(ready[0], &byte, 1) != 0 && errno == EINTR) {
    }
    ::close(ready[0]);
}

void LeaveHelper(const std::string& result, const std::string& pidfile, bool ownSession) {
    const pid_t calculator = getpid();
    const pid_t helper = fork();
    if (helper == 0) {
        if (ownSession) {
            setsid();
        } else {
            setpgid(0, 0);
        }
        AppendPid(pidfile);
        KeepReplacing(result, calculator);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
}

int Calculate(const std::string& projectPath) {
    const std::string folder = projectPath.substr(0, projectPath.size() - 3) + "dta/";
    std::string name = projectPath.substr(projectPath.find_last_of('/') + 1);
    name = name.substr(0, name.find_last_of('.'));
    std::string model = ReadWhole(folder + "model.txt");
    if (const std::string more = ModelSetting(model, "lines-from"); !more.empty()) {
        model += ReadWhole(more);
    }
    const std::string modification = ReadWhole(folder + name + ".mmt");
    if (const std::string counter = ModelSetting(model, "count"); !counter.empty()) {
        std::ofstream(counter, std::ios::app) << "run\n";
    }
    WaitAsTheModelSays(model, "pause");
    std::ofstream(folder + "history.txt", std::ios::binary | std::ios::app)
        << modification << "--\n";
    const std::string result = folder + name + ".hxx";
    const std::string fault = FaultFor(model, modification);
    if (model.find("\nchatty\n") != std::string::npos) {
        std::printf("calculating\n");
    }
    if (fault == "talk") {
        std::printf("set 5 read\n");
        std::fflush(stdout);
        std::fprintf(stderr, "unknown set 5\a\n");
        return 2;
    }
    if (fault == "hang-hard") {
        std::signal(SIGTERM, SIG_IGN);
    }
    if (fault.starts_with("hang")) {
        AppendPid(ModelSetting(model, "pidfile"));
        std::this_thread::sleep_for(std::chrono::minutes(1));
    }
    if (fault.starts_with("helper")) {
        WriteResult(result, ToText(SafetyFactor(model, ReadModifications(modification))));
        LeaveHelper(result, ModelSetting(model, "pidfile"), fault == "helper-session");
        return 0;
    }
    if (fault.starts_with("daemon")) {
        WriteResult(result, ToText(SafetyFactor(model, ReadModifications(modification))));
        DaemonBody body{{}, [&result](int alive) { ReplaceOnceEnded(result, alive); }};
        if (fault == "daemon-bare") {
            body.words = {"fake calculator", "replace", result, "ALIVE"};
        }
        DetachDaemon(ModelSetting(model, "pidfile"), body);
        WaitAsTheModelSays(model, "linger");
        return 0;
    }
    if (fault == "partial-kill") {
        WriteResult(result, "9.5");
        std::raise(SIGKILL);
    }
    if (fault == "append-partial") {
        std::ofstream(result, std::ios::binary | std::ios::app) << RecordStart;
        return 1;
    }
    if (fault == "missing") {
        std::remove(result.c_str());
    } else if (fault == "empty") {
        std::ofstream(result, std::ios::binary | std::ios::trunc);
    } else if (fault != "keep") {
        const double factor = SafetyFactor(model, ReadModifications(modification));
        const std::map<std::string, std::string> planted{
            {"junk", "1.2x"}, {"zero", "0"}, {"negative", "-0.5"}};
        const auto written = planted.find(fault);
        WriteResult(result, written != planted.end() ? written->second : ToText(factor));
        WaitAsTheModelSays(model, "linger");
    }
    if (fault.starts_with("exit-")) {
        return ToInt(fault.substr(5));
    }
    return 0;
}

bool StdinIsDevNullAtEnd() {
    struct stat input {};
    struct stat null {};
    char c;
    return fstat(0, &input) == 0 && stat("/dev/null", &null) == 0 &&
           input.st_rdev == null.st_rdev && S_ISCHR(input.st_mode) && read(0, &c, 1) == 0;
}

int OpenDescriptorsAboveStandard() {
    int count = 0;
    for (int fd = 3; fd < 4096; ++fd) {
        if (fcntl(fd, F_GETFD) != -1) {
            ++count;
        }
    }
    return count;
}

// With a value: the environment holds NAME once, with that value.
bool HoldsVariable(const std::string& name, const char* value) {
    int found = 0;
    bool equal = false;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view variable(*entry);
        if (variable.starts_with(name + "=")) {
            ++found;
            equal = value == nullptr || variable.substr(name.size() + 1) == value;
        }
    }
    return found == 1 && equal;
}

int RecordArguments(int argc, char** argv) {
    std::ofstream file(argv[2], std::ios::binary);
    for (int k = 0; k < argc; ++k) {
        file << argv[k] << '\n';
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    const std::string operand = argc > 2 ? argv[2] : "";
    if (mode == "exit") {
        return ToInt(operand);
    }
    if (mode == "signal") {
        std::signal(ToInt(operand), SIG_DFL);
        std::raise(ToInt(operand));
        return 0;
    }
    if (mode == "stdin") {
        return StdinIsDevNullAtEnd() ? 0 : 1;
    }
    if (mode == "fds") {
        return OpenDescriptorsAboveStandard();
    }
    if (mode == "session") {
        return getsid(0) == getpid() ? 0 : 1;
    }
    if (mode == "env") {
        return HoldsVariable(operand, argc > 3 ? argv[3] : nullptr) ? 0 : 1;
    }
    if (mode == "daemon" && argc > 2) {
        DetachDaemon(operand, {{}, [](int /*alive*/) {
                                   std::this_thread::sleep_for(std::chrono::minutes(1));
                               }});
        std::this_thread::sleep_for(std::chrono::milliseconds(argc > 3 ? ToInt(argv[3]) : 0));
        return 0;
    }
    if (mode == "replace" && argc > 3) {
        ReplaceOnceEnded(operand, ToInt(argv[3]));
    }
    if (mode == "record" && argc > 2) {
        return RecordArguments(argc, argv);
    }
    if (mode == "print") {
        std::printf("%s\n", operand.c_str());
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", operand.c_str());
        return 0;
    }
    if (mode == "sleep") {
        std::this_thread::sleep_for(std::chrono::milliseconds(ToInt(operand)));
        return 0;
    }
    if (mode.size() > 3) {
        return Calculate(mode);
    }
    return 2;
}

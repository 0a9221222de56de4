// Prints, for each reliability method on the layered example, the wall time with one run at a
// time and with N + 1 at once, the runs the method added and its beta.
//
//   methods_bench
#include "analysis/analysis_driver.h"
#include "project/project_file.h"
#include "project/project_state.h"
#include "tests/support/memory_log.h"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A copy of the layered example in a folder of its own, its settings pointing at slopecalc.
fs::path PrepareExample() {
    fs::path folder = fs::temp_directory_path() / ("zelmora-methods-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy(fs::path(ZELMORA_EXAMPLES) / "layered.plx", folder);
    fs::copy(fs::path(ZELMORA_EXAMPLES) / "layered.dta", folder / "layered.dta");
    return folder;
}

struct Measured {
    double seconds;
    zelmora::AnalysisRecord record;
};

Measured Analyse(const fs::path& folder, zelmora::Method method, int parallelRuns) {
    zelmora::ReadProjectFile(std::string(ZELMORA_EXAMPLES) + "/layered.zmo");
    zelmora::State.BatchPath = SLOPECALC_PROGRAM;
    zelmora::State.ProjectPath = (folder / "layered.plx").string();
    test_support::MemoryLog log;
    const std::unique_ptr<zelmora::ProcessSet> processes = zelmora::MakeChildProcesses();
    zelmora::AnalysisOptions options;
    options.parallelRuns = parallelRuns;
    options.method = method;
    Measured measured{};
    const auto start = std::chrono::steady_clock::now();
    zelmora::RunAnalysis(log, *processes, options, measured.record);
    measured.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return measured;
}

} // namespace

int main() {
    const fs::path folder = PrepareExample();
    std::printf("%-12s %6s %6s %10s %12s %8s\n", "method", "runs", "added", "1 at once",
                "N+1 at once", "beta");
    for (const zelmora::Method method :
         {zelmora::Method::FirstOrder, zelmora::Method::Taylor, zelmora::Method::Form}) {
        const Measured serial = Analyse(folder, method, 1);
        const int variables = zelmora::State.VariableCount;
        const Measured parallel = Analyse(folder, method, variables + 1);
        const int added = serial.record.method ? serial.record.method->runs : 0;
        const double beta = serial.record.method && serial.record.method->beta
                                ? *serial.record.method->beta
                                : zelmora::State.Beta;
        std::printf("%-12s %6d %6d %9.3fs %11.3fs %8.4f\n", zelmora::MethodName(method).c_str(),
                    variables + 3 + added, added, serial.seconds, parallel.seconds, beta);
    }
    fs::remove_all(folder);
    return 0;
}

// Prints, for each reliability method on the layered example, the wall time with one run at a
// time and with N + 1 at once, the runs the method added and its beta; then, for each sampling
// check run to a CoV of 0.1, the samples it needed and the wall time with 1 and 8 at once.
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
#include <utility>

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

Measured Analyse(const fs::path& folder, zelmora::Method method, int parallelRuns,
                 const zelmora::SamplingSettings& sampling = {}) {
    zelmora::ReadProjectFile(std::string(ZELMORA_EXAMPLES) + "/layered.zmo");
    zelmora::State.BatchPath = SLOPECALC_PROGRAM;
    zelmora::State.ProjectPath = (folder / "layered.plx").string();
    test_support::MemoryLog log;
    const std::unique_ptr<zelmora::ProcessSet> processes = zelmora::MakeChildProcesses();
    zelmora::AnalysisOptions options;
    options.parallelRuns = parallelRuns;
    options.method = method;
    options.sampling = sampling;
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
    std::printf("\n%-12s %-12s %8s %6s %10s %10s %12s %8s\n", "check", "after", "samples", "runs",
                "1 at once", "8 at once", "probability", "cov");
    for (const auto& [kind, method] :
         {std::pair{zelmora::SamplingKind::Importance, zelmora::Method::Form},
          std::pair{zelmora::SamplingKind::MonteCarlo, zelmora::Method::FirstOrder}}) {
        const zelmora::SamplingSettings sampling{kind, zelmora::MostSamples, 0.1, 1};
        const Measured serial = Analyse(folder, method, 1, sampling);
        const Measured parallel = Analyse(folder, method, 8, sampling);
        const zelmora::SamplingResult& result = *serial.record.sampling;
        std::printf("%-12s %-12s %8d %6d %9.3fs %9.3fs %12.4e %8.4f\n",
                    zelmora::SamplingKindName(kind).c_str(), zelmora::MethodName(method).c_str(),
                    result.samples, result.samples - result.inadmissible, serial.seconds,
                    parallel.seconds, result.probability, result.cov.value_or(0));
    }
    fs::remove_all(folder);
    return 0;
}

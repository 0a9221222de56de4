// Prints the wall time of one analysis of 20 random variables (23 runs) for 1, 4 and 23 runs
// at once, with a calculator that sleeps 0.5 s per run and answers deterministically; the
// speed-ups over one run at a time; and each time as a multiple of one run, against its target.
//
//   parallel_analysis [folder]
//
// The project lies in a new folder inside `folder` (default: the temporary folder), and so do
// the runs' copies: their creation and removal count, so measure on the file system that
// matters.
#include "analysis/analysis_driver.h"
#include "project/project_state.h"
#include "tests/support/memory_log.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numeric>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int RunCount = 23;

// Ten soil rows with both standard deviations above 0: twenty random variables. The
// calculator's factor is linear in each row's friction sine and cohesion.
void PrepareProject(const std::filesystem::path& folder) {
    using zelmora::State;
    std::filesystem::create_directories(folder / "bench.dta");
    std::ofstream(folder / "bench.plx") << "model\n";
    std::ofstream model(folder / "bench.dta" / "model.txt");
    model << "pause 500\nbase -10.5\n";
    for (int row = 1; row <= zelmora::SoilRowCount; ++row) {
        zelmora::Row(State, row) = {row, 30.0, 3.0, 10.0, 2.0};
        model << "term " << row << " 3 1.2 0.5\n";
        model << "term " << row << " 4 0.06 10\n";
    }
    State.BatchPath = PARALLEL_ANALYSIS_CALCULATOR;
    State.ProjectPath = (folder / "bench.plx").string();
    State.ProjectName = "bench";
    State.StepSize = 1.0;
}

struct Timing {
    double seconds;
    double meanRunSeconds; // of the calculator, as the analysis measured it
    double beta;
};

Timing Analyse(int parallelRuns) {
    test_support::MemoryLog log;
    const std::unique_ptr<zelmora::ProcessSet> processes = zelmora::MakeChildProcesses();
    zelmora::AnalysisOptions options;
    options.parallelRuns = parallelRuns;
    zelmora::AnalysisRecord record;
    const Clock::time_point start = Clock::now();
    zelmora::RunAnalysis(log, *processes, options, record);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double runSeconds = std::accumulate(
        record.outcomes.begin(), record.outcomes.end(), 0.0,
        [](double sum, const zelmora::RunOutcome& run) { return sum + run.seconds; });
    return {seconds, runSeconds / static_cast<double>(record.outcomes.size()), zelmora::State.Beta};
}

void Report(int parallelRuns, const Timing& timing, const Timing& oneAtATime,
            std::optional<double> target) {
    const double runs = timing.seconds / oneAtATime.meanRunSeconds;
    std::printf("k = %2d: %6.3f s  speed-up %5.2f  %5.2f runs  (calculator %.3f s a run)",
                parallelRuns, timing.seconds, oneAtATime.seconds / timing.seconds, runs,
                timing.meanRunSeconds);
    if (target) {
        std::printf(" (target <= %.2f%s)", *target, runs <= *target ? "" : ", MISSED");
    }
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    const std::filesystem::path parent =
        argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path();
    const std::filesystem::path folder =
        parent / ("zelmora-parallel-analysis-" + std::to_string(getpid()));
    PrepareProject(folder);
    Timing one{};
    Timing four{};
    Timing all{};
    try {
        one = Analyse(1);
        four = Analyse(4);
        all = Analyse(RunCount);
    } catch (const std::exception& error) {
        std::filesystem::remove_all(folder);
        std::fprintf(stderr, "the analysis failed: %s\n", error.what());
        return 1;
    }
    std::filesystem::remove_all(folder);

    std::printf("runs: %d, one run (mean calculator time at k = 1): %.3f s\n", RunCount,
                one.meanRunSeconds);
    Report(1, one, one, std::nullopt);
    Report(4, four, one, 1.1 * std::ceil(RunCount / 4.0));
    Report(RunCount, all, one, 1.3);
    if (four.beta != one.beta || all.beta != one.beta) {
        std::fprintf(stderr, "the analyses disagree: beta %.17g, %.17g, %.17g\n", one.beta,
                     four.beta, all.beta);
        return 1;
    }
    std::printf("beta %.6f for every k\n", one.beta);
    return 0;
}

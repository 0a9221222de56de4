// Prints, for each reliability method on the layered example, the wall time with one run at a
// time and with N + 1 at once, the runs the method added and its beta; then, for each sampling
// check run to a CoV of 0.1, the samples it needed and the wall time with 1 and 8 at once, the
// surrogate beside them (its population as the samples, its own runs as the runs); then the
// runs and probability of importance sampling, Monte Carlo and the surrogate on a two-mechanism
// model whose calculator costs nothing, with the surrogate's own time per round.
//
//   methods_bench
#include "analysis/analysis_driver.h"
#include "analysis/methods/exact_normal_tail.h"
#include "analysis/methods/sampling_estimate.h"
#include "analysis/methods/standard_normal_draws.h"
#include "analysis/surrogate/active_learning.h"
#include "project/project_file.h"
#include "project/project_state.h"
#include "tests/support/memory_log.h"

#include <algorithm>
#include <chrono>
#include <cmath>
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

// The smaller of two linear factors on disjoint strengths, each with β = 2.45.
double TwoMechanisms(const std::vector<double>& u) {
    const double a = 1 + 0.12 * (2.45 + (u[0] + u[1]) / std::sqrt(2.0));
    const double b = 1 + 0.08 * (2.45 + (2 * u[2] + u[3]) / std::sqrt(5.0));
    return std::min(a, b);
}

// The sampling check's rule on the two-mechanism factor, which costs nothing to evaluate:
// u ~ N(centre, I) weighed by φ(u) / φ(u − centre), judged every 20 samples until the CoV is
// 0.1 with at least 10 failures. Centred at the first mechanism's design point, as importance
// sampling after FORM is, it does not see the second.
void SampleTwoMechanisms(const char* name, const std::vector<double>& centre, double exact) {
    zelmora::StandardNormalDraws draws(1);
    zelmora::SamplingEstimate estimate(!centre.empty());
    double centreSquared = 0;
    for (const double c : centre) {
        centreSquared += c * c;
    }
    while (true) {
        std::vector<double> u = draws.Next(4);
        double across = 0;
        for (std::size_t k = 0; k < centre.size(); ++k) {
            u[k] += centre[k];
            across += u[k] * centre[k];
        }
        estimate.Add(std::exp(centreSquared / 2 - across), TwoMechanisms(u) < 1, false);
        const std::optional<double> cov = estimate.Cov();
        if (estimate.Samples() % 20 == 0 && cov && *cov <= 0.1 && estimate.Failures() >= 10) {
            break;
        }
    }
    std::printf("two mechanisms (exact %.4e): %-12s %6d runs, probability %.4e\n", exact, name,
                estimate.Samples(), estimate.Probability());
}

void SurrogateTimePerRound() {
    zelmora::SurrogateProblem problem;
    problem.dimension = 4;
    problem.methodRuns.push_back({std::vector<double>(4, 0.0), TwoMechanisms({0, 0, 0, 0})});
    problem.methodRuns.push_back({std::vector<double>(4, -1.0), TwoMechanisms({-1, -1, -1, -1})});
    problem.calculator = [](const std::vector<std::vector<double>>& points) {
        std::vector<zelmora::PointRun> runs;
        for (const auto& u : points) {
            runs.push_back({u, TwoMechanisms(u), {}, true});
        }
        return runs;
    };
    zelmora::SamplingSettings settings;
    settings.kind = zelmora::SamplingKind::Surrogate;
    settings.targetCov = 0.03;
    const auto start = std::chrono::steady_clock::now();
    const zelmora::SamplingResult result = zelmora::LearnProbabilityOfFailure(problem, settings);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double pA = zelmora::NormalTail(2.45);
    const double exact = 1 - (1 - pA) * (1 - pA);
    std::printf("\n");
    SampleTwoMechanisms("importance", {-2.45 / std::sqrt(2.0), -2.45 / std::sqrt(2.0), 0, 0},
                        exact);
    SampleTwoMechanisms("monte-carlo", {}, exact);
    std::printf("two mechanisms (exact %.4e): %-12s %6d runs of its own and 2 of the method, "
                "probability %.4e, %d rounds, population %d, %.3fs per round\n",
                exact, "surrogate", result.surrogate->runs, result.probability,
                result.surrogate->rounds, result.surrogate->population,
                seconds / result.surrogate->rounds);
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
          std::pair{zelmora::SamplingKind::MonteCarlo, zelmora::Method::FirstOrder},
          std::pair{zelmora::SamplingKind::Surrogate, zelmora::Method::Form},
          std::pair{zelmora::SamplingKind::Surrogate, zelmora::Method::FirstOrder}}) {
        const zelmora::SamplingSettings sampling{kind, zelmora::MostSamples, 0.1, 1};
        const Measured serial = Analyse(folder, method, 1, sampling);
        const Measured parallel = Analyse(folder, method, 8, sampling);
        const zelmora::SamplingResult& result = *serial.record.sampling;
        const int runs =
            result.surrogate ? result.surrogate->runs : result.samples - result.inadmissible;
        std::printf("%-12s %-12s %8d %6d %9.3fs %9.3fs %12.4e %8.4f\n",
                    zelmora::SamplingKindName(kind).c_str(), zelmora::MethodName(method).c_str(),
                    result.samples, runs, serial.seconds, parallel.seconds, result.probability,
                    result.cov.value_or(0));
    }
    fs::remove_all(folder);
    SurrogateTimePerRound();
    return 0;
}

#pragma once

// The reliability arithmetic as the first-order log, the derived results, Taylor series and the
// correlated β each computed it on its own before they shared FirstOrderResult, copied here
// unchanged but for their inputs: the grid below holds the shared code to the very bits these
// gave.
#include "analysis/coupling/analysis_inputs.h"
#include "analysis/methods/correlated_beta.h"
#include "analysis/methods/correlation_matrix.h"
#include "analysis/methods/derived_results.h"
#include "analysis/methods/exact_normal_tail.h"
#include "analysis/methods/first_order_evaluation.h"
#include "analysis/methods/first_order_result.h"
#include "project/errors.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace zelmora::earlier {

// The first-order log: each sensitivity, then β.
struct LogResult {
    std::vector<double> sensitivities;
    double beta = 0;
};

inline LogResult FirstOrderLog(double mean, const std::vector<double>& reduced, double step) {
    LogResult result;
    double squares = 0;
    for (const double factor : reduced) {
        const double sensitivity =
            NarrowToDouble(CheckedDivide(static_cast<long double>(mean) - factor, step));
        result.sensitivities.push_back(sensitivity);
        squares = NarrowToDouble(static_cast<long double>(squares) +
                                 static_cast<long double>(sensitivity) * sensitivity);
    }
    const double root = NarrowToDouble(sqrtl(squares));
    result.beta = NarrowToDouble(CheckedDivide(static_cast<long double>(mean) - 1.0L, root));
    return result;
}

// The derived results: sensitivities, shares, σ_F, V and β_LN.
struct Derived {
    std::vector<double> sensitivities;
    std::vector<double> shares;
    std::optional<double> sigmaF;
    std::optional<double> covF;
    std::optional<double> betaLognormal;
};

inline Derived DerivedResults(double mean, const std::vector<double>& reduced, double step) {
    Derived result;
    for (const double factor : reduced) {
        result.sensitivities.push_back(
            NarrowToDouble((static_cast<long double>(mean) - factor) / step));
    }
    double squares = 0;
    for (const double s : result.sensitivities) {
        squares =
            NarrowToDouble(static_cast<long double>(squares) + static_cast<long double>(s) * s);
    }
    if (squares == 0) {
        return result;
    }
    for (const double s : result.sensitivities) {
        result.shares.push_back(NarrowToDouble(static_cast<long double>(s) * s / squares));
    }
    result.sigmaF = NarrowToDouble(std::sqrt(static_cast<long double>(squares)));
    result.covF = NarrowToDouble(static_cast<long double>(*result.sigmaF) / mean);
    if (mean > 0) {
        result.betaLognormal = LognormalBeta(mean, *result.covF);
    }
    return result;
}

// Taylor series from its central sensitivities: β, shares and β_LN.
struct Taylor {
    std::optional<double> beta;
    std::vector<double> shares;
    std::optional<double> betaLognormal;
};

inline Taylor TaylorReliability(double meanFactor, const std::vector<double>& sensitivities,
                                const Matrix* correlation) {
    Taylor result;
    double squares = 0;
    for (const double s : sensitivities) {
        squares += s * s;
    }
    const double variance = correlation ? CorrelatedVariance(sensitivities, *correlation) : squares;
    if (squares <= 0 || variance <= 0) {
        return result;
    }
    const double sigma = NarrowToDouble(std::sqrt(static_cast<long double>(variance)));
    result.beta = NarrowToDouble((static_cast<long double>(meanFactor) - 1) / sigma);
    if (meanFactor > 0) {
        result.betaLognormal = LognormalBeta(meanFactor, sigma / meanFactor);
    }
    for (const double s : sensitivities) {
        result.shares.push_back(s * s / squares);
    }
    return result;
}

// First order's β with correlations.
inline std::optional<double> CorrelatedBeta(double meanFactor,
                                            const std::vector<double>& sensitivities,
                                            const Matrix& correlation) {
    const double variance = CorrelatedVariance(sensitivities, correlation);
    if (variance <= 0) {
        return std::nullopt;
    }
    return NarrowToDouble((static_cast<long double>(meanFactor) - 1) /
                          std::sqrt(static_cast<long double>(variance)));
}

// A grid of analyses of two random variables, the cohesions of rows 1 and 2: the mean-value
// factor, each lowered run's factor as an offset below it, and for Taylor each raised run's.
struct Grid {
    double meanFrom = 0.6;
    double meanTo = 3.0;
    double offsetFrom = -0.2;
    double offsetTo = 0.6;
    double spacing = 0.01;
    std::vector<double> steps{1.0, 0.5};
    double rho = -0.5;
};

struct Comparison {
    std::uint64_t values = 0; // the values compared
    std::uint64_t differ = 0; // of those, the ones that are not the same bits
    std::uint64_t analyses = 0;
};

inline bool SameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

inline void Compare(Comparison& c, double before, double now) {
    ++c.values;
    c.differ += SameBits(before, now) ? 0 : 1;
}

inline void Compare(Comparison& c, const std::optional<double>& before,
                    const std::optional<double>& now) {
    if (before.has_value() != now.has_value()) {
        ++c.values;
        ++c.differ;
    } else if (before) {
        Compare(c, *before, *now);
    }
}

inline void Compare(Comparison& c, const std::vector<double>& before,
                    const std::vector<double>& now) {
    if (before.size() != now.size()) {
        ++c.values;
        ++c.differ;
        return;
    }
    for (std::size_t k = 0; k < before.size(); ++k) {
        Compare(c, before[k], now[k]);
    }
}

class DiscardedLog : public CalculationLog {
public:
    void Show() override {}
    int LineCount() const override { return 0; }
    void DeleteLine(int) override {}
    void AppendLine(const std::string&) override {}
    void SetProbabilityLabel(const std::string&) override {}
};

// The first-order evaluation of the runs up to β with these factors: standard and mean values
// `mean`, the variables' runs `reduced`.
inline StoredResults Evaluated(const AnalysisInputs& inputs, double mean,
                               const std::vector<double>& reduced) {
    DiscardedLog log;
    StoredResults results;
    std::vector<RunOutcome> applied;
    FirstOrderEvaluation evaluation(log, inputs, results, applied);
    const std::vector<std::pair<int, double>> runs{
        {-1, mean}, {0, mean}, {1, reduced[0]}, {2, reduced[1]}};
    for (const auto& [runId, factor] : runs) {
        RunOutcome outcome;
        outcome.runId = runId;
        outcome.started = true;
        outcome.exitStatus = 0;
        outcome.resultRewritten = true;
        outcome.safetyFactor = factor;
        evaluation.Apply(outcome);
    }
    return results;
}

// Compares, at every point of the grid, the earlier arithmetic with the shared one as the
// analysis now calls it: the log's sensitivities and β through FirstOrderEvaluation;
// DeriveResults' sensitivities, shares,
// σ_F, V and β_LN; Taylor's β, shares and β_LN with and without correlations; first order's β
// with correlations through FirstOrderCorrelated.
inline Comparison CompareOnGrid(const Grid& grid) {
    Comparison c;
    AnalysisInputs inputs;
    inputs.soil[0] = {1, 30, 0, 10, 2};
    inputs.soil[1] = {2, 25, 0, 16, 6};
    inputs.variables = {11, 12};
    const Matrix correlation{{1, grid.rho}, {grid.rho, 1}};
    const std::vector<CorrelationInUse> pairs{{11, 12, grid.rho, grid.rho}};
    const auto count = [&grid](double from, double to) {
        return static_cast<int>(std::lround((to - from) / grid.spacing)) + 1;
    };
    for (const double step : grid.steps) {
        inputs.stepSize = step;
        for (int i = 0; i < count(grid.meanFrom, grid.meanTo); ++i) {
            const double mean = grid.meanFrom + i * grid.spacing;
            for (int j = 0; j < count(grid.offsetFrom, grid.offsetTo); ++j) {
                for (int k = 0; k < count(grid.offsetFrom, grid.offsetTo); ++k) {
                    const std::vector<double> reduced{mean - (grid.offsetFrom + j * grid.spacing),
                                                      mean - (grid.offsetFrom + k * grid.spacing)};
                    // A factor of 0 or below fails its run now: it never reaches the arithmetic.
                    if (!(reduced[0] > 0 && reduced[1] > 0)) {
                        continue;
                    }
                    ++c.analyses;
                    StoredResults stored;
                    Entry(stored.safetyFactors, 0) = mean;
                    Entry(stored.safetyFactors, 11) = reduced[0];
                    Entry(stored.safetyFactors, 12) = reduced[1];
                    const Derived before = DerivedResults(mean, reduced, step);
                    const zelmora::DerivedResults now = DeriveResults(inputs, stored);
                    std::vector<double> sensitivities;
                    std::vector<double> shares;
                    for (const VariableResult& v : now.variables) {
                        sensitivities.push_back(v.sensitivity.value_or(-99));
                        if (v.share) {
                            shares.push_back(*v.share);
                        }
                    }
                    Compare(c, before.sensitivities, sensitivities);
                    Compare(c, before.shares, shares);
                    Compare(c, before.sigmaF, now.sigmaF);
                    Compare(c, before.covF, now.covF);
                    Compare(c, before.betaLognormal, now.betaLognormal);
                    if (!before.sigmaF) {
                        continue;
                    }
                    const LogResult log = FirstOrderLog(mean, reduced, step);
                    const StoredResults evaluated = Evaluated(inputs, mean, reduced);
                    Compare(
                        c, log.sensitivities,
                        {Entry(evaluated.sensitivities, 11), Entry(evaluated.sensitivities, 12)});
                    Compare(c, log.beta, evaluated.beta);
                    const std::optional<CorrelatedReliability> correlated =
                        FirstOrderCorrelated(now, pairs);
                    Compare(c, CorrelatedBeta(mean, sensitivities, correlation),
                            correlated ? std::optional(correlated->beta) : std::nullopt);
                    // Taylor's central sensitivities, here the first-order ones scaled apart.
                    const std::vector<double> central{sensitivities[0] * 0.75,
                                                      sensitivities[1] * 1.25};
                    for (const Matrix* rho : {static_cast<const Matrix*>(nullptr), &correlation}) {
                        const Taylor taylor = TaylorReliability(mean, central, rho);
                        const FirstOrderResult shared =
                            FirstOrderResultOf(mean, central, Precision::Double, rho);
                        Compare(c, taylor.beta, shared.Beta());
                        Compare(c, taylor.shares, shared.shares);
                        Compare(c, taylor.betaLognormal, shared.betaLognormal);
                    }
                }
            }
        }
    }
    return c;
}

} // namespace zelmora::earlier

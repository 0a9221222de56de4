#include "report/tables/reliability_summary.h"

#include "analysis/methods/approximate_tail_probability.h"
#include "report/tables/result_text.h"

namespace zelmora {

std::vector<SummaryLine> ReliabilitySummary(const DerivedResults& results, double storedBeta,
                                            ProbabilityForm probability) {
    return {
        {"Beta", "β:", FixedText(storedBeta)},
        {"Probability",
         "Probability of failure (approximation):", probability(TailProbability(storedBeta))},
        {"ExactProbability",
         "Probability of failure, normal Φ(−β):", probability(results.exactProbability)},
        {"BetaLognormal",
         "β for a lognormal safety factor, β_LN:", FixedText(results.betaLognormal)},
        {"LognormalProbability",
         "Probability of failure, lognormal Φ(−β_LN):", probability(results.lognormalProbability)},
        {"SigmaF", "Standard deviation of the safety factor σ_F:", FixedText(results.sigmaF)},
        {"Cov", "Coefficient of variation V = σ_F / F_mean:", FixedText(results.covF)},
        {"Linearity", "Linearity (1 = perfect):", FixedText(results.linearity)},
    };
}

} // namespace zelmora

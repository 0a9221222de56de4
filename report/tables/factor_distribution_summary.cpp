#include "report/tables/factor_distribution_summary.h"

#include "project/number_forms.h"
#include "report/factor_statistics.h"

namespace zelmora {

const char* const FactorDistributionHeading = "Distribution of the safety factor";

namespace {

std::string WeightsText(const SamplingResult& result) {
    if (result.surrogate) {
        return "the surrogate's predictions, in bins of 0.001";
    }
    return result.kind == SamplingKind::Importance ? "the importance sampling weights"
                                                   : "equal weights";
}

} // namespace

std::vector<SummaryLine> FactorDistributionSummary(const SamplingResult& result) {
    const std::vector<std::array<double, 2>>& factors = DistributedFactors(result);
    if (factors.empty()) {
        return {};
    }
    const FactorStatistics statistics = FactorStatisticsOf(factors);
    int count = static_cast<int>(factors.size());
    if (result.surrogate) {
        count = 0;
        for (const auto& bin : factors) {
            count += static_cast<int>(bin[1]);
        }
    }
    std::vector<SummaryLine> lines = {
        {"samples", result.surrogate ? "Population points predicted:" : "Samples with a factor:",
         FormatInteger(count, 0)},
        {"weights", "Weighted by:", WeightsText(result)},
        {"mean", "Mean of F:", FormatFixed(statistics.mean, 0, 4)},
        {"sigma", "σ of F:", FormatFixed(statistics.sigma, 0, 4)},
        {"quantile5", "5 % quantile of F:", FormatFixed(statistics.quantile5, 0, 4)},
    };
    // Such samples are the likelier to fail: the distribution without them leans to safe.
    if (const int without = result.samples - count; without > 0) {
        lines.push_back({"without_factor",
                         result.surrogate ? "Population points without a prediction:"
                                          : "Samples without a factor:",
                         FormatInteger(without, 0) +
                             (result.surrogate ? " (strengths the calculator cannot take)"
                                               : " (not run or failed)") +
                             ", not included"});
    }
    return lines;
}

} // namespace zelmora

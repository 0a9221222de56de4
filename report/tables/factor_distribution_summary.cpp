#include "report/tables/factor_distribution_summary.h"

#include "project/number_forms.h"
#include "report/factor_statistics.h"

namespace zelmora {

const char* const FactorDistributionHeading = "Distribution of the safety factor";

std::vector<SummaryLine> FactorDistributionSummary(const SamplingResult& result) {
    if (result.sampledFactors.empty()) {
        return {};
    }
    const FactorStatistics statistics = FactorStatisticsOf(result.sampledFactors);
    const auto count = static_cast<int>(result.sampledFactors.size());
    std::vector<SummaryLine> lines = {
        {"samples", "Samples with a factor:", FormatInteger(count, 0)},
        {"weights", "Weighted by:",
         result.kind == SamplingKind::Importance ? "the importance sampling weights"
                                                 : "equal weights"},
        {"mean", "Mean of F:", FormatFixed(statistics.mean, 0, 4)},
        {"sigma", "σ of F:", FormatFixed(statistics.sigma, 0, 4)},
        {"quantile5", "5 % quantile of F:", FormatFixed(statistics.quantile5, 0, 4)},
    };
    // Such samples are the likelier to fail: the distribution without them leans to safe.
    if (const int without = result.samples - count; without > 0) {
        lines.push_back({"without_factor", "Samples without a factor:",
                         FormatInteger(without, 0) + " (not run or failed), not included"});
    }
    return lines;
}

} // namespace zelmora

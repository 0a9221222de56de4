#include "report/tables/correlation_summary.h"

#include "analysis/methods/correlated_beta.h"
#include "analysis/methods/random_variables.h"
#include "project/number_forms.h"
#include "report/tables/result_text.h"

namespace zelmora {

namespace {

std::string StrengthText(const SoilRows& soil, int id) {
    const RandomVariable v = VariableOf(soil, id);
    return std::string(v.friction ? "φ" : "c") + ", row " + FormatInteger(v.row, 0) + " (set " +
           FormatInteger(v.setNumber, 0) + ")";
}

} // namespace

TextTable CorrelationTable(const std::vector<CorrelationInUse>& pairs, const SoilRows& soil) {
    TextTable table{{"Strength", "Strength", "ρ", "ρ′ of the normal variables"}, {}};
    for (const CorrelationInUse& pair : pairs) {
        table.rows.push_back({StrengthText(soil, pair.a), StrengthText(soil, pair.b),
                              FixedText(pair.rho), FixedText(pair.rhoNormal)});
    }
    return table;
}

std::vector<SummaryLine> CorrelatedSummary(const DerivedResults& results,
                                           const std::vector<CorrelationInUse>& pairs,
                                           ProbabilityForm probability) {
    const std::optional<CorrelatedReliability> correlated = FirstOrderCorrelated(results, pairs);
    return {
        {"BetaCorrelated", "β with correlations:",
         FixedText(correlated ? std::optional<double>(correlated->beta) : std::nullopt)},
        {"ProbabilityCorrelated", "Probability of failure with correlations, normal Φ(−β):",
         probability(correlated ? std::optional<double>(correlated->probability) : std::nullopt)}};
}

} // namespace zelmora

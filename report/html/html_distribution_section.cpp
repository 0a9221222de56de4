#include "report/html/html_distribution_section.h"

#include "report/charts/factor_distribution_chart.h"
#include "report/html/html_table.h"
#include "report/markup_escape.h"
#include "report/tables/factor_distribution_summary.h"

namespace zelmora {

std::string DistributionSectionHtml(const AnalysisRecord* record) {
    if (!record || !record->sampling || DistributedFactors(*record->sampling).empty()) {
        return "";
    }
    const SamplingResult& result = *record->sampling;
    return "<h2>" + EscapeMarkup(FactorDistributionHeading) + "</h2>\n" +
           FactsTable(FactorDistributionSummary(result), "n") + FactorDistributionChartSvg(result);
}

} // namespace zelmora

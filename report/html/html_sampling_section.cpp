#include "report/html/html_sampling_section.h"

#include "analysis/methods/sampling_method.h"
#include "report/charts/learning_chart.h"
#include "report/charts/leave_one_out_chart.h"
#include "report/charts/sampling_chart.h"
#include "report/html/html_table.h"
#include "report/markup_escape.h"
#include "report/tables/sampling_summary.h"

namespace zelmora {

std::string SamplingSectionHtml(const AnalysisRecord* record) {
    if (!record || !record->sampling) {
        return "";
    }
    const SamplingResult& result = *record->sampling;
    std::string html = "<h2>" + EscapeMarkup(SamplingHeading(result)) + "</h2>\n";
    if (result.failedRunsDecide) {
        html += R"(<p class="note">)" + EscapeMarkup(FailedRunsDecideText()) + "</p>\n";
    }
    html += FactsTable(SamplingSummary(result, record->method, DecimalProbabilityText), "n");
    // The size of the surrogate's population says nothing of how it learned.
    if (result.surrogate) {
        return html + LearningChartSvg(result) + LeaveOneOutChartSvg(result);
    }
    return html + SamplingChartSvg(result);
}

} // namespace zelmora

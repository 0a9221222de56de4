#include "report/html/html_method_section.h"

#include "report/charts/iteration_chart.h"
#include "report/html/html_table.h"
#include "report/markup_escape.h"
#include "report/tables/method_summary.h"

namespace zelmora {

std::string MethodSectionHtml(const AnalysisRecord* record, const SoilRows& soil) {
    if (!record || !record->method || record->method->method == Method::FirstOrder) {
        return "";
    }
    const MethodResult& method = *record->method;
    std::string html = "<h2>" + EscapeMarkup(MethodHeading(method)) + "</h2>\n" +
                       (method.converged ? "<p>" : R"(<p class="note">)") +
                       EscapeMarkup(MethodNote(method)) + "</p>\n" +
                       FactsTable(MethodSummary(method, DecimalProbabilityText), "n") +
                       HtmlTable(MethodTable(method, soil), MethodTableNumeric(method));
    if (method.method == Method::Form) {
        html += IterationChartSvg(method);
    }
    return html;
}

} // namespace zelmora

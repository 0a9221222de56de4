#include "analysis/method_section.h"

#include "analysis/html_table.h"
#include "analysis/iteration_chart.h"
#include "analysis/markup_escape.h"
#include "analysis/method_summary.h"

namespace zelmora {

std::string MethodSectionHtml(const AnalysisRecord* record) {
    if (!record || !record->method || record->method->method == Method::FirstOrder) {
        return "";
    }
    const MethodResult& method = *record->method;
    std::string html = "<h2>" + EscapeMarkup(MethodHeading(method)) + "</h2>\n" +
                       (method.converged ? "<p>" : R"(<p class="note">)") +
                       EscapeMarkup(MethodNote(method)) + "</p>\n" +
                       FactsTable(MethodSummary(method), "n") +
                       HtmlTable(MethodTable(method), MethodTableNumeric(method));
    if (method.method == Method::Form) {
        html += IterationChartSvg(method);
    }
    return html;
}

} // namespace zelmora

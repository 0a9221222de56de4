#include "report/html/html_summary.h"

#include "project/value_text.h"
#include "report/html/html_table.h"
#include "report/html/performance_level.h"
#include "report/markup_escape.h"
#include "report/tables/result_text.h"

namespace zelmora {

namespace {

std::string Marked(const MethodsThatRan& ran, std::size_t k) {
    if (ran.reliedOn != k) {
        return ran.methods[k].remark;
    }
    return ran.relied->upperBound
               ? "relied on, as an upper bound: " + DecimalProbabilityText(ran.relied->probability)
               : "relied on";
}

std::string MethodsTable(const MethodsThatRan& ran) {
    TextTable table{{"Method", "β", "Probability of failure", ""}, {}};
    for (std::size_t k = 0; k < ran.methods.size(); ++k) {
        const MethodThatRan& method = ran.methods[k];
        const std::string probability = DecimalProbabilityText(method.probability);
        table.rows.push_back({method.name, FixedText(method.beta),
                              method.probabilityNote.empty()
                                  ? probability
                                  : probability + " (" + method.probabilityNote + ")",
                              Marked(ran, k)});
    }
    return HtmlTable(table, {false, true, true, false});
}

std::string Paragraph(const std::string& text) {
    return text.empty() ? "" : "<p>" + EscapeMarkup(text) + "</p>\n";
}

std::string Level(const MethodsThatRan& ran) {
    if (!ran.reliedOn) {
        return "";
    }
    const double beta = ran.relied->beta;
    return "<p>Expected performance level: <strong>" + EscapeMarkup(PerformanceLevel(beta)) +
           "</strong> (" + EscapeMarkup(PerformanceLevelSource) + ").</p>\n";
}

} // namespace

std::string Verdict(const MethodsThatRan& ran, double targetBeta) {
    const std::string target = "the target β of " + FixedText(targetBeta);
    if (!ran.reliedOn) {
        return "No method found a β to rely on, so " + target + " is not judged.";
    }
    const MethodThatRan& method = ran.methods[*ran.reliedOn];
    const bool meets = ran.relied->beta >= targetBeta;
    return "The β relied on, " + FixedText(ran.relied->beta) + " by " + method.name + ", " +
           (meets ? "meets " : "falls short of ") + target + ".";
}

std::string ReliedOnWhy(const MethodsThatRan& ran) {
    return ran.relied ? ran.relied->why : "";
}

std::string SummaryHtml(const MethodsThatRan& ran, double targetBeta) {
    return "<h2>Summary</h2>\n" + MethodsTable(ran) + "<p><strong>Target β " +
           FixedText(targetBeta) + "</strong></p>\n<p class=\"verdict\">" +
           EscapeMarkup(Verdict(ran, targetBeta)) + "</p>\n" + Paragraph(ReliedOnWhy(ran)) +
           Paragraph(ran.formDisagreement) + Level(ran);
}

} // namespace zelmora

// The first page's summary read from the analysis JSON: which method is relied on, its verdict
// against the target and its performance level.
#include "report/html_summary.h"
#include "report/methods_that_ran.h"
#include "report/performance_level.h"

#include <gtest/gtest.h>

namespace zelmora {
namespace {

const std::string FirstOrder =
    R"("results": {"beta": 1.8804, "probability_of_failure_exact": 0.03})";
const std::string Form = R"("method": {"name": "form", "converged": true, "beta": 2.2236,
    "probability_of_failure": 0.013})";
const std::string Unsettled = R"("method": {"name": "form", "converged": false, "beta": 1.9,
    "probability_of_failure": 0.028})";
const std::string Taylor = R"("method": {"name": "taylor", "beta": 2.143,
    "probability_of_failure": 0.016})";

std::string Sampling(const char* stoppedBy, bool failedRunsDecide) {
    return std::string(R"("sampling": {"kind": "importance", "seed": 1, "samples": 400,
        "failures": 12, "failed_runs": 0, "errors": 0, "inadmissible": 0,
        "probability_of_failure": 0.0125, "cov": 0.1, "interval_95": [0.008, 0.02],
        "probability_bounds": [0.0125, 0.0125], "beta": 2.2414, "stopped_by": ")") +
           stoppedBy + R"(", "failed_runs_decide": )" + (failedRunsDecide ? "true" : "false") + "}";
}

std::string Analysis(const std::vector<std::string>& parts) {
    std::string text = "{";
    for (const std::string& part : parts) {
        text += (text.size() > 1 ? ", " : "") + part;
    }
    return text + "}";
}

struct RelianceCase {
    std::vector<std::string> parts;
    std::vector<std::string> names;
    std::optional<std::size_t> reliedOn;
    std::string verdict; // against the target β 2.0
};

TEST(ReportSummary, TheMethodReliedOnFollowsTheOrderOfTrust) {
    const RelianceCase cases[] = {
        {{FirstOrder},
         {"First order"},
         0,
         "The β relied on, 1.8804 by First order, falls short of the target β of 2.0000."},
        {{FirstOrder, Taylor},
         {"First order", "Taylor series"},
         1,
         "The β relied on, 2.1430 by Taylor series, meets the target β of 2.0000."},
        {{FirstOrder, Unsettled},
         {"First order", "FORM"},
         0,
         "The β relied on, 1.8804 by First order, falls short of the target β of 2.0000."},
        {{FirstOrder, Form, Sampling("target-cov", false)},
         {"First order", "FORM", "Sampling check"},
         2,
         "The β relied on, 2.2414 by Sampling check, meets the target β of 2.0000."},
        {{FirstOrder, Form, Sampling("most-runs", false)},
         {"First order", "FORM", "Sampling check"},
         1,
         "The β relied on, 2.2236 by FORM, meets the target β of 2.0000."},
        {{FirstOrder, Form, Sampling("target-cov", true)},
         {"First order", "FORM", "Sampling check"},
         1,
         "The β relied on, 2.2236 by FORM, meets the target β of 2.0000."},
        {{R"("results": {"beta": null, "probability_of_failure_exact": null})"},
         {"First order"},
         std::nullopt,
         "No method found a β to rely on, so the target β of 2.0000 is not judged."},
    };
    for (const RelianceCase& c : cases) {
        const MethodsThatRan ran = ReadMethodsThatRan(Analysis(c.parts));
        std::vector<std::string> names;
        for (const MethodThatRan& method : ran.methods) {
            names.push_back(method.name);
        }
        EXPECT_EQ(names, c.names) << c.verdict;
        EXPECT_EQ(ran.reliedOn, c.reliedOn) << c.verdict;
        EXPECT_EQ(Verdict(ran, 2.0), c.verdict);
    }
}

TEST(ReportSummary, ThePerformanceLevelIsTheLargestTabulatedBetaNotAbove) {
    const std::pair<double, const char*> cases[] = {{-0.5, "Hazardous"},
                                                    {0.9999, "Hazardous"},
                                                    {1.0, "Hazardous"},
                                                    {1.5, "Unsatisfactory"},
                                                    {1.9999, "Unsatisfactory"},
                                                    {2.0, "Poor"},
                                                    {2.5, "Below average"},
                                                    {2.9999, "Below average"},
                                                    {3.0, "Above average"},
                                                    {3.9999, "Above average"},
                                                    {4.0, "Good"},
                                                    {5.0, "High"},
                                                    {9.0, "High"}};
    for (const auto& [beta, level] : cases) {
        EXPECT_EQ(PerformanceLevel(beta), level) << beta;
    }
}

// The summary's table marks the one relied on and names why another is not.
TEST(ReportSummary, TheTableMarksTheMethodReliedOn) {
    const std::string html = SummaryHtml(
        ReadMethodsThatRan(Analysis({FirstOrder, Form, Sampling("most-runs", false)})), 3.0);
    for (const char* part :
         {"<td>FORM</td><td class=\"n\">2.2236</td><td class=\"n\">1.300E-0002</td><td>relied "
          "on</td>",
          "<td>stopped before its target CoV</td>", "<strong>Target β 3.0000</strong>",
          "Expected performance level: <strong>Poor</strong> (US Army Corps of Engineers, ETL "
          "1110-2-556 (1999)).</p>"}) {
        EXPECT_NE(html.find(part), std::string::npos) << part << "\n" << html;
    }
}

} // namespace
} // namespace zelmora

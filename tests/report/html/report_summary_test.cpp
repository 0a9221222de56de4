// The first page's summary from the record of an analysis: which method is relied on, its
// verdict against the target and its performance level.
#include "analysis/methods/exact_normal_tail.h"
#include "report/html/html_summary.h"
#include "report/html/performance_level.h"
#include "report/methods_that_ran.h"
#include "report/relied_on.h"
#include "tests/analysis/support/three_variable_project.h"

#include <gtest/gtest.h>

namespace zelmora {
namespace {

// The parts of an analysis the summary reads: first order's β and probability, the method's
// result and the sampling check's.
struct Part {
    std::optional<MethodThatRan> firstOrder;
    std::optional<MethodResult> method;
    std::optional<SamplingResult> sampling;
};

MethodResult MethodWith(Method method, bool converged, double beta, double probability) {
    MethodResult result;
    result.method = method;
    result.converged = converged;
    result.beta = beta;
    result.probability = probability;
    return result;
}

const Part FirstOrder{MethodThatRan{"First order", 1.8804, 0.03, ""}, {}, {}};
const Part Form{{}, MethodWith(Method::Form, true, 2.2236, 0.013), {}};
const Part Unsettled{{}, MethodWith(Method::Form, false, 1.9, 0.028), {}};
const Part Taylor{{}, MethodWith(Method::Taylor, true, 2.143, 0.016), {}};

Part Sampling(bool stoppedByTarget, bool failedRunsDecide, int inadmissible = 0,
              std::optional<bool> formDisagrees = std::nullopt) {
    SamplingResult result;
    result.kind = SamplingKind::Importance;
    result.samples = 400;
    result.failures = 12;
    result.probability = 0.0125;
    result.cov = 0.1;
    result.interval95 = {0.008, 0.02};
    result.bounds = {0.0125, 0.0125};
    result.beta = 2.2414;
    result.stoppedByTarget = stoppedByTarget;
    result.failedRunsDecide = failedRunsDecide;
    result.inadmissible = inadmissible;
    result.bounds[1] += double(inadmissible) / result.samples;
    result.formDisagrees = formDisagrees;
    return {{}, {}, result};
}

MethodsThatRan Analysis(const std::vector<Part>& parts) {
    MethodThatRan firstOrder{"First order", std::nullopt, std::nullopt, ""};
    AnalysisRecord record;
    for (const Part& part : parts) {
        firstOrder = part.firstOrder.value_or(firstOrder);
        record.method = part.method ? part.method : record.method;
        record.sampling = part.sampling ? part.sampling : record.sampling;
    }
    return MethodsThatRanIn(firstOrder, record);
}

struct RelianceCase {
    std::vector<Part> parts;
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
        {{FirstOrder, Form, Sampling(true, false)},
         {"First order", "FORM", "Sampling check"},
         2,
         "The β relied on, 2.2414 by Sampling check, meets the target β of 2.0000."},
        {{FirstOrder, Form, Sampling(false, false)},
         {"First order", "FORM", "Sampling check"},
         1,
         "The β relied on, 2.2236 by FORM, meets the target β of 2.0000."},
        {{FirstOrder, Form, Sampling(true, true, 4)},
         {"First order", "FORM", "Sampling check"},
         2,
         "The β relied on, 2.0047 by Sampling check, meets the target β of 2.0000."},
        {{Part{MethodThatRan{"First order", std::nullopt, std::nullopt, ""}, {}, {}}},
         {"First order"},
         std::nullopt,
         "No method found a β to rely on, so the target β of 2.0000 is not judged."},
    };
    for (const RelianceCase& c : cases) {
        const MethodsThatRan ran = Analysis(c.parts);
        std::vector<std::string> names;
        for (const MethodThatRan& method : ran.methods) {
            names.push_back(method.name);
        }
        EXPECT_EQ(names, c.names) << c.verdict;
        EXPECT_EQ(ran.reliedOn, c.reliedOn) << c.verdict;
        EXPECT_EQ(Verdict(ran, 2.0), c.verdict);
    }
}

// First order's β is the project's once the analysis finished its runs; a failed one that did not
// leaves the β an earlier analysis stored, which is not relied on.
TEST(ReportSummary, FirstOrderTakesTheProjectsBetaOnlyWhenTheAnalysisFinishedItsRuns) {
    ProjectState project = testing::ThreeVariableProject();
    project.VariableCount = 3; // as the analysis left its list
    for (const auto& [runId, key] : {std::pair{1, 1}, {2, 11}, {3, 12}}) {
        Entry(project.Variables, runId) = key;
    }
    const auto recordOf = [](const std::vector<int>& runIds, const std::string& error) {
        AnalysisRecord record;
        for (const int runId : runIds) {
            record.outcomes.push_back({});
            record.outcomes.back().runId = runId;
        }
        if (!error.empty()) {
            record.outcomes.back().error = error;
        }
        record.error = error;
        return record;
    };
    const struct {
        AnalysisRecord record;
        bool beta;
    } cases[] = {
        {AnalysisRecord{}, true},
        {recordOf({-1, 0, 1, 2, 3, -2}, ""), true},
        {recordOf({-1, 0, 1, 2, 3, -2}, "File not found"), true},
        {recordOf({-1, 0, 1, 2, 3}, "File not found"), false},
    };
    for (const auto& c : cases) {
        const MethodThatRan firstOrder = FirstOrderThatRan(project, c.record);
        EXPECT_EQ(firstOrder.beta, c.beta ? std::optional(project.Beta) : std::nullopt)
            << c.record.outcomes.size();
        EXPECT_EQ(MethodsThatRanIn(firstOrder, c.record).reliedOn.has_value(), c.beta);
    }
}

AnalysisRecord RecordOf(const std::vector<Part>& parts) {
    AnalysisRecord record;
    for (const Part& part : parts) {
        record.method = part.method ? part.method : record.method;
        record.sampling = part.sampling ? part.sampling : record.sampling;
    }
    return record;
}

// The conservative number: a check that met its target, its upper bound when samples were not
// run; FORM unless a check disagrees with it; Taylor; first order.
TEST(ReportSummary, TheNumberReliedOnIsTheConservativeOne) {
    const struct {
        std::vector<Part> parts;
        std::string method;
        double probability;
        bool upperBound;
        std::string why; // its start
    } cases[] = {
        {{}, "first-order", 0.03, false, "First order is the only method"},
        {{Taylor}, "taylor", 0.016, false, "The Taylor series is relied on"},
        {{Unsettled}, "first-order", 0.03, false, "First order is relied on: FORM did not"},
        {{Form}, "form", 0.013, false, "FORM converged"},
        {{Form, Sampling(false, false, 0, false)}, "form", 0.013, false, "FORM converged"},
        {{Form, Sampling(false, false, 0, true)},
         "first-order",
         0.03,
         false,
         "First order is relied on: FORM lies outside"},
        {{Form, Sampling(true, false, 0, true)},
         "importance",
         0.0125,
         false,
         "Importance sampling stopped by its target CoV with every sample run"},
        {{Form, Sampling(true, false, 19)},
         "importance",
         0.0125 + 19.0 / 400,
         true,
         "An upper bound: Importance sampling stopped by its target CoV, but 19 samples were "
         "not run (0 failed, 19 inadmissible)"},
    };
    for (const auto& c : cases) {
        const std::optional<ReliedOn> relied = ReliedOnIn(1.8808, 0.03, RecordOf(c.parts));
        ASSERT_TRUE(relied) << c.why;
        EXPECT_EQ(relied->method, c.method) << c.why;
        EXPECT_DOUBLE_EQ(relied->probability, c.probability) << c.why;
        // A method's own β where it gave one; from the probability for a sampling check.
        const bool sampled = c.method == "importance";
        EXPECT_EQ(relied->beta, sampled                     ? TailQuantile(c.probability)
                                : c.method == "first-order" ? 1.8808
                                : c.method == "taylor"      ? 2.143
                                                            : 2.2236)
            << c.why;
        EXPECT_EQ(relied->upperBound, c.upperBound) << c.why;
        EXPECT_EQ(relied->why.rfind(c.why, 0), 0U) << relied->why;
    }
    EXPECT_FALSE(ReliedOnIn(std::nullopt, std::nullopt, RecordOf({Unsettled})));
}

// The summary and the window say which way a check that disagrees with FORM departs from it,
// and that an upper bound is one.
TEST(ReportSummary, TheSummarySaysWhenItReliesOnAnUpperBoundAndWhenFormIsOutside) {
    Part below = Sampling(true, false, 19, true);
    below.sampling->interval95 = {0.02, 0.03};
    const MethodsThatRan ran = Analysis({FirstOrder, Form, below});
    const std::string html = SummaryHtml(ran, 2.0);
    for (const char* part :
         {"<td>relied on, as an upper bound: 0.0600</td>", "<p>An upper bound: Importance sampling",
          "<p>The sampling finds more probability of failure than FORM: FORM sees one failure "
          "mechanism.</p>",
          "<td>outside the sampling check&#39;s interval</td>"}) {
        EXPECT_NE(html.find(part), std::string::npos) << part << "\n" << html;
    }
    EXPECT_EQ(ReliedOnLine(ran).rfind("Relied on: β 1.5548 by Sampling check, probability of "
                                      "failure ",
                                      0),
              0U)
        << ReliedOnLine(ran);
    Part above = Sampling(true, false, 0, true);
    above.sampling->interval95 = {0.001, 0.01};
    EXPECT_EQ(Analysis({FirstOrder, Form, above}).formDisagreement,
              "The sampling finds less probability of failure than FORM.");
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
    const std::string html = SummaryHtml(Analysis({FirstOrder, Form, Sampling(false, false)}), 3.0);
    for (const char* part :
         {"<td>FORM</td><td class=\"n\">2.2236</td><td class=\"n\">0.0130</td><td>relied "
          "on</td>",
          "<td>stopped before its target CoV</td>", "<strong>Target β 3.0000</strong>",
          "Expected performance level: <strong>Poor</strong> (US Army Corps of Engineers, ETL "
          "1110-2-556 (1999)).</p>"}) {
        EXPECT_NE(html.find(part), std::string::npos) << part << "\n" << html;
    }
}

// A check that saw no failure shows its bounds with the samples not run, else its interval,
// never a bare 0.
TEST(ReportSummary, ASamplingCheckWithoutAFailureGivesItsBounds) {
    const struct {
        int inadmissible;
        const char* shown;
    } cases[] = {
        {8, "<td class=\"n\">0 (between 0 and 0.0200 with the samples not run)</td>"},
        {0, "<td class=\"n\">0 (95 % interval 0 to 0.00957)</td>"},
    };
    for (const auto& c : cases) {
        Part none = Sampling(true, false, c.inadmissible);
        none.sampling->failures = 0;
        none.sampling->probability = 0;
        none.sampling->bounds = {0, double(c.inadmissible) / none.sampling->samples};
        none.sampling->interval95 = {0, 0.00957};
        none.sampling->beta.reset();
        const std::string html = SummaryHtml(Analysis({FirstOrder, Form, none}), 3.0);
        EXPECT_NE(html.find(c.shown), std::string::npos) << html;
    }
}

} // namespace
} // namespace zelmora

#include "report/tables/method_summary.h"

#include "analysis/methods/random_variables.h"
#include "project/number_forms.h"
#include "report/tables/result_text.h"

#include <algorithm>
#include <utility>

namespace zelmora {

namespace {

// A variable as the tables name it, with its share signed by `direction`.
VariableResult Named(const SoilRows& soil, int variableId, double direction,
                     std::optional<double> share) {
    const RandomVariable variable = VariableOf(soil, variableId);
    VariableResult v;
    v.variableId = variableId;
    v.row = variable.row;
    v.parameter = variable.friction ? Parameter::FrictionAngle : Parameter::Cohesion;
    v.setNumber = variable.setNumber;
    v.sensitivity = direction;
    v.share = share;
    return v;
}

using ShareRow = std::pair<double, std::vector<std::string>>;

// The rows under the header, largest share first; a missing share counts as none.
TextTable SortedByShare(std::vector<std::string> header, std::vector<ShareRow> rows) {
    std::stable_sort(rows.begin(), rows.end(),
                     [](const ShareRow& a, const ShareRow& b) { return a.first > b.first; });
    TextTable table{std::move(header), {}};
    for (ShareRow& row : rows) {
        table.rows.push_back(std::move(row.second));
    }
    return table;
}

TextTable TaylorTable(const MethodResult& method, const SoilRows& soil) {
    std::vector<ShareRow> rows;
    for (const MethodVariable& m : method.variables) {
        const VariableResult v = Named(soil, m.variableId, m.sensitivity.value_or(0), m.share);
        rows.push_back(
            {m.share.value_or(-1),
             {VariableLabel(v), FixedText(m.sensitivity), FixedText(m.curvature), ShareText(v)}});
    }
    return SortedByShare({"Variable", "Sensitivity", "Curvature", "Share (%)"}, std::move(rows));
}

TextTable FormTable(const MethodResult& method, const SoilRows& soil) {
    std::vector<ShareRow> rows;
    for (const DesignPointValue& p : method.designPoint) {
        // A variable the safety factor does not follow has an α of 0, which the difference
        // quotient may leave as -0: no sign for it.
        const double alpha = p.alpha + 0.0;
        const double share = alpha * alpha;
        const VariableResult v = Named(soil, p.variableId, alpha, share);
        rows.push_back({share,
                        {VariableLabel(v), p.friction ? "°" : "kN/m²", FixedText(p.mean),
                         FixedText(p.value), FixedText(alpha), ShareText(v)}});
    }
    // With correlations the column holds each strength's importance γ rather than α.
    const std::string importance = method.correlated ? "γ" : "α";
    return SortedByShare(
        {"Variable", "Unit", "Mean", "Design value", importance, importance + "² (%)"},
        std::move(rows));
}

std::string Count(int count) {
    return FormatInteger(count, 0);
}

} // namespace

std::string MethodHeading(const MethodResult& method) {
    if (method.method == Method::Taylor) {
        return MethodTitle(method.method);
    }
    return MethodTitle(method.method) + " with " + DistributionName(method.strengths) +
           " strengths" + (method.converged ? "" : ": not converged");
}

std::string MethodNote(const MethodResult& method) {
    if (method.method == Method::Taylor) {
        return "Central differences, one more run per variable; the curvature shows how the "
               "safety factor bends.";
    }
    if (!method.converged) {
        return "Not converged in " + Count(method.iterations) +
               " iterations: β and the design point are the last iteration's.";
    }
    return "The Hasofer–Lind index, by iteration; the design point is the most likely "
           "combination of strengths at failure.";
}

std::vector<SummaryLine> MethodSummary(const MethodResult& method, ProbabilityForm probability) {
    std::vector<SummaryLine> lines{
        {"Beta", "β:", FixedText(method.beta)},
        {"Probability", "Probability of failure, normal Φ(−β):", probability(method.probability)}};
    if (method.method == Method::Taylor) {
        lines.push_back({"BetaLognormal", "β for a lognormal safety factor, β_LN:",
                         FixedText(method.betaLognormal)});
        lines.push_back({"LognormalProbability", "Probability of failure, lognormal Φ(−β_LN):",
                         probability(method.lognormalProbability)});
    }
    lines.push_back({"Runs", "Runs added:", Count(method.runs)});
    if (method.method == Method::Form) {
        lines.push_back({"Iterations", "Iterations:", Count(method.iterations)});
        lines.push_back({"Converged", "Converged:", method.converged ? "yes" : "no"});
    }
    return lines;
}

TextTable MethodTable(const MethodResult& method, const SoilRows& soil) {
    return method.method == Method::Taylor ? TaylorTable(method, soil) : FormTable(method, soil);
}

std::vector<bool> MethodTableNumeric(const MethodResult& method) {
    return method.method == Method::Taylor
               ? std::vector<bool>{false, true, true, true}
               : std::vector<bool>{false, false, true, true, true, true};
}

} // namespace zelmora

#include "report/tables/method_result_line.h"

#include "project/number_forms.h"
#include "report/tables/result_text.h"

namespace zelmora {

std::string MethodResultLine(const MethodResult& method) {
    std::string line = MethodTitle(method.method) + ": β " + FixedText(method.beta) +
                       ", probability of failure " + ProbabilityText(method.probability);
    if (method.method == Method::Form) {
        line += ", " + FormatInteger(method.iterations, 0) + " iterations";
        if (!method.converged) {
            line += ", not converged";
        }
    }
    return line;
}

std::string MethodProbabilityLine(const MethodResult& method, ProbabilityForm probability) {
    return MethodTitle(method.method) + ": " + probability(method.probability);
}

} // namespace zelmora

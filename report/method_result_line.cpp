#include "report/method_result_line.h"

#include "project/number_forms.h"
#include "report/result_text.h"

namespace zelmora {

namespace {

std::string ShortName(const MethodResult& method) {
    return method.method == Method::Taylor ? "Taylor series" : "FORM";
}

} // namespace

std::string MethodResultLine(const MethodResult& method) {
    std::string line = ShortName(method) + ": β " + FixedText(method.beta) +
                       ", probability of failure " + ProbabilityText(method.probability);
    if (method.method == Method::Form) {
        line += ", " + FormatInteger(method.iterations, 0) + " iterations";
        if (!method.converged) {
            line += ", not converged";
        }
    }
    return line;
}

std::string MethodProbabilityLine(const MethodResult& method) {
    return ShortName(method) + ": " + ProbabilityText(method.probability);
}

} // namespace zelmora

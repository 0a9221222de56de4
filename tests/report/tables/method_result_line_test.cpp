#include "report/tables/method_result_line.h"

#include <gtest/gtest.h>

namespace zelmora {
namespace {

MethodResult Result(Method method, bool converged) {
    MethodResult result;
    result.method = method;
    result.converged = converged;
    result.iterations = converged ? 4 : 10;
    result.beta = 1.65443;
    result.probability = 0.049021;
    return result;
}

TEST(MethodResultLine, InTheHousesNumberForms) {
    const std::pair<MethodResult, std::string> lines[] = {
        {Result(Method::Form, true),
         "FORM: β 1.6544, probability of failure 4.902E-0002, 4 iterations"},
        {Result(Method::Form, false),
         "FORM: β 1.6544, probability of failure 4.902E-0002, 10 iterations, not converged"},
        {Result(Method::Taylor, true),
         "Taylor series: β 1.6544, probability of failure 4.902E-0002"}};
    for (const auto& [result, line] : lines) {
        EXPECT_EQ(MethodResultLine(result), line);
    }
    EXPECT_EQ(MethodProbabilityLine(Result(Method::Form, true)), "FORM: 4.902E-0002");
    MethodResult flat = Result(Method::Taylor, true);
    flat.beta.reset();
    flat.probability.reset();
    EXPECT_EQ(MethodResultLine(flat), "Taylor series: β —, probability of failure —");
}

} // namespace
} // namespace zelmora

#pragma once

#include "analysis/methods/method_result.h"

namespace zelmora::testing {

// Method results as an analysis of the three-variable project (row 1 φ and c, row 2 c) might
// leave them; the numbers are made up, each shows in its own text form.
inline MethodResult TaylorResult() {
    MethodResult taylor;
    taylor.method = Method::Taylor;
    taylor.runs = 3;
    taylor.beta = 2.2003;
    taylor.probability = 0.01389;
    taylor.betaLognormal = 2.5046;
    taylor.lognormalProbability = 0.006129;
    taylor.variables = {
        {1, 0.11, -0.02, 0.2337}, {11, 0.19, 0.0125, 0.6969}, {12, -0.06, 0.0, 0.0694}};
    return taylor;
}

inline MethodResult FormResult() {
    MethodResult form;
    form.method = Method::Form;
    form.strengths = StrengthDistribution::Lognormal;
    form.runs = 8;
    form.iterations = 3;
    form.beta = 2.0512;
    form.probability = 0.02012;
    form.designPoint = {{1, 1, true, 30, 27.8123, 0.4},
                        {11, 1, false, 10, 7.9012, 0.9},
                        {12, 2, false, 5, 5.1234, -0.1732}};
    form.variables = {{1, {}, {}, 0.16}, {11, {}, {}, 0.81}, {12, {}, {}, 0.03}};
    form.history = {{1, 2.1822, 0.5}, {2, 2.0601, 0.0312}, {3, 2.0512, 0.0011}};
    return form;
}

// A FORM that stopped after its tenth iteration.
inline MethodResult UnsettledFormResult() {
    MethodResult form = FormResult();
    form.strengths = StrengthDistribution::Normal;
    form.converged = false;
    form.iterations = 10;
    form.runs = 36;
    for (int k = 4; k <= 10; ++k) {
        form.history.push_back({k, k % 2 == 0 ? 1.9 : 2.2, 0.04});
    }
    return form;
}

} // namespace zelmora::testing

#include "analysis/methods/correlation_check.h"

#include "analysis/methods/correlation_matrix.h"
#include "project/errors.h"
#include "project/number_forms.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

namespace zelmora {

namespace {

std::string Named(const SoilRows& soil, int id) {
    return Describe(VariableOf(soil, id));
}

std::string PairText(const SoilRows& soil, const StrengthCorrelation& pair) {
    return Named(soil, pair.a) + " and " + Named(soil, pair.b);
}

double CoefficientOfVariation(const RandomVariable& v) {
    return v.stdDev / v.mean;
}

const RandomVariable& Find(const std::vector<RandomVariable>& variables, int id) {
    return *std::find_if(variables.begin(), variables.end(),
                         [id](const RandomVariable& v) { return v.id == id; });
}

std::vector<int> IdsOf(const std::vector<RandomVariable>& variables) {
    std::vector<int> ids;
    for (const RandomVariable& v : variables) {
        ids.push_back(v.id);
    }
    return ids;
}

// ρ' only where FORM takes the strengths as lognormal; a mean of 0 or below is refused there by
// FORM itself.
double NormalSpaceRho(const SoilRows& soil, const StrengthCorrelation& pair,
                      const std::vector<RandomVariable>& variables, bool lognormal) {
    const RandomVariable& a = Find(variables, pair.a);
    const RandomVariable& b = Find(variables, pair.b);
    if (!lognormal || a.mean <= 0 || b.mean <= 0) {
        return pair.rho;
    }
    const double rho =
        NatafCorrelation(pair.rho, CoefficientOfVariation(a), CoefficientOfVariation(b));
    if (!(rho > -1 && rho < 1)) {
        throw Error("The correlation of " + PairText(soil, pair) + ", " +
                    FormatFixed(pair.rho, 0, 4) +
                    ", has no lognormal equivalent: the normal variables would need " +
                    FormatFixed(rho, 0, 4) + ".");
    }
    return rho;
}

} // namespace

void CheckCorrelationPairs(const Correlations& correlations, const SoilRows& soil) {
    const std::vector<int> randomIds = RandomVariableIds(soil);
    std::set<std::pair<int, int>> seen;
    for (const StrengthCorrelation& pair : correlations) {
        for (const int id : {pair.a, pair.b}) {
            if (std::find(randomIds.begin(), randomIds.end(), id) == randomIds.end()) {
                throw Error("A correlation names " + Named(soil, id) + ", which is not random.");
            }
        }
        if (pair.a == pair.b) {
            throw Error("A correlation pairs " + Named(soil, pair.a) + " with itself.");
        }
        if (!seen.insert(std::minmax(pair.a, pair.b)).second) {
            throw Error("The correlation of " + PairText(soil, pair) + " is given twice.");
        }
        if (!(pair.rho > -1 && pair.rho < 1)) {
            throw Error("The correlation of " + PairText(soil, pair) +
                        " must lie strictly between -1 and 1.");
        }
    }
}

double NatafCorrelation(double rho, double va, double vb) {
    return std::log1p(rho * va * vb) / std::sqrt(std::log1p(va * va) * std::log1p(vb * vb));
}

std::vector<CorrelationInUse> CorrelationsInUse(const Correlations& correlations,
                                                const AnalysisInputs& inputs, bool lognormal) {
    const std::vector<RandomVariable> variables = ListedVariables(inputs);
    const std::vector<int> ids = IdsOf(variables);
    CheckCorrelationPairs(correlations, inputs.soil);
    std::vector<CorrelationInUse> pairs;
    for (const StrengthCorrelation& pair : correlations) {
        if (pair.rho != 0) {
            pairs.push_back({pair.a, pair.b, pair.rho,
                             NormalSpaceRho(inputs.soil, pair, variables, lognormal)});
        }
    }
    CholeskyFactor(CorrelationMatrix(ids, pairs, false));
    if (lognormal) {
        CholeskyFactor(CorrelationMatrix(ids, pairs, true));
    }
    return pairs;
}

Correlations PairsOfRandomStrengths(const Correlations& stored, const SoilRows& soil,
                                    std::string& notes) {
    const std::vector<int> random = RandomVariableIds(soil);
    const auto isRandom = [&random](int id) {
        return std::find(random.begin(), random.end(), id) != random.end();
    };
    Correlations kept;
    for (const StrengthCorrelation& pair : stored) {
        if (isRandom(pair.a) && isRandom(pair.b)) {
            kept.push_back(pair);
        } else {
            notes += "The correlation of " + PairText(soil, pair) +
                     " is left out: " + Named(soil, isRandom(pair.a) ? pair.b : pair.a) +
                     " is not random.\n";
        }
    }
    return kept;
}

} // namespace zelmora

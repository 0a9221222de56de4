#include "analysis/study_settings.h"

#include "analysis/random_variables.h"

#include <algorithm>

namespace zelmora {

StudySettings Study;

Correlations PairsOfRandomStrengths(const Correlations& stored, std::string& notes) {
    const std::vector<int> random = RandomVariables();
    const auto isRandom = [&random](int id) {
        return std::find(random.begin(), random.end(), id) != random.end();
    };
    Correlations kept;
    for (const StrengthCorrelation& pair : stored) {
        if (isRandom(pair.a) && isRandom(pair.b)) {
            kept.push_back(pair);
        } else {
            notes += "The correlation of " + Describe(VariableOf(pair.a)) + " and " +
                     Describe(VariableOf(pair.b)) +
                     " is left out: " + Describe(VariableOf(isRandom(pair.a) ? pair.b : pair.a)) +
                     " is not random.\n";
        }
    }
    return kept;
}

} // namespace zelmora

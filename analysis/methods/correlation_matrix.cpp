#include "analysis/methods/correlation_matrix.h"

#include "project/errors.h"

#include <algorithm>
#include <cmath>

namespace zelmora {

namespace {

// A pivot this small leaves the matrix singular within the precision of the ρ entered.
constexpr double SmallestPivot = 1e-10;

std::size_t PositionOf(const std::vector<int>& ids, int id) {
    const auto found = std::find(ids.begin(), ids.end(), id);
    if (found == ids.end()) {
        throw Error("A correlation names a strength that is not random.");
    }
    return static_cast<std::size_t>(found - ids.begin());
}

} // namespace

Matrix CorrelationMatrix(const std::vector<int>& ids, const std::vector<CorrelationInUse>& pairs,
                         bool normalSpace) {
    Matrix matrix(ids.size(), std::vector<double>(ids.size(), 0.0));
    for (std::size_t k = 0; k < ids.size(); ++k) {
        matrix[k][k] = 1;
    }
    for (const CorrelationInUse& pair : pairs) {
        const std::size_t a = PositionOf(ids, pair.a);
        const std::size_t b = PositionOf(ids, pair.b);
        matrix[a][b] = matrix[b][a] = normalSpace ? pair.rhoNormal : pair.rho;
    }
    return matrix;
}

Matrix CholeskyFactor(const Matrix& matrix) {
    const std::size_t n = matrix.size();
    Matrix factor(n, std::vector<double>(n, 0.0));
    for (std::size_t j = 0; j < n; ++j) {
        long double pivot = matrix[j][j];
        for (std::size_t k = 0; k < j; ++k) {
            pivot -= static_cast<long double>(factor[j][k]) * factor[j][k];
        }
        if (!(pivot > SmallestPivot)) {
            throw Error("The correlations do not form a valid correlation matrix.");
        }
        factor[j][j] = static_cast<double>(std::sqrt(pivot));
        for (std::size_t i = j + 1; i < n; ++i) {
            long double sum = matrix[i][j];
            for (std::size_t k = 0; k < j; ++k) {
                sum -= static_cast<long double>(factor[i][k]) * factor[j][k];
            }
            factor[i][j] = static_cast<double>(sum / factor[j][j]);
        }
    }
    return factor;
}

double CorrelatedVariance(const std::vector<double>& sensitivities, const Matrix& correlation) {
    long double sum = 0;
    for (std::size_t i = 0; i < sensitivities.size(); ++i) {
        for (std::size_t j = 0; j < sensitivities.size(); ++j) {
            sum +=
                static_cast<long double>(sensitivities[i]) * sensitivities[j] * correlation[i][j];
        }
    }
    return NarrowToDouble(sum);
}

} // namespace zelmora

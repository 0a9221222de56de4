#include "analysis/methods/first_order_result.h"

#include "analysis/methods/exact_normal_tail.h"
#include "project/errors.h"

#include <cmath>

namespace zelmora {

namespace {

double Square(double s, Precision precision) {
    return precision == Precision::Extended ? NarrowToDouble(static_cast<long double>(s) * s)
                                            : s * s;
}

double Added(double sum, double term, Precision precision) {
    return precision == Precision::Extended
               ? NarrowToDouble(static_cast<long double>(sum) + static_cast<long double>(term))
               : sum + term;
}

double Quotient(double numerator, double denominator, Precision precision) {
    return precision == Precision::Extended
               ? NarrowToDouble(static_cast<long double>(numerator) / denominator)
               : numerator / denominator;
}

void AddSums(FirstOrderResult& result, Precision precision) {
    for (const double s : result.sensitivities) {
        if (precision == Precision::Extended) {
            // The square is not rounded to 64 bits before it is added.
            result.squares = NarrowToDouble(static_cast<long double>(result.squares) +
                                            static_cast<long double>(s) * s);
        } else {
            result.squares = Added(result.squares, Square(s, precision), precision);
        }
        result.total = Added(result.total, s, precision);
    }
}

void AddShares(FirstOrderResult& result, Precision precision) {
    for (const double s : result.sensitivities) {
        result.shares.push_back(
            precision == Precision::Extended
                ? NarrowToDouble(static_cast<long double>(s) * s / result.squares)
                : Square(s, precision) / result.squares);
    }
}

} // namespace

double FirstOrderSensitivity(double meanFactor, double reducedFactor, double step) {
    return NarrowToDouble(
        CheckedDivide(static_cast<long double>(meanFactor) - reducedFactor, step));
}

double ReliabilityIndex(double meanFactor, double sigma) {
    return NarrowToDouble(CheckedDivide(static_cast<long double>(meanFactor) - 1.0L, sigma));
}

std::optional<double> FirstOrderResult::Beta() const {
    if (!sigma) {
        return std::nullopt;
    }
    if (correlated_ && precision == Precision::Extended) {
        return NarrowToDouble(CheckedDivide(static_cast<long double>(meanFactor) - 1, root_));
    }
    return ReliabilityIndex(meanFactor, *sigma);
}

FirstOrderResult FirstOrderResultOf(double meanFactor, std::vector<double> sensitivities,
                                    Precision precision, const Matrix* correlation) {
    FirstOrderResult result;
    result.meanFactor = meanFactor;
    result.precision = precision;
    result.correlated_ = correlation != nullptr;
    result.sensitivities = std::move(sensitivities);
    AddSums(result, precision);
    const double variance =
        correlation ? CorrelatedVariance(result.sensitivities, *correlation) : result.squares;
    if (result.squares <= 0 || variance <= 0) {
        return result;
    }
    AddShares(result, precision);
    result.root_ = std::sqrt(static_cast<long double>(variance));
    result.sigma = NarrowToDouble(result.root_);
    if (meanFactor != 0) {
        result.cov = Quotient(*result.sigma, meanFactor, precision);
    }
    if (meanFactor > 0) {
        result.betaLognormal = LognormalBeta(meanFactor, *result.cov);
    }
    return result;
}

} // namespace zelmora

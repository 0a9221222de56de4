#pragma once

#include "analysis/methods/correlation_matrix.h"

#include <optional>
#include <vector>

namespace zelmora {

// Where a first-order result rounds. First order adds each square and each sensitivity in
// extended precision and keeps the running sums as 64-bit floats, as its log and the project
// file need; with correlations its β divides by the root of the variance in extended precision.
// Taylor series keeps a `double` sum of squares, divides its shares and V in 64-bit floats and
// takes its β from σ_F as a 64-bit float: its β, β_LN and shares were always computed so.
enum class Precision { Extended, Double };

// (F_mean - F_v) / step, the sensitivity of first order; a step of 0 raises the division's
// error.
double FirstOrderSensitivity(double meanFactor, double reducedFactor, double step);

// β = (F_mean - 1) / σ_F in extended precision, σ_F a 64-bit float; a σ_F of 0 raises the
// division's error.
double ReliabilityIndex(double meanFactor, double sigma);

// A first-order second-moment estimate from the safety factor at the means and the
// sensitivities s of the random variables, in list order.
struct FirstOrderResult {
    double meanFactor = 0;
    Precision precision = Precision::Extended;
    std::vector<double> sensitivities;
    double squares = 0; // Σs²
    double total = 0;   // Σs, for the linearity
    // Nothing below exists when Σs², or the variance with correlations, is 0 or below.
    std::vector<double> shares;  // s_i² / Σs², in list order
    std::optional<double> sigma; // σ_F: √Σs², √(Σ_i Σ_j s_i·s_j·ρ_ij) with correlations
    std::optional<double> cov;   // σ_F / F_mean, for F_mean other than 0
    std::optional<double> betaLognormal; // for F_mean above 0

    // (F_mean - 1) / σ_F. Computed when asked, as the derived results of a stored analysis keep
    // the β the project holds.
    std::optional<double> Beta() const;

private:
    friend FirstOrderResult FirstOrderResultOf(double meanFactor, std::vector<double> sensitivities,
                                               Precision precision, const Matrix* correlation);

    bool correlated_ = false;
    long double root_ = 0; // σ_F in extended precision
};

// The estimate with these rounding points; `correlation` is the matrix of ρ in list order, or
// nullptr without correlations (the shares stay those of Σs²).
FirstOrderResult FirstOrderResultOf(double meanFactor, std::vector<double> sensitivities,
                                    Precision precision, const Matrix* correlation = nullptr);

} // namespace zelmora

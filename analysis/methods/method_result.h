#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelmora {

// The reliability methods that may follow the first-order analysis.
enum class Method { FirstOrder, Taylor, Form };
enum class StrengthDistribution { Normal, Lognormal };

// "first-order", "taylor", "form"; "normal", "lognormal".
std::string MethodName(Method method);

// The method as the user reads its name: "First order", "Taylor series", "FORM".
std::string MethodTitle(Method method);
std::string DistributionName(StrengthDistribution distribution);

// The method or distribution of a name MethodName or DistributionName gives; none for others.
std::optional<Method> MethodFromName(std::string_view name);
std::optional<StrengthDistribution> DistributionFromName(std::string_view name);

// One random variable at the design point: its mean and design value in physical units (φ in
// degrees, c in kN/m²) and its importance γ, which is its direction cosine α without
// correlations.
struct DesignPointValue {
    int variableId = 0;
    int row = 0;
    bool friction = true;
    double mean = 0;
    double value = 0;
    double alpha = 0;
};

struct MethodVariable {
    int variableId = 0;
    std::optional<double> sensitivity; // Taylor: central, per step of σ
    std::optional<double> curvature;   // Taylor: second difference per step²
    std::optional<double> share;       // Taylor: s² / Σs²; FORM: γ²
};

struct FormIteration {
    int iteration = 0;
    double beta = 0;
    double g = 0; // F - 1 at the point the iteration evaluated
};

// What a method added to the analysis; it never changes the first-order results.
struct MethodResult {
    Method method = Method::FirstOrder;
    StrengthDistribution strengths = StrengthDistribution::Normal;
    int runs = 0; // the runs the method added
    bool converged = true;
    int iterations = 0;
    std::optional<double> beta;
    std::optional<double> probability;   // Φ(-β)
    std::optional<double> betaLognormal; // Taylor: for a lognormal safety factor
    std::optional<double> lognormalProbability;
    std::vector<DesignPointValue> designPoint; // FORM
    std::vector<MethodVariable> variables;     // in list order
    std::vector<FormIteration> history;        // FORM
    bool correlated = false;                   // FORM: its importances are γ, not α
    std::optional<double> designPointFactor;   // FORM: F of the run at the converged design point
};

} // namespace zelmora

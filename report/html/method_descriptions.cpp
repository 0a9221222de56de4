#include "report/html/method_descriptions.h"

namespace zelmora {

namespace {

std::string Independence(bool correlated) {
    return correlated ? "The strengths are correlated as the correlations above give; every "
                        "other pair is independent."
                      : "The strengths are independent: no correlations are given.";
}

MethodDescription FirstOrder(bool correlated) {
    return {"First order (mean value, one-sided differences)",
            {"The model is run with every strength at its mean (F_mean) and once more per "
             "random strength lowered by the step size s times its standard deviation σ, the "
             "others at their means (F_i). Sensitivity s_i = (F_mean − F_i) / s; "
             "σ_F² = Σ s_i²; β = (F_mean − 1) / σ_F; P_f = Φ(−β) (Duncan 2000; Baecher & "
             "Christian 2003).",
             Independence(correlated) +
                 " Only means and standard deviations enter; the safety factor F is taken as "
                 "normal (β_LN beside it for a lognormal F). With correlations, β with "
                 "correlations uses σ_F² = Σ_i Σ_j s_i·s_j·ρ_ij.",
             "φ is lowered through its sine, the value the calculator reads: the run writes "
             "sin φ̄ − s·sin σ_φ, which lowers φ by about 1 / cos φ̄ times s·σ_φ (15 % more at "
             "30°), so a friction angle never leaves the range the sine can hold.",
             "Tolerances: none; the result follows from N + 2 runs, and the linearity reading "
             "says how far F bends over the step."}};
}

MethodDescription Taylor() {
    return {"Taylor series (central differences)",
            {"Each strength is also raised by s·σ (F₊), giving central sensitivities "
             "s_i = (F₊ − F₋) / (2·s) and curvatures (F₊ + F₋ − 2·F_mean) / s²; "
             "σ_F² = Σ_i Σ_j s_i·s_j·ρ_ij (ρ_ii = 1), β = (F_mean − 1) / σ_F, P_f = Φ(−β) "
             "(Baecher & Christian 2003; Duncan 2000).",
             "The same assumptions as first order; the central difference does not lean on the "
             "side of the mean it was measured on. Tolerances: none, N more runs."}};
}

MethodDescription Form(StrengthDistribution strengths, bool correlated) {
    const std::string distribution =
        strengths == StrengthDistribution::Lognormal
            ? "The strengths are lognormal: they never fall below 0; correlations ρ of the "
              "strengths become ρ′ = ln(1 + ρ·V_a·V_b) / √(ln(1 + V_a²)·ln(1 + V_b²)) of the "
              "underlying normals (Liu & Der Kiureghian 1986)."
            : "The strengths are normal.";
    return {"FORM (first-order reliability method)",
            {"The design point u* is the point of the limit state g(u) = F − 1 = 0 nearest the "
             "origin in independent standard normal space; β = ‖u*‖ (Hasofer & Lind 1974), "
             "P_f = Φ(−β). Strengths follow from z = L·u, L the Cholesky factor of the "
             "correlation matrix (Low & Tang 2007; Melchers & Beck 2018).",
             "The search steps along the HL-RF direction (Rackwitz & Fiessler 1978) with a step "
             "length halved up to eight times until the merit ½‖u‖² + c·|g| falls enough and "
             "every strength is admissible (Zhang & Der Kiureghian 1995). ∇g comes from "
             "differences of one step size s in u per strength.",
             distribution + " " + Independence(correlated) +
                 " Importance γ = αᵀ·L⁻¹ / ‖αᵀ·L⁻¹‖, γ = α without correlations.",
             "Tolerances: converged when β changes by less than 0.005 between iterations and "
             "|g| < 0.005; at most 10 iterations, each N + 1 runs. Once converged, one more run at "
             "the design point itself shows F there and its slip surface."}};
}

MethodDescription Surrogate() {
    return {"Surrogate (active-learning kriging)",
            {"A Monte Carlo population of the strengths, drawn from the seed as for Monte Carlo "
             "sampling, is classified by a kriging model of F in standard normal space: a linear "
             "trend, an anisotropic Matérn-5/2 kernel, its lengths and nugget by maximum "
             "likelihood. The model learns from every run at known strengths and from rounds of "
             "runs where the sign of F − 1 is least certain, U = |μ − 1|/σ (Echard's learning "
             "function); P_f is the share of the population with μ < 1.",
             "The first round spreads its runs over distinct directions from the origin, so that "
             "it does not depend on FORM's design point; later rounds keep their points half a "
             "correlation length apart. The rounds' size does not depend on the parallel runs.",
             "Tolerances: learning stops when, in two consecutive rounds, the estimated relative "
             "error from the points that may be misclassified (Wang and Shafieezadeh's error-based "
             "bound) is at "
             "most 5 % or U ≥ 2 everywhere, and the population's coefficient of variation is at "
             "its target; or at the most runs, or at a population of 10⁶ without the target, "
             "then not converged. More than 10 % failed runs end the analysis."}};
}

MethodDescription Sampling(SamplingKind kind) {
    if (kind == SamplingKind::Surrogate) {
        return Surrogate();
    }
    const bool importance = kind == SamplingKind::Importance;
    return {importance ? "Importance sampling at the design point" : "Monte Carlo sampling",
            {importance
                 ? "Samples u are drawn around FORM's design point u*, u ~ N(u*, I), in the "
                   "same standard normal space, correlations and strength distributions as FORM; "
                   "each is run by the calculator. Weight w = φₙ(u) / φₙ(u − u*); "
                   "P_f = mean(1[F < 1]·w), its coefficient of variation from the sample "
                   "variance, the 95 % interval P_f ± 1.96·σ/√n, not below 0 (Melchers & Beck "
                   "2018)."
                 : "Samples of the strengths are drawn from their distributions, with their "
                   "correlations, and each is run by the calculator; P_f is the share of runs "
                   "with F < 1, CoV = √((1 − P_f) / (n·P_f)), and the 95 % interval is Wilson's "
                   "(Wilson 1927).",
             "The values are written as the modification file holds them and F < 1 is judged on "
             "the run of those values. A sample with a strength the calculator does not take is "
             "not run. The samples come from one seeded generator in a fixed order, so a seed "
             "gives the same result for any number of parallel runs.",
             "Tolerances: the stop rule is judged every 20 samples; sampling stops once the "
             "coefficient of variation has reached its target and at least 10 samples had "
             "F < 1, or at the most samples. A failed run or a sample not run is counted once as "
             "safe and once as failed, giving bounds; more than 10 % failed runs end the "
             "analysis."}};
}

} // namespace

std::vector<MethodDescription> MethodDescriptions(std::optional<Method> further,
                                                  StrengthDistribution strengths, bool correlated,
                                                  std::optional<SamplingKind> sampling) {
    std::vector<MethodDescription> descriptions{FirstOrder(correlated)};
    if (further == Method::Taylor) {
        descriptions.push_back(Taylor());
    } else if (further == Method::Form) {
        descriptions.push_back(Form(strengths, correlated));
    }
    if (sampling && *sampling != SamplingKind::None) {
        descriptions.push_back(Sampling(*sampling));
    }
    return descriptions;
}

const std::vector<std::string>& MethodReferences() {
    struct Reference {
        const char* authors; // with the year
        const char* title;
        const char* source;
    };
    static constexpr Reference Cited[] = {
        {"Baecher, G. B. & Christian, J. T. (2003)",
         "Reliability and Statistics in Geotechnical Engineering", "Wiley"},
        {"Duncan, J. M. (2000)", "Factors of safety and reliability in geotechnical engineering",
         "Journal of Geotechnical and Geoenvironmental Engineering 126(4), 307–316"},
        {"Hasofer, A. M. & Lind, N. C. (1974)", "Exact and invariant second-moment code format",
         "Journal of the Engineering Mechanics Division 100(1), 111–121"},
        {"Liu, P.-L. & Der Kiureghian, A. (1986)",
         "Multivariate distribution models with prescribed marginals and covariances",
         "Probabilistic Engineering Mechanics 1(2), 105–112"},
        {"Low, B. K. & Tang, W. H. (2007)",
         "Efficient spreadsheet algorithm for first-order reliability method",
         "Journal of Engineering Mechanics 133(12), 1378–1387"},
        {"Melchers, R. E. & Beck, A. T. (2018)",
         "Structural Reliability Analysis and Prediction, 3rd ed", "Wiley"},
        {"Rackwitz, R. & Fiessler, B. (1978)",
         "Structural reliability under combined random load sequences",
         "Computers & Structures 9(5), 489–494"},
        {"US Army Corps of Engineers (1999)",
         "Risk-based analysis in geotechnical engineering for support of planning studies",
         "ETL 1110-2-556"},
        {"Wilson, E. B. (1927)",
         "Probable inference, the law of succession, and statistical inference",
         "Journal of the American Statistical Association 22(158), 209–212"},
        {"Zhang, Y. & Der Kiureghian, A. (1995)",
         "Two improved algorithms for reliability analysis",
         "Reliability and Optimization of Structural Systems, IFIP, 297–304"},
    };
    static const std::vector<std::string> references = [] {
        std::vector<std::string> texts;
        for (const Reference& r : Cited) {
            texts.push_back(std::string(r.authors) + ". " + r.title + ". " + r.source + ".");
        }
        return texts;
    }();
    return references;
}

} // namespace zelmora

#pragma once

#include "analysis/coupling/analysis_inputs.h"
#include "analysis/methods/stored_results.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace zelmora {

enum class Parameter { FrictionAngle, Cohesion };

// One random variable with what the analysis learnt about it. A value that does not exist is
// empty.
struct VariableResult {
    int position = 0;   // 1..N in the variable list
    int variableId = 0; // 1..20
    int row = 0;        // 1..10
    std::int32_t setNumber = 0;
    Parameter parameter = Parameter::FrictionAngle;
    double mean = 0;
    double stdDev = 0;
    double reducedValue = 0;            // as written for its reduced run: the sine for φ
    std::optional<double> reducedAngle; // φ only: the angle of that sine, in degrees
    std::optional<double> safetyFactor; // with this variable reduced
    std::optional<double> sensitivity;  // (F_mean - F_v) / step
    std::optional<double> share;        // of the variance: s² / Σs², 0..1
};

struct DerivedResults {
    std::vector<VariableResult> variables;      // in list order
    std::optional<double> meanFactor;           // of the mean-value run
    std::optional<double> sigmaF;               // √Σs²
    std::optional<double> covF;                 // σ_F / F_mean
    std::optional<double> exactProbability;     // Φ(-β) of the normal distribution
    std::optional<double> betaLognormal;        // β of a lognormal safety factor
    std::optional<double> lognormalProbability; // Φ(-β_LN)
    std::optional<double> linearity;            // the stored one, when its run gave a factor
};

// Everything the inputs and the stored safety factors tell beyond the stored results. It needs
// no analysis in this process: a project read from a file gives the same. The variables are
// those the inputs list. Nothing exists without a safety factor for the mean values and every
// variable (a factor of 0 is one not computed) or with a step size of 0; no share and nothing
// from Σs² when that sum is 0; no lognormal β when F_mean is 0 or below.
DerivedResults DeriveResults(const AnalysisInputs& inputs, const StoredResults& stored);

// The same for a project: its soil table's variables and its stored results.
DerivedResults DeriveResults(const ProjectState& project);

// The variables sorted by share, largest first; list order where shares tie or do not exist.
std::vector<VariableResult> ByShare(const DerivedResults& results);

} // namespace zelmora

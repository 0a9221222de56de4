#include "slopecalc/bishop.h"

#include "slopecalc/inputs_overflow.h"

#include <algorithm>
#include <cmath>

namespace slopecalc {
namespace {

double MAlpha(const Slice& s, double direction, double factor) {
    return std::max(MAlphaFloor, s.cosAlpha + direction * s.sinAlpha * s.tanPhi / factor);
}

double Resistance(const std::vector<Slice>& slices, double direction, double factor) {
    double sum = 0;
    for (const Slice& s : slices) {
        const double effectiveWeight = std::max(0.0, s.weight - s.poreForce);
        sum += (s.cohesion * s.baseLength * s.cosAlpha + effectiveWeight * s.tanPhi) /
               MAlpha(s, direction, factor);
    }
    return sum;
}

} // namespace

BishopResult SolveBishop(const std::vector<Slice>& slices) {
    double driving = 0;
    double totalWeight = 0;
    double totalPore = 0;
    for (const Slice& s : slices) {
        driving += s.weight * s.sinAlpha;
        totalWeight += s.weight;
        totalPore += s.poreForce;
    }
    CheckNoOverflow(driving);
    CheckNoOverflow(totalWeight);
    // Checked apart: the floor of the effective weight at 0 would hide an infinite pore force.
    CheckNoOverflow(totalPore);
    if (!(std::fabs(driving) > 1e-9 * totalWeight)) {
        return {BishopStatus::NoDrivingMoment, 0, 0, false};
    }
    // Sliding towards smaller x turns the mass so that slices right of the centre go down.
    const bool movesLeft = driving > 0;
    const double direction = movesLeft ? 1 : -1;
    const double moment = std::fabs(driving);
    double factor = 1;
    for (int iteration = 1; iteration <= MaximumIterations; ++iteration) {
        const double resistance = Resistance(slices, direction, factor);
        CheckNoOverflow(resistance);
        const double next = resistance / moment;
        CheckNoOverflow(next);
        if (!(next > 0)) {
            return {BishopStatus::NoStrength, 0, iteration, movesLeft};
        }
        const double change = next - factor;
        factor = next;
        if (std::fabs(change) < FactorTolerance) {
            return {BishopStatus::Converged, factor, iteration, movesLeft};
        }
    }
    return {BishopStatus::NotConverged, factor, MaximumIterations, movesLeft};
}

int SlicesOnFloor(const std::vector<Slice>& slices, const BishopResult& result) {
    const double direction = result.movesLeft ? 1 : -1;
    return static_cast<int>(std::count_if(slices.begin(), slices.end(), [&](const Slice& s) {
        return s.cosAlpha + direction * s.sinAlpha * s.tanPhi / result.factor < MAlphaFloor;
    }));
}

} // namespace slopecalc

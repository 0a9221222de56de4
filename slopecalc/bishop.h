#pragma once

#include "slopecalc/slices.h"

#include <vector>

namespace slopecalc {

enum class BishopStatus { Converged, NoDrivingMoment, NoStrength, NotConverged };

struct BishopResult {
    BishopStatus status;
    double factor;
    int iterations;
    bool movesLeft; // the mass slides towards smaller x
};

// The smallest m_alpha a slice may have. Near the toe of a deep circle m_alpha = cos a +
// sin a tan phi / F falls towards zero and below, and the slice's base force would grow
// without bound or change sign; such a slice takes this floor instead, which bounds its share
// of the resistance.
inline constexpr double MAlphaFloor = 0.2;

inline constexpr double FactorTolerance = 1e-6;
inline constexpr int MaximumIterations = 100;

// Bishop's simplified method: F = sum((c l cos a + max(0, W - u b) tan phi) / m_alpha) /
// sum(W sin a), with l the length of the slice's arc (b / cos a on a straight base), iterated
// from F = 1 until the change is below FactorTolerance. The sliding direction is
// that of the driving moment, so slopes may face either way. Throws InputsOverflow when a sum
// over the slices or the factor is not finite.
BishopResult SolveBishop(const std::vector<Slice>& slices);

// How many slices of a converged factor sit on the m_alpha floor.
int SlicesOnFloor(const std::vector<Slice>& slices, const BishopResult& result);

} // namespace slopecalc

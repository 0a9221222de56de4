#pragma once

#include <optional>
#include <string>

namespace zelmora {

// Where the linearity lies: 0.9..1.1, 0.75..1.25, or beyond (or not a number).
enum class LinearityBand { Close, Fair, Far };

LinearityBand BandOf(double linearity);

// What the linearity says about trusting β, in plain words.
std::string LinearityReading(std::optional<double> linearity);

} // namespace zelmora

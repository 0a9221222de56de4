#pragma once

// What the charts of estimates and factors share, so that they read as one set: their height,
// the plot's margins but the right one, and their colours.
namespace zelmora {

inline constexpr double ChartHeight = 240;
inline constexpr double PlotLeft = 64;
inline constexpr double PlotTop = 40;
inline constexpr double PlotBottom = ChartHeight - 44;
inline const char* const LineColour = "#1f4e8c";
inline const char* const BandColour = "#c9d8ee";
inline const char* const GridColour = "#c8c8c8";
inline const char* const MarkColour = "#b22222"; // F = 1

} // namespace zelmora

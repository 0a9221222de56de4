#pragma once

#include <array>

namespace zelmora::ui {

// What the Help commands append to the info window, one entry per line.
inline constexpr std::array<const char*, 20> HelpText{
    "         ZELMORA",
    "",
    "First make a Plaxis calculation.",
    "Use only average (mean) values.",
    "End with a C-Phi reduction analysis.",
    "Start ZELMORA (this program).",
    "Fill out all soil parameters in \"Input data - Soil\",",
    "both mean values and standard deviations.",
    "Do not make mistakes with set numbers of soil layers.",
    "Fill out coorectly \"Input data - General\"",
    "Press \"Calculation\".",
    "ZELMORA will calculate the probability of failure,",
    "using the First Order Reliability Method.",
    "",
    "For information, comments, wish items, bugs, etc.",
    "Please contact:",
    "",
    "   The Zelmora team",
    "   Zelmora Reliability Group",
    "   zelmora@example.org",
};

} // namespace zelmora::ui

#pragma once

#include <array>
#include <regex>
#include <string>
#include <vector>

namespace test_support {

// The two numbers each match of `pattern` captures, in the order of the SVG text.
inline std::vector<std::array<double, 2>> SvgMatches(const std::string& svg,
                                                     const std::string& pattern) {
    const std::regex regex(pattern);
    std::vector<std::array<double, 2>> found;
    for (auto m = std::sregex_iterator(svg.begin(), svg.end(), regex); m != std::sregex_iterator();
         ++m) {
        found.push_back({std::stod((*m)[1]), std::stod((*m)[2])});
    }
    return found;
}

} // namespace test_support

#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <vector>

namespace zelmora {

// Independent standard normal numbers from one seeded std::mt19937_64, by the Box–Muller rule
// on uniforms made here from the generator's top 53 bits: the library's distributions differ
// between standard libraries, the generator does not, so a seed gives the same numbers on
// every platform (up to the last digit of log, cos and sin).
class StandardNormalDraws {
public:
    explicit StandardNormalDraws(std::uint64_t seed);

    double Next();
    std::vector<double> Next(std::size_t count);

private:
    std::mt19937_64 generator_;
    std::optional<double> spare_;
};

} // namespace zelmora

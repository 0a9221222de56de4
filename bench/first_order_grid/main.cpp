// Prints how many values the shared reliability arithmetic (FirstOrderResult, as the first-order
// log, the derived results, Taylor series and the correlated β call it) gives other than the four
// earlier copies gave, over a grid of analyses, and how long that took.
//
//   first_order_grid [spacing]   (default 0.01: 241 × 81 × 81 means and offsets, two steps)
#include "tests/analysis/support/earlier_reliability_arithmetic.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    zelmora::earlier::Grid grid;
    grid.spacing = argc > 1 ? std::atof(argv[1]) : 0.01;
    const auto start = std::chrono::steady_clock::now();
    const zelmora::earlier::Comparison c = zelmora::earlier::CompareOnGrid(grid);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("grid: mean %.2f..%.2f, offsets %.2f..%.2f, spacing %.4f, steps 1 and 0.5, "
                "rho %.2f\n",
                grid.meanFrom, grid.meanTo, grid.offsetFrom, grid.offsetTo, grid.spacing, grid.rho);
    std::printf("analyses: %llu\nvalues compared: %llu\nvalues that differ: %llu\n",
                static_cast<unsigned long long>(c.analyses),
                static_cast<unsigned long long>(c.values),
                static_cast<unsigned long long>(c.differ));
    std::printf("seconds: %.1f\n", seconds);
    return c.differ == 0 ? 0 : 1;
}

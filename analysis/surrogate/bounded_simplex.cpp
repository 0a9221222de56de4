#include "analysis/surrogate/bounded_simplex.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace zelmora {

namespace {

constexpr double InitialStep = 0.15; // of the box's width
constexpr double Tolerance = 1e-7;

class Simplex {
public:
    Simplex(const std::function<double(const Eigen::VectorXd&)>& f, const Eigen::VectorXd& lower,
            const Eigen::VectorXd& upper)
        : f_(f), lower_(lower), upper_(upper) {}

    // The start and one point moved along each axis, inwards where the start lies on a bound.
    void Build(const Eigen::VectorXd& start) {
        const Eigen::Index n = start.size();
        Add(Clamped(start));
        for (Eigen::Index k = 0; k < n; ++k) {
            Eigen::VectorXd point = points_[0];
            const double step = InitialStep * (upper_[k] - lower_[k]);
            const bool room = point[k] + step <= upper_[k];
            point[k] += room ? step : -step;
            Add(Clamped(point));
        }
    }

    void Iterate(int evaluations) {
        while (evaluations_ < evaluations && !Flat()) {
            Step();
        }
    }

    SimplexMinimum Best() const {
        const std::size_t best = Order().front();
        return {points_[best], values_[best]};
    }

private:
    Eigen::VectorXd Clamped(const Eigen::VectorXd& point) const {
        return point.cwiseMax(lower_).cwiseMin(upper_);
    }

    double Evaluate(const Eigen::VectorXd& point) {
        ++evaluations_;
        const double value = f_(point);
        return std::isfinite(value) ? value : HUGE_VAL;
    }

    void Add(const Eigen::VectorXd& point) {
        points_.push_back(point);
        values_.push_back(Evaluate(point));
    }

    // Indices from the best to the worst, ties in the order the points were made.
    std::vector<std::size_t> Order() const {
        std::vector<std::size_t> order(points_.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(),
                         [this](std::size_t a, std::size_t b) { return values_[a] < values_[b]; });
        return order;
    }

    bool Flat() const {
        const auto [low, high] = std::minmax_element(values_.begin(), values_.end());
        return *high - *low <= Tolerance * (1 + std::abs(*low));
    }

    void Replace(std::size_t index, const Eigen::VectorXd& point, double value) {
        points_[index] = point;
        values_[index] = value;
    }

    void Step() {
        const std::vector<std::size_t> order = Order();
        const std::size_t worst = order.back();
        const std::size_t second = order[order.size() - 2];
        Eigen::VectorXd centroid = Eigen::VectorXd::Zero(points_[0].size());
        for (std::size_t k = 0; k + 1 < order.size(); ++k) {
            centroid += points_[order[k]];
        }
        centroid /= static_cast<double>(order.size() - 1);
        const Eigen::VectorXd reflected = Clamped(2 * centroid - points_[worst]);
        const double r = Evaluate(reflected);
        if (r < values_[order.front()]) {
            const Eigen::VectorXd expanded = Clamped(3 * centroid - 2 * points_[worst]);
            const double e = Evaluate(expanded);
            e < r ? Replace(worst, expanded, e) : Replace(worst, reflected, r);
        } else if (r < values_[second]) {
            Replace(worst, reflected, r);
        } else {
            const Eigen::VectorXd contracted = Clamped((centroid + points_[worst]) / 2);
            const double c = Evaluate(contracted);
            c < values_[worst] ? Replace(worst, contracted, c) : Shrink(order.front());
        }
    }

    void Shrink(std::size_t best) {
        for (std::size_t k = 0; k < points_.size(); ++k) {
            if (k != best) {
                const Eigen::VectorXd point = (points_[k] + points_[best]) / 2;
                Replace(k, point, Evaluate(point));
            }
        }
    }

    const std::function<double(const Eigen::VectorXd&)>& f_;
    Eigen::VectorXd lower_;
    Eigen::VectorXd upper_;
    std::vector<Eigen::VectorXd> points_;
    std::vector<double> values_;
    int evaluations_ = 0;
};

} // namespace

SimplexMinimum MinimizeInBox(const std::function<double(const Eigen::VectorXd&)>& f,
                             const Eigen::VectorXd& start, const Eigen::VectorXd& lower,
                             const Eigen::VectorXd& upper, int evaluations) {
    Simplex simplex(f, lower, upper);
    simplex.Build(start);
    simplex.Iterate(evaluations);
    return simplex.Best();
}

} // namespace zelmora

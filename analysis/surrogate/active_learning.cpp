#include "analysis/surrogate/active_learning.h"

#include "analysis/methods/exact_normal_tail.h"
#include "analysis/methods/sampling_estimate.h"
#include "analysis/methods/standard_normal_draws.h"
#include "analysis/surrogate/batch_choice.h"
#include "analysis/surrogate/classification.h"
#include "project/errors.h"
#include "project/number_forms.h"

#include <algorithm>
#include <cmath>

namespace zelmora {

namespace {

constexpr Eigen::Index FirstPopulation = 10000;
constexpr Eigen::Index MostPopulation = 1000000;
constexpr double TargetError = 0.05;
constexpr double CertainU = 2;
constexpr int JudgedFrom = 20;
constexpr int ConsecutiveRounds = 2;
constexpr std::size_t KeptErrors = 3;
constexpr int ExploredPerDirection = 2;
constexpr int FactorBinsPerUnit = 1000;
constexpr double SurprisingError = 3; // standard deviations of the prediction, noise included

class Learner {
public:
    Learner(const SurrogateProblem& problem, const SamplingSettings& settings)
        : problem_(problem), settings_(settings), draws_(settings.seed),
          dimension_(static_cast<Eigen::Index>(problem.dimension)) {
        for (const TrainingPoint& point : problem.methodRuns) {
            training_.push_back(point);
        }
        result_.kind = SamplingKind::Surrogate;
        result_.seed = settings.seed;
        facts_.methodRunsUsed = static_cast<int>(problem.methodRuns.size());
    }

    SamplingResult Run() {
        Grow(FirstPopulation);
        Refit();
        RunBatch(SpaceFillingBatch(Open(), model_->NoiseSigma(), RoundSize()));
        int metRounds = 0;
        while (true) {
            metRounds = Assess() && Explored() ? metRounds + 1 : 0;
            if (metRounds >= ConsecutiveRounds) {
                const bool atTarget = Cov() && *Cov() <= settings_.targetCov;
                facts_.stoppedBy = atTarget ? "target-cov" : "population";
                facts_.converged = atTarget;
                break;
            }
            const std::vector<Eigen::Index> batch = LearningBatch();
            if (batch.empty()) {
                facts_.stoppedBy = "max-runs";
                break;
            }
            RunBatch(batch);
        }
        JudgeFailedRuns(true);
        return Conclude();
    }

private:
    int RoundSize() const { return std::min(settings_.batch, settings_.maxRuns - facts_.runs); }

    // Explored: 2·d exploratory points run, and the last d of them predicted within the model's
    // uncertainty. A model that has seen one mechanism is sure of it everywhere, and only a run
    // where it has not been shows it wrong.
    bool Explored() const {
        return explored_ >= ExploredPerDirection * problem_.dimension &&
               unsurprised_ >= problem_.dimension;
    }

    // The least certain points, and while the population is little explored, one point far from
    // every point run.
    std::vector<Eigen::Index> LearningBatch() {
        const int size = RoundSize();
        exploratory_.reset();
        if (Explored() || size == 0) {
            return LeastCertainBatch(Open(), model_->Lengths(), size);
        }
        std::vector<Eigen::Index> batch = LeastCertainBatch(Open(), model_->Lengths(), size - 1);
        exploratory_ = ExploratoryPoint(Open(), Seen(), batch);
        if (exploratory_) {
            ++explored_;
            batch.push_back(*exploratory_);
            return batch;
        }
        return LeastCertainBatch(Open(), model_->Lengths(), size);
    }

    // Counts the exploratory point's run as unsurprising where the model predicted it within
    // its uncertainty, and starts the count again where not.
    void JudgeExploration(const PointRun& run, Eigen::Index index) {
        if (!run.factor) {
            return;
        }
        const double spread = std::hypot(prediction_.sigma[index], model_->NoiseSigma());
        const bool surprising =
            std::abs(*run.factor - prediction_.mean[index]) > SurprisingError * spread;
        unsurprised_ = surprising ? 0 : unsurprised_ + 1;
    }

    Eigen::MatrixXd TrainingPoints() const {
        Eigen::MatrixXd points(static_cast<Eigen::Index>(training_.size()), dimension_);
        for (std::size_t k = 0; k < training_.size(); ++k) {
            points.row(static_cast<Eigen::Index>(k)) =
                Eigen::Map<const Eigen::RowVectorXd>(training_[k].u.data(), dimension_);
        }
        return points;
    }

    // The training points and the points whose runs failed.
    Eigen::MatrixXd Seen() const {
        Eigen::MatrixXd seen = TrainingPoints();
        for (std::size_t i = 0; i < failedRun_.size(); ++i) {
            if (failedRun_[i]) {
                seen.conservativeResize(seen.rows() + 1, Eigen::NoChange);
                seen.bottomRows(1) = population_.row(static_cast<Eigen::Index>(i));
            }
        }
        return seen;
    }

    Candidates Open() {
        open_.assign(usable_.begin(), usable_.end());
        for (std::size_t i = 0; i < open_.size(); ++i) {
            open_[i] = usable_[i] && !tried_[i] ? char{1} : char{0};
        }
        return {population_, prediction_, open_};
    }

    // Appends points drawn in their order up to `size`, and predicts them once there is a model.
    void Grow(Eigen::Index size) {
        const Eigen::Index before = population_.rows();
        population_.conservativeResize(size, dimension_);
        for (Eigen::Index i = before; i < size; ++i) {
            const std::vector<double> u = draws_.Next(problem_.dimension);
            population_.row(i) = Eigen::Map<const Eigen::RowVectorXd>(u.data(), dimension_);
            usable_.push_back(!problem_.admissible || problem_.admissible(u) ? char{1} : char{0});
        }
        tried_.resize(static_cast<std::size_t>(size), 0);
        failedRun_.resize(static_cast<std::size_t>(size), 0);
        if (model_) {
            const KrigingPrediction added = model_->Predict(population_.bottomRows(size - before));
            prediction_.mean.conservativeResize(size);
            prediction_.sigma.conservativeResize(size);
            prediction_.mean.tail(size - before) = added.mean;
            prediction_.sigma.tail(size - before) = added.sigma;
        }
    }

    void Refit() {
        Eigen::VectorXd values(static_cast<Eigen::Index>(training_.size()));
        for (std::size_t k = 0; k < training_.size(); ++k) {
            values[static_cast<Eigen::Index>(k)] = training_[k].factor;
        }
        std::optional<Eigen::VectorXd> previous;
        if (model_) {
            previous = model_->Parameters();
        }
        model_ = KrigingModel::Fit(TrainingPoints(), values, {}, previous);
        prediction_ = model_->Predict(population_);
    }

    void RunBatch(const std::vector<Eigen::Index>& chosen) {
        std::vector<std::vector<double>> points;
        for (const Eigen::Index i : chosen) {
            const Eigen::RowVectorXd row = population_.row(i);
            points.emplace_back(row.data(), row.data() + row.size());
            tried_[static_cast<std::size_t>(i)] = 1;
        }
        const std::vector<PointRun> runs = problem_.calculator(points);
        int made = 0;
        for (std::size_t k = 0; k < runs.size(); ++k) {
            made += Take(runs[k], static_cast<std::size_t>(chosen[k]));
            if (exploratory_ == chosen[k]) {
                JudgeExploration(runs[k], chosen[k]);
            }
        }
        ++facts_.rounds;
        facts_.runsPerRound.push_back(made);
        JudgeFailedRuns(false);
        Refit();
    }

    // 1 when the calculator ran for it.
    int Take(const PointRun& run, std::size_t index) {
        if (!run.ran) {
            return 0;
        }
        ++facts_.runs;
        if (run.factor) {
            training_.push_back({run.u, *run.factor});
            return 1;
        }
        failedRun_[index] = 1;
        ++result_.failedRuns;
        if (result_.errors.size() < KeptErrors) {
            result_.errors.push_back(run.error);
        }
        return 1;
    }

    void JudgeFailedRuns(bool stopped) {
        const int runs = facts_.runs;
        if ((runs < JudgedFrom && !stopped) || result_.failedRuns * 10 <= runs) {
            return;
        }
        throw Error(SamplingTitle(SamplingKind::Surrogate) + ": " +
                    FormatInteger(result_.failedRuns, 0) + " of " + FormatInteger(runs, 0) +
                    " runs failed, more than 10 %. The first failure: " + result_.errors[0]);
    }

    std::optional<double> Cov() const { return classification_.Cov(); }

    bool Met() const {
        return (classification_.errorEstimate && *classification_.errorEstimate <= TargetError) ||
               classification_.leastU >= CertainU;
    }

    // Whether this round meets the error criterion, on a population grown while the criterion
    // holds and the population's CoV is above the target.
    bool Assess() {
        classification_ = Classify(prediction_, model_->NoiseSigma(), usable_, failedRun_);
        while (Met() && !(Cov() && *Cov() <= settings_.targetCov) &&
               population_.rows() < MostPopulation) {
            Grow(NextPopulation());
            classification_ = Classify(prediction_, model_->NoiseSigma(), usable_, failedRun_);
        }
        Record();
        return Met();
    }

    // Twice as many points, or as many as the target needs at the present probability.
    Eigen::Index NextPopulation() const {
        const double p = classification_.Probability();
        const double target = settings_.targetCov;
        double size = 2.0 * static_cast<double>(population_.rows());
        if (p > 0) {
            size = std::max(size, 1.05 * (1 - p) / (p * target * target));
        }
        return static_cast<Eigen::Index>(std::min(size, static_cast<double>(MostPopulation)));
    }

    std::array<double, 2> Interval() const {
        const std::array<double, 2> wilson =
            WilsonInterval95(classification_.Probability(), classification_.population);
        if (!classification_.errorEstimate) {
            return {0, 1};
        }
        const double widen = *classification_.errorEstimate;
        return {std::max(wilson[0] * (1 - widen), 0.0), std::min(wilson[1] * (1 + widen), 1.0)};
    }

    void Record() {
        result_.history.push_back({static_cast<int>(classification_.population),
                                   classification_.Probability(), Interval()});
    }

    SamplingResult Conclude() {
        const Classification& c = classification_;
        const double n = static_cast<double>(c.population);
        result_.samples = static_cast<int>(c.population);
        result_.failures = static_cast<int>(c.failed);
        result_.inadmissible = static_cast<int>(c.inadmissible);
        result_.probability = c.Probability();
        result_.cov = c.Cov();
        result_.interval95 = Interval();
        result_.bounds = {static_cast<double>(c.failed - c.uncertainFailed) / n,
                          static_cast<double>(c.failed + c.uncertainSafe + c.inadmissible) / n};
        const double failedRunsCounted =
            static_cast<double>(c.failed + c.failedRunsSafe + c.inadmissible) / n;
        result_.failedRunsDecide = failedRunsCounted > result_.interval95[1];
        if (result_.probability > 0) {
            result_.beta = TailQuantile(result_.probability);
        }
        result_.stoppedByTarget = facts_.stoppedBy == "target-cov";
        facts_.population = static_cast<int>(c.population);
        facts_.errorEstimate = c.errorEstimate;
        const Eigen::VectorXd left = model_->LeaveOneOut();
        for (std::size_t k = 0; k < training_.size(); ++k) {
            facts_.leaveOneOut.push_back({training_[k].factor, left[static_cast<Eigen::Index>(k)]});
        }
        facts_.predictedFactors = BinnedFactors(prediction_, usable_, FactorBinsPerUnit);
        result_.surrogate = facts_;
        return result_;
    }

    const SurrogateProblem& problem_;
    const SamplingSettings& settings_;
    StandardNormalDraws draws_;
    Eigen::Index dimension_;
    std::vector<TrainingPoint> training_;
    Eigen::MatrixXd population_;
    std::vector<char> usable_;
    std::vector<char> tried_;
    std::vector<char> failedRun_;
    std::vector<char> open_;
    std::optional<KrigingModel> model_;
    KrigingPrediction prediction_;
    Classification classification_;
    SurrogateFacts facts_;
    SamplingResult result_;
    std::size_t explored_ = 0;    // exploratory points asked for
    std::size_t unsurprised_ = 0; // of the last exploratory runs, predicted within uncertainty
    std::optional<Eigen::Index> exploratory_; // in the batch being run
};

} // namespace

SamplingResult LearnProbabilityOfFailure(const SurrogateProblem& problem,
                                         const SamplingSettings& settings) {
    return Learner(problem, settings).Run();
}

} // namespace zelmora

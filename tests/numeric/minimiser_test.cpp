// SPDX-License-Identifier: Apache-2.0
#include "numeric/minimiser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace vantor::detail {
namespace {

// Result record written by the test objective: which evaluation produced it, and where.
struct record {
    int evaluation;
    double parameters[2];
};

constexpr record unwritten{-1, {0.0, 0.0}};

// Context of the test objective: computes the value and logs every trial vector.
struct probe {
    int n;
    std::function<double(const double*)> value;
    std::vector<std::vector<double>> trials;
};

double observe(const double* parameters, void* context, void* out) {
    auto& p = *static_cast<probe*>(context);
    record r = unwritten;
    r.evaluation = static_cast<int>(p.trials.size());
    std::copy(parameters, parameters + std::min(p.n, 2), r.parameters);
    p.trials.emplace_back(parameters, parameters + p.n);
    std::memcpy(out, &r, sizeof r);
    return p.value(parameters);
}

minimiser prepared() {
    minimiser m;
    m.init(observe, sizeof(record));
    return m;
}

// One-parameter run; returns the probe, the result record and the final bracket.
struct run {
    probe log;
    record result = unwritten;
    double lower;
    double upper;
    double best;
};

run minimise1(std::function<double(double)> f, double start, double lower, double upper) {
    run r{{1, [f](const double* p) { return f(p[0]); }, {}}, unwritten, lower, upper, 0.0};
    minimiser m = prepared();
    m.minimise(&start, &r.lower, &r.upper, 1, &r.log, &r.result);
    r.best = m.best;
    return r;
}

std::vector<double> trial(double x) { return {x}; }
std::vector<double> trial(double x, double y) { return {x, y}; }

const double nan = std::numeric_limits<double>::quiet_NaN();

TEST(Minimiser, FirstSweepTriesTheExactVertexOfEachParameter) {
    // The parabolas through the samples at -2, 0 and 2 are solved exactly (all intermediate
    // values are small dyadic numbers), so the vertices come out as exactly 1 and -0.5.
    probe log{2,
              [](const double* p) { return (p[0] - 1) * (p[0] - 1) + (p[1] + 0.5) * (p[1] + 0.5); },
              {}};
    const double start[] = {0.0, 0.0};
    double lower[] = {-2.0, -2.0};
    double upper[] = {2.0, 2.0};
    record result = unwritten;
    minimiser m = prepared();
    m.minimise(start, lower, upper, 2, &log, &result);

    ASSERT_GE(log.trials.size(), 7u);
    const std::vector<std::vector<double>> first_sweep = {trial(0, 0),   trial(-2, 0), trial(2, 0),
                                                          trial(1, 0),   trial(1, -2), trial(1, 2),
                                                          trial(1, -0.5)};
    EXPECT_EQ(std::vector<std::vector<double>>(log.trials.begin(), log.trials.begin() + 7),
              first_sweep);
    // Nothing can beat the exact minimum 0, so its record is the final result.
    EXPECT_EQ(result.evaluation, 6);
    EXPECT_EQ(result.parameters[0], 1.0);
    EXPECT_EQ(result.parameters[1], -0.5);
    EXPECT_EQ(m.best, 0.0);
}

TEST(Minimiser, VertexAcceptance) {
    // Vertex exactly on the upper end: tried, since the margin there adds the separation.
    run upper_end = minimise1([](double x) { return (x - 2) * (x - 2); }, 0.0, -2.0, 2.0);
    ASSERT_GE(upper_end.log.trials.size(), 4u);
    EXPECT_EQ(upper_end.log.trials[3], trial(2.0));

    // Vertex exactly on the lower end: not tried; the next trial is the lower end of the second
    // sweep, -2 - 1.
    run lower_end = minimise1([](double x) { return (x + 2) * (x + 2); }, 0.0, -2.0, 2.0);
    ASSERT_GE(lower_end.log.trials.size(), 4u);
    EXPECT_EQ(lower_end.log.trials[3], trial(-3.0));

    // Vertex on the current value: not tried; the second sweep starts at 0 - 1.
    run current = minimise1([](double x) { return x * x; }, 0.0, -2.0, 2.0);
    ASSERT_GE(current.log.trials.size(), 4u);
    EXPECT_EQ(current.log.trials[3], trial(-1.0));
}

TEST(Minimiser, EqualEndsKeepTheLowerOne) {
    // Both ends beat the start equally and the vertex is the start itself: the lower end wins,
    // so the second sweep runs over -1 -+ 0.5.
    run r = minimise1([](double x) { return -x * x; }, 0.0, -1.0, 1.0);
    ASSERT_GE(r.log.trials.size(), 4u);
    EXPECT_EQ(r.log.trials[3], trial(-1.5));
}

TEST(Minimiser, FirstStepIsTheLargerDistanceToABound) {
    // Start 0 in [-1, 3]: step 3. The lower end is the exact minimum (the vertex coincides with
    // it and is not tried), so the second bracket is -1 -+ 1.5.
    run r = minimise1([](double x) { return (x + 1) * (x + 1); }, 0.0, -1.0, 3.0);
    ASSERT_GE(r.log.trials.size(), 4u);
    EXPECT_EQ(r.log.trials[3], trial(-2.5));
    EXPECT_EQ(r.result.evaluation, 1);
}

TEST(Minimiser, ReversedBracketsAreExchanged) {
    run reversed = minimise1([](double x) { return (x - 1) * (x - 1); }, 0.0, 2.0, -2.0);
    ASSERT_GE(reversed.log.trials.size(), 4u);
    EXPECT_EQ(reversed.log.trials[1], trial(-2.0));
    EXPECT_EQ(reversed.log.trials[2], trial(2.0));
    EXPECT_EQ(reversed.log.trials[3], trial(1.0));
    EXPECT_EQ(reversed.result.evaluation, 3);

    // A start outside the second pair ends the call, but the first pair stays exchanged.
    probe log{2, [](const double*) { return 0.0; }, {}};
    const double start[] = {0.0, 5.0};
    double lower[] = {2.0, 0.0};
    double upper[] = {-2.0, 1.0};
    record result = unwritten;
    minimiser m = prepared();
    m.minimise(start, lower, upper, 2, &log, &result);
    EXPECT_TRUE(log.trials.empty());
    EXPECT_EQ(result.evaluation, -1);
    EXPECT_EQ(lower[0], -2.0);
    EXPECT_EQ(upper[0], 2.0);
    EXPECT_EQ(lower[1], 0.0);
    EXPECT_EQ(upper[1], 1.0);
}

TEST(Minimiser, InvalidCallsEvaluateNothing) {
    probe log{33, [](const double*) { return 0.0; }, {}};
    const std::vector<double> start(33, 0.0);
    std::vector<double> lower(33, 1.0);  // reversed pairs: untouched when n is rejected
    std::vector<double> upper(33, -1.0);
    record result = unwritten;
    minimiser m = prepared();
    for (int n : {0, 33, -1}) {
        m.minimise(start.data(), lower.data(), upper.data(), n, &log, &result);
    }
    EXPECT_TRUE(log.trials.empty());
    EXPECT_EQ(result.evaluation, -1);
    EXPECT_EQ(lower[0], 1.0);
    EXPECT_EQ(upper[0], -1.0);

    EXPECT_TRUE(minimise1([](double) { return 0.0; }, -1.5, -1.0, 1.0).log.trials.empty());
    EXPECT_EQ(minimise1([](double) { return 0.0; }, 1.5, -1.0, 1.0).result.evaluation, -1);

    // A start on a bound is accepted: the first bracket then has one end at the start.
    run on_bound = minimise1([](double x) { return x; }, 1.0, 1.0, 3.0);
    ASSERT_GE(on_bound.log.trials.size(), 3u);
    EXPECT_EQ(on_bound.log.trials[1], trial(1.0));
    EXPECT_EQ(on_bound.log.trials[2], trial(3.0));
}

TEST(Minimiser, ZeroWidthBracketsNeverMove) {
    // Both ends equal the current value, so no vertex passes and nothing changes; the second
    // sweep then stops the search: 1 + 2 sweeps * 2 parameters * 2 ends = 9 evaluations.
    probe log{
        2, [](const double* p) { return (p[0] - 1) * (p[0] - 1) + (p[1] - 1) * (p[1] - 1); }, {}};
    const double start[] = {0.5, -0.25};
    double lower[] = {0.5, -0.25};
    double upper[] = {0.5, -0.25};
    record result = unwritten;
    minimiser m = prepared();
    m.minimise(start, lower, upper, 2, &log, &result);
    EXPECT_EQ(log.trials,
              std::vector<std::vector<double>>(9, std::vector<double>(start, start + 2)));
    EXPECT_EQ(result.evaluation, 0);
    EXPECT_EQ(lower[0], 0.5);
    EXPECT_EQ(upper[1], -0.25);
}

TEST(Minimiser, MinimumOutsideTheCallersBoundsIsReachedInTheSecondSweep) {
    // The first sweep ends at the bound 1 (the vertex 1.5 lies beyond it); the second bracket
    // [0.5, 1.5] reaches the exact minimum, and nothing beats its value 0 later.
    run r = minimise1([](double x) { return (x - 1.5) * (x - 1.5); }, 0.0, -1.0, 1.0);
    ASSERT_GE(r.log.trials.size(), 5u);
    EXPECT_EQ(r.log.trials[3], trial(0.5));
    EXPECT_EQ(r.log.trials[4], trial(1.5));
    EXPECT_EQ(r.result.evaluation, 4);
    EXPECT_EQ(r.result.parameters[0], 1.5);
    EXPECT_EQ(r.best, 0.0);
    // Ten sweeps: the bracket is centred on 1.5 with half width 1 / 2^10.
    EXPECT_EQ(r.lower, 1.5 - std::ldexp(1.0, -10));
    EXPECT_EQ(r.upper, 1.5 + std::ldexp(1.0, -10));
}

// Stopping rule. The objective is f(x) = lift (for x > threshold) - k (x - 10)^2, started at 2
// within [1, 3]. The concave part's vertex 10 lies far beyond every bracket, so where the lift
// plays no part a line search evaluates the two ends only, and the lower end always wins:
// sweep s runs over [2^(1-s), 3 * 2^(1-s)] and ends at 2^(1-s). A bracket that straddles the
// threshold also tries a vertex (the parabola through the samples peaks inside it), which loses.
struct stopping_case {
    const char* name;
    double lift;
    double threshold;
    double k;
    int evaluations;
    int winner;       // evaluation whose record is the result
    double position;  // where the winner was evaluated
    double lower;     // bracket on return
    double upper;
};

class StoppingRule : public testing::TestWithParam<stopping_case> {};

TEST_P(StoppingRule, CountsEvaluationsAndKeepsTheBestRecord) {
    const stopping_case c = GetParam();
    run r = minimise1(
        [&c](double x) { return (x > c.threshold ? c.lift : 0.0) - c.k * (x - 10) * (x - 10); },
        2.0, 1.0, 3.0);
    EXPECT_EQ(static_cast<int>(r.log.trials.size()), c.evaluations);
    EXPECT_EQ(r.result.evaluation, c.winner);
    EXPECT_EQ(r.result.parameters[0], c.position);
    EXPECT_EQ(r.lower, c.lower);
    EXPECT_EQ(r.upper, c.upper);
}

const double last_position = std::ldexp(1.0, -9);  // 2^(1-10)
const double last_lower = std::ldexp(1.0, -10);
const double last_upper = 3 * std::ldexp(1.0, -10);

INSTANTIATE_TEST_SUITE_P(
    Minimiser, StoppingRule,
    testing::Values(
        // Sweep 1 gains 17: all ten sweeps of two evaluations; the last lower end wins.
        stopping_case{"LargeGains", 0.0, 0.0, 1.0, 1 + 10 * 2, 19, last_position, last_lower,
                      last_upper},
        // Gains 8.5e-5 and 4.625e-5, each below 1e-4 although together above it (sweep 2 is
        // measured against the end of sweep 1): stop after sweep 2, whose bracket [0.5, 1.5] is
        // not halved.
        stopping_case{"TwoSmallSweeps", 0.0, 0.0, 5e-6, 1 + 2 * 2, 3, 0.5, 0.5, 1.5},
        // Sweep 1 drops by about 1 (onto x = 1); sweeps 2 and 3 gain < 1e-4 each, but are still
        // measured against the start value. Sweeps 1 and 2 straddle the threshold (3 each).
        stopping_case{"LargeThenSmall", 1.0, 1.0, 1e-6, 1 + 3 + 3 + 8 * 2, 21, last_position,
                      last_lower, last_upper},
        // Sweep 1 gains 17e-6, sweep 2 drops by about 1 (onto x = 0.5, straddling 0.75).
        stopping_case{"SmallThenLarge", 1.0, 0.75, 1e-6, 1 + 2 + 3 + 8 * 2, 20, last_position,
                      last_lower, last_upper}),
    [](const testing::TestParamInfo<stopping_case>& info) { return std::string(info.param.name); });

TEST(Minimiser, NotANumberNeverWins) {
    // NaN everywhere but at the start: nothing moves (the parabola is NaN, so no vertex), and two
    // sweeps of two evaluations end the search.
    run only_start = minimise1([](double x) { return x == 0.0 ? 3.0 : nan; }, 0.0, -1.0, 1.0);
    EXPECT_EQ(only_start.log.trials.size(), 5u);
    EXPECT_EQ(only_start.result.evaluation, 0);
    EXPECT_EQ(only_start.best, 3.0);

    // NaN at the start: nothing beats it, and a NaN change is never within tolerance, so all ten
    // sweeps run.
    run nan_start = minimise1([](double x) { return x == 0.0 ? nan : x * x; }, 0.0, -1.0, 1.0);
    EXPECT_EQ(nan_start.log.trials.size(), 1u + 10 * 2);
    EXPECT_EQ(nan_start.result.evaluation, 0);
    EXPECT_EQ(nan_start.lower, -std::ldexp(1.0, -10));
    EXPECT_EQ(nan_start.upper, std::ldexp(1.0, -10));

    // NaN at the lower end does not stop the upper end (the exact minimum) from winning.
    run nan_low =
        minimise1([](double x) { return x < 0.0 ? nan : (x - 1) * (x - 1); }, 0.0, -1.0, 1.0);
    ASSERT_GE(nan_low.log.trials.size(), 4u);
    EXPECT_EQ(nan_low.log.trials[3], trial(0.5));  // no vertex: sweep 2 starts at 1 - 0.5
    EXPECT_EQ(nan_low.result.evaluation, 2);
    EXPECT_EQ(nan_low.best, 0.0);
}

}  // namespace
}  // namespace vantor::detail

// SPDX-License-Identifier: Apache-2.0
#include "numeric/periodic_spline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace vantor {
namespace detail {
namespace {

constexpr double two_pi = 6.283185307179586477;

struct harmonic {
    int k;
    double amplitude, phase;
};

double profile(const std::vector<harmonic>& parts, double theta) {
    double r = 0.0;
    for (const harmonic& h : parts) r += h.amplitude * std::cos(h.k * theta + h.phase);
    return r;
}

struct spline_case {
    int knots;
    double jitter;  // of each knot, as a fraction of the mean spacing
    std::size_t count;
    std::vector<harmonic> parts;
};

TEST(PeriodicSpline, StaysWithinTheFourthDerivativeBound) {
    // The error bound 5/384 h^4 max|f''''| <= 5/384 h^4 sum a k^4, h the widest gap. Linear
    // interpolation, or a spline with wrong end conditions, would miss it by orders of magnitude.
    const spline_case cases[] = {
        {360, 0.45, 360, {{2, 0.002, 0.3}, {3, 0.003, -1.0}, {7, 0.001, 2.0}}},
        {1440, 0.35, 1440, {{5, 0.001, 0.0}, {20, 0.0005, 1.0}, {60, 0.0002, -2.0}}},
        {50, 0.3, 977, {{1, 0.01, 0.5}, {4, 0.002, 1.5}}},
        {3600, 0.0, 1000, {{150, 0.001, 0.7}}},
    };
    std::mt19937 rng(11);
    for (const spline_case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.knots << " knots");
        std::uniform_real_distribution<double> jitter(-c.jitter, c.jitter);
        profile_knots knots;
        for (int i = 0; i < c.knots; ++i) {
            const double t = two_pi * (i + 0.5 + jitter(rng)) / c.knots;
            knots.angles.push_back(t);
            knots.values.push_back(profile(c.parts, t));
        }
        double fourth = 0.0;
        for (const harmonic& h : c.parts) fourth += h.amplitude * std::pow(h.k, 4);
        const double bound = 5.0 / 384.0 * std::pow(widest_gap(knots.angles), 4) * fourth;

        const std::vector<double> samples = periodic_spline_samples(knots, c.count);
        ASSERT_EQ(samples.size(), c.count);
        for (std::size_t m = 0; m < c.count; ++m) {
            const double t = two_pi * static_cast<double>(m) / static_cast<double>(c.count);
            ASSERT_NEAR(samples[m], profile(c.parts, t), bound + 1e-15) << "sample " << m;
        }
    }
}

TEST(PeriodicSpline, MergesRepeatedSamplesAcrossZeroToo) {
    // A scan that overlaps its start: 6.2830 repeats 0.0001 across 2 pi, 3.0000 and 3.0002
    // repeat one place; merged with spacing 0.01, each pair becomes one knot at its mean.
    const std::vector<double> angles = {0.0001, 1.0, 3.0, 3.0002, 5.0, 6.2830};
    const std::vector<double> values = {1.0, 2.0, 3.0, 5.0, 6.0, 3.0};
    const profile_knots k = merged_knots(angles, values, 0.01);
    const double across = (0.0001 + 6.2830 - two_pi) / 2;  // just below 0: wraps to the end
    const std::vector<double> expected_angles = {1.0, 3.0001, 5.0, across + two_pi};
    const std::vector<double> expected_values = {2.0, 4.0, 6.0, 2.0};
    ASSERT_EQ(k.angles.size(), expected_angles.size());
    for (std::size_t i = 0; i < expected_angles.size(); ++i) {
        EXPECT_NEAR(k.angles[i], expected_angles[i], 1e-12) << i;
        EXPECT_DOUBLE_EQ(k.values[i], expected_values[i]) << i;
    }
    EXPECT_NEAR(widest_gap(k.angles), 3.0001 - 1.0, 1e-12);
}

}  // namespace
}  // namespace detail
}  // namespace vantor

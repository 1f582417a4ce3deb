// SPDX-License-Identifier: Apache-2.0
#include "numeric/closed_profile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "numeric/fourier.h"

namespace vantor {
namespace detail {
namespace {

constexpr double two_pi = 6.283185307179586477;

struct component {
    int k;
    double amplitude, phase;
};

// sum of amplitude * cos(k theta + phase) at theta = start + 2 pi n / count, each component
// scaled by weight(k).
template <typename Weight>
std::vector<double> sampled(const std::vector<component>& parts, std::size_t count, double start,
                            Weight weight) {
    std::vector<double> x(count, 0.0);
    for (std::size_t n = 0; n < count; ++n) {
        const double theta = start + two_pi * static_cast<double>(n) / static_cast<double>(count);
        for (const component& c : parts) {
            x[n] += weight(c.k) * c.amplitude * std::cos(c.k * theta + c.phase);
        }
    }
    return x;
}

struct pure_harmonics {
    std::size_t count;
    double start;
    double cutoff;
    std::vector<component> parts;
};

// Any length, odd and prime ones included, with harmonics below, at and above the cutoff and,
// for an even length, at N/2 (which the samples show only as amplitude * cos(phase) * (-1)^n).
const pure_harmonics cases[] = {
    {3600, 0.0, 50.0, {{2, 1.0, 0.3}, {3, 0.5, -2.0}, {50, 0.25, 1.0}, {150, 0.125, 2.5}}},
    {3600, 0.4, 15.0, {{5, 0.3, 3.0}, {15, 1.0, -0.5}, {40, 0.2, 0.0}}},
    {1001, -1.2, 150.0, {{7, 0.7, 1.1}, {150, 0.4, -3.0}, {500, 0.3, 0.2}}},
    {97, 2.0, 500.0, {{1, 0.2, 0.1}, {48, 1.0, -1.4}}},
    {100000, 0.0, 500.0, {{3, 1.0, 0.7}, {500, 1.0, -0.7}, {20000, 0.5, 2.0}}},
    {8, 0.0, 2.5, {{1, 1.0, 0.5}, {4, 0.75, 0.0}}},
};

TEST(ClosedProfile, SpectrumAndGaussianFilterOfPureHarmonics) {
    for (const pure_harmonics& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " samples, cutoff " << c.cutoff);
        double total = 0.0;
        for (const component& p : c.parts) total += p.amplitude;
        const double tolerance = 1e-12 * total;

        std::vector<std::complex<double>> coefficients =
            real_dft(sampled(c.parts, c.count, c.start, [](int) { return 1.0; }));
        ASSERT_EQ(coefficients.size(), c.count / 2 + 1);
        for (std::size_t k = 1; k <= c.count / 2; ++k) {
            const sinusoid s = harmonic_of(coefficients[k], c.count, k, c.start);
            const component* part = nullptr;
            for (const component& p : c.parts) {
                if (static_cast<std::size_t>(p.k) == k) part = &p;
            }
            if (part == nullptr) {
                EXPECT_LT(s.amplitude, tolerance) << "UPR " << k;
                continue;
            }
            EXPECT_NEAR(s.amplitude, part->amplitude, tolerance) << "UPR " << k;
            EXPECT_NEAR(std::remainder(s.phase - part->phase, two_pi), 0.0,
                        tolerance / part->amplitude)
                << "UPR " << k;
        }

        // The filtered profile is each harmonic times exp(-ln 2 (k / cutoff)^2), which is 1/2 at
        // the cutoff.
        const auto transmission = [&](int k) {
            return std::exp(-std::log(2.0) * (k / c.cutoff) * (k / c.cutoff));
        };
        apply_gaussian_filter(coefficients, c.cutoff);
        const std::vector<double> filtered = inverse_real_dft(coefficients, c.count);
        const std::vector<double> expected = sampled(c.parts, c.count, c.start, transmission);
        ASSERT_EQ(filtered.size(), c.count);
        for (std::size_t n = 0; n < c.count; ++n) {
            ASSERT_NEAR(filtered[n], expected[n], tolerance) << "sample " << n;
        }
    }
}

}  // namespace
}  // namespace detail
}  // namespace vantor

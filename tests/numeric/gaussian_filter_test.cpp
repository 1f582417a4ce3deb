// SPDX-License-Identifier: Apache-2.0
#include "numeric/gaussian_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace vantor {
namespace detail {
namespace {

constexpr double two_pi = 6.283185307179586477;
constexpr double cutoff = 0.8;

// The Gaussian filter's transmission, one half at the cutoff.
double expected_transmission(double wavelength) {
    const double r = cutoff / wavelength;
    return std::exp(-std::log(2.0) * r * r);
}

// Samples with no interior spacing pattern: n + 0.3 sin(1.7 n) steps of h.
double uneven(int n, double h) { return (n + 0.3 * std::sin(1.7 * n)) * h; }

// Evenly spaced at 20 points per cutoff (the Gaussian's aliases at 20 / cutoff are
// exp(-pi (20 alpha)^2), nothing), the filter at least one cutoff from the ends passes a sine
// with the Gaussian's transmission; leaving out the weights beyond the cutoff moves it by at
// most 1.5e-7.
TEST(GaussianFilter, ProfileTransmission) {
    for (double wavelength : {cutoff, 10 * cutoff, cutoff / 10, 2 * cutoff, cutoff / 2}) {
        SCOPED_TRACE(wavelength);
        const double h = cutoff / 20;
        std::vector<double> x, z;
        for (int n = 0; n <= 200; ++n) {
            x.push_back(n * h - 3.0);
            z.push_back(std::cos(two_pi * x.back() / wavelength + 0.4));
        }
        const filtered_values f = filter_open_profile(x, z, cutoff);
        EXPECT_NEAR(f.median_spacing, h, 1e-12);
        EXPECT_NEAR(open_gaussian_transmission(wavelength, cutoff),
                    expected_transmission(wavelength), 1e-12);
        const double t = expected_transmission(wavelength);
        for (std::size_t i = 0; i < x.size(); ++i) {
            if (x[i] < x.front() + cutoff || x[i] > x.back() - cutoff) continue;
            ASSERT_NEAR(f.values[i], t * z[i], 1e-6) << x[i];
        }
    }
}

// A straight line passes unchanged up to the ends, at uneven spacing, in any order, and a
// lone sample or repeated positions keep their mean.
TEST(GaussianFilter, ProfileKeepsLinearTrend) {
    std::vector<double> x, z;
    for (int n = 60; n >= 0; --n) {
        x.push_back(uneven(n, cutoff / 9) + 100.0);
        z.push_back(2.0 - 0.7 * x.back());
    }
    x.push_back(x.back());  // a repeated position
    z.push_back(z.back());
    const filtered_values f = filter_open_profile(x, z, cutoff);
    for (std::size_t i = 0; i < x.size(); ++i) EXPECT_NEAR(f.values[i], z[i], 1e-9) << x[i];

    EXPECT_EQ(filter_open_profile({1.0}, {4.0}, cutoff).values, std::vector<double>{4.0});
    EXPECT_NEAR(filter_open_profile({1.0, 1.0}, {4.0, 6.0}, cutoff).values[0], 5.0, 1e-12);
    // Samples further apart than the cutoff are left alone.
    EXPECT_EQ(filter_open_profile({0.0, 1.0}, {4.0, 6.0}, cutoff).values,
              (std::vector<double>{4.0, 6.0}));
}

// The areal filter on a square grid (20 points per cutoff) passes a wave in any direction with
// the same transmission, at least one cutoff from the edges; the weights beyond the cutoff
// carry 6.5e-7 of the total.
TEST(GaussianFilter, ArealTransmission) {
    const double h = cutoff / 20;
    for (double wavelength : {cutoff, 10 * cutoff, cutoff / 10}) {
        for (double angle : {0.0, 0.6}) {
            SCOPED_TRACE(wavelength);
            SCOPED_TRACE(angle);
            std::vector<point2> xy;
            std::vector<double> z;
            for (int i = 0; i <= 60; ++i)
                for (int j = 0; j <= 60; ++j) {
                    xy.push_back({i * h + 5.0, j * h - 7.0});
                    const double s = xy.back().x * std::cos(angle) + xy.back().y * std::sin(angle);
                    z.push_back(0.3 + std::sin(two_pi * s / wavelength));
                }
            const filtered_values f = filter_areal(xy, z, cutoff);
            EXPECT_NEAR(f.median_spacing, h, 1e-12);
            const double t = expected_transmission(wavelength);
            for (std::size_t k = 0; k < xy.size(); ++k) {
                if (xy[k].x < 5.0 + cutoff || xy[k].x > 5.0 + 60 * h - cutoff ||
                    xy[k].y < -7.0 + cutoff || xy[k].y > -7.0 + 60 * h - cutoff)
                    continue;
                ASSERT_NEAR(f.values[k], 0.3 + t * (z[k] - 0.3), 2e-6);
            }
        }
    }
}

// A tilted plane passes unchanged up to the edges on scattered points, and along a single scan
// line (whose neighbourhoods have no spread across it) a linear trend does too.
TEST(GaussianFilter, ArealKeepsLinearTrend) {
    for (bool line : {false, true}) {
        SCOPED_TRACE(line);
        std::vector<point2> xy;
        std::vector<double> z;
        for (int i = 0; i < 40; ++i)
            for (int j = 0; j < (line ? 1 : 40); ++j) {
                const double u = uneven(i, cutoff / 8), v = uneven(j + 7, cutoff / 8);
                xy.push_back(line ? point2{u, 0.5 * u} : point2{u, v});
                z.push_back(1.0 + 0.2 * xy.back().x - 0.9 * xy.back().y);
            }
        const filtered_values f = filter_areal(xy, z, cutoff);
        for (std::size_t k = 0; k < xy.size(); ++k) ASSERT_NEAR(f.values[k], z[k], 1e-9);
    }
}

}  // namespace
}  // namespace detail
}  // namespace vantor

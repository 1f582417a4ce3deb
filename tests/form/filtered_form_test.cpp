// SPDX-License-Identifier: Apache-2.0
#include "vantor/filtered_form.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace vantor {
namespace {

constexpr double two_pi = 6.283185307179586477;
constexpr double cutoff = 0.25;

double transmission(double wavelength) {
    const double r = cutoff / wavelength;
    return std::exp(-std::log(2.0) * r * r);
}

// A line along (2, 3, 6) / 7 and a face in the plane of it and `across` ^ it; deviations along
// `across` = (-3, 6, -2) / 7 (its largest component positive, so positive).
const spanto::point origin(10, -5, 3);
const spanto::vector along(2.0 / 7, 3.0 / 7, 6.0 / 7), across(-3.0 / 7, 6.0 / 7, -2.0 / 7);
const spanto::vector side = across ^ along;

// Points at t = -half .. half in steps of cutoff / per_cutoff along the line, deviating by
// z(t) across it.
actual profile(double per_cutoff, double half, const std::function<double(double)>& z) {
    const int k = static_cast<int>(std::lround(half / cutoff * per_cutoff));
    actual points(2 * k + 1);
    for (int i = -k; i <= k; ++i) {
        const double t = i * cutoff / per_cutoff;
        points.append(origin + t * along + z(t) * across);
    }
    return points;
}

// A face of rows y = 0 .. width at the same steps, its height z(t).
actual face(double per_cutoff, double half, double width, const std::function<double(double)>& z) {
    const int k = static_cast<int>(std::lround(half / cutoff * per_cutoff));
    const int rows = static_cast<int>(std::lround(width / cutoff * per_cutoff));
    actual points((2 * k + 1) * (rows + 1));
    for (int j = 0; j <= rows; ++j)
        for (int i = -k; i <= k; ++i) {
            const double t = i * cutoff / per_cutoff, y = j * cutoff / per_cutoff;
            points.append(origin + t * along + y * side + z(t) * across);
        }
    return points;
}

// The profiles are even in t over a symmetric range, so the filtered profile is even too and
// its reference has no tilt: the deviations are the filtered profile less a constant. One
// cutoff from the ends the filter passes a sine with the Gaussian's transmission (within the
// 1.5e-7 of the weights beyond the cutoff), so every deviation there differs from the one at
// t = 0 by T times the profile's difference. Areal, the weights beyond the cutoff carry 6.5e-7
// of the total, up to 1.3e-6 where an edge of the narrow face halves the window: a difference
// of two deviations moves by at most 2 * 2 a * 1.3e-6.
TEST(FilteredForm, TransmissionOfSines) {
    const double half = 7.5 * cutoff, amplitude = 0.01;
    for (double wavelength : {cutoff, 10 * cutoff, cutoff / 10, 2 * cutoff}) {
        SCOPED_TRACE(wavelength);
        const auto z = [&](double t) { return amplitude * std::cos(two_pi * t / wavelength); };
        const double t_z = transmission(wavelength);
        const filtered_straightness s = filter_straightness(profile(50, half, z), cutoff);
        ASSERT_TRUE(s.valid()) << s.error;
        EXPECT_TRUE(s.warning.empty());
        EXPECT_LT(s.across, 1e-12);
        const std::size_t centre = s.deviations.size() / 2;
        for (std::size_t i = 0; i < s.deviations.size(); ++i) {
            const double t = (static_cast<double>(i) - centre) * cutoff / 50;
            if (std::fabs(t) > half - cutoff) continue;
            ASSERT_NEAR(s.deviations[i] - s.deviations[centre], t_z * (z(t) - z(0)),
                        1e-6 * amplitude)
                << t;
        }

        const filtered_flatness f = filter_flatness(face(25, half, 1.2 * cutoff, z), cutoff);
        ASSERT_TRUE(f.valid()) << f.error;
        EXPECT_TRUE(f.warning.empty());
        const std::size_t row = 2 * static_cast<std::size_t>(std::lround(half / cutoff * 25)) + 1;
        for (std::size_t i = 0; i < f.deviations.size(); ++i) {
            const double t = (static_cast<double>(i % row) - row / 2) * cutoff / 25;
            if (std::fabs(t) > half - cutoff) continue;
            ASSERT_NEAR(f.deviations[i] - f.deviations[row / 2], t_z * (z(t) - z(0)),
                        5.2e-6 * amplitude)
                << t;
        }
    }
}

// A long wave (10 cutoffs) with a short one (a tenth of the cutoff) on top: its extremes, at
// t = 0 and t = +-5 cutoffs, lie inside, the ends (at +-7.5 cutoffs, where the long wave
// crosses zero) keep at most about 14 % of the short wave's amplitude, so STRt and FLTt are the
// long wave's filtered peak to valley, 2 T a. The maximum sits at t = 0, so the deviation
// there is the p parameter. The rms of a cosine over 1.5 periods about its mean is
// sqrt(1/2 - (2 / (3 pi))^2) of its amplitude; the ends move it by less than 0.5 %.
TEST(FilteredForm, ParametersOfTheFilteredProfile) {
    const double half = 7.5 * cutoff, a = 0.01;
    const auto z = [&](double t) {
        return a * std::cos(two_pi * t / (10 * cutoff)) +
               0.2 * a * std::cos(two_pi * t * 10 / cutoff);
    };
    const double peak = transmission(10 * cutoff) * a;
    const double rms = peak * std::sqrt(0.5 - std::pow(2.0 / (3.0 * M_PI), 2));
    const filtered_straightness s = filter_straightness(profile(50, half, z), cutoff);
    const filtered_flatness f = filter_flatness(face(25, half, 0.6 * cutoff, z), cutoff);
    for (const filtered_profile* r :
         {static_cast<const filtered_profile*>(&s), static_cast<const filtered_profile*>(&f)}) {
        ASSERT_TRUE(r->valid()) << r->error;
        EXPECT_NEAR(r->t, 2 * peak, 1e-6 * a);
        EXPECT_DOUBLE_EQ(r->t, r->p + r->v);
        EXPECT_NEAR(r->q, rms, 0.005 * rms);
    }
    EXPECT_DOUBLE_EQ(s.p, s.deviations[s.deviations.size() / 2]);
    EXPECT_NEAR(dot(s.direction, across), 1.0, 1e-9);
    EXPECT_NEAR(dot(f.plane.normal, across), 1.0, 1e-9);
}

// The warning appears when the spacing exceeds cutoff / 7, and only then.
TEST(FilteredForm, SparseSamplingWarning) {
    const auto flat = [](double) { return 0.0; };
    for (double per_cutoff : {3.0, 6.9, 7.0, 7.1, 20.0}) {
        SCOPED_TRACE(per_cutoff);
        const bool sparse = per_cutoff < 7.0;
        const filtered_straightness s = filter_straightness(profile(per_cutoff, 8, flat), cutoff);
        const filtered_flatness f = filter_flatness(face(per_cutoff, 1, 0.5, flat), cutoff);
        for (const filtered_profile* r :
             {static_cast<const filtered_profile*>(&s), static_cast<const filtered_profile*>(&f)}) {
            ASSERT_TRUE(r->valid()) << r->error;
            EXPECT_NEAR(r->median_spacing, cutoff / per_cutoff, 1e-9);
            EXPECT_EQ(!r->warning.empty(), sparse) << r->warning;
        }
    }
}

TEST(FilteredForm, Failures) {
    const double nan = std::numeric_limits<double>::quiet_NaN(),
                 inf = std::numeric_limits<double>::infinity();
    const actual good = face(10, 1, 1, [](double) { return 0.0; });
    for (double c : {0.0, -1.0, nan, inf}) {
        EXPECT_EQ(filter_straightness(good, c).status, status::refused) << c;
        EXPECT_EQ(filter_flatness(good, c).status, status::refused) << c;
    }
    actual one(2), line(3), far(3);
    one.append(1, 2, 3);
    one.append(nan, 0, 0);  // left out
    for (int i = 0; i < 3; ++i) line.append(i, 2.0 * i, 0);
    far.append(0, 0, 0);
    far.append(1, 0, 0);
    far.append(0, inf, 0);
    const filtered_straightness s = filter_straightness(one, cutoff);
    EXPECT_EQ(s.status, status::too_few_points);
    EXPECT_TRUE(std::isnan(s.t));
    EXPECT_EQ(filter_flatness(line, cutoff).status, status::degenerate);
    EXPECT_TRUE(filter_straightness(line, cutoff).valid());
    EXPECT_EQ(filter_straightness(line, cutoff).status, status::ok);
    EXPECT_EQ(filter_straightness(far, cutoff).status, status::invalid_points);
    EXPECT_EQ(filter_flatness(far, cutoff).status, status::invalid_points);
    actual wide(3);  // 1e12 cutoffs across at most
    wide.append(0, 0, 0);
    wide.append(1, 0, 0);
    wide.append(0, 1, 0);
    EXPECT_EQ(filter_flatness(wide, 1e-13).status, status::refused);
    EXPECT_TRUE(filter_flatness(wide, 2e-12).valid());
    actual huge(3);  // finite, but their squares are not
    for (int i = 0; i < 3; ++i) huge.append(1e300 * i, 1e300 * i * i, 0);
    for (const filtered_profile& f :
         {static_cast<filtered_profile>(filter_straightness(huge, 1e300)),
          static_cast<filtered_profile>(filter_flatness(huge, 1e300))}) {
        EXPECT_NE(f.error.find("too large"), std::string::npos);
        EXPECT_EQ(f.status, status::invalid_points);
    }
}

}  // namespace
}  // namespace vantor

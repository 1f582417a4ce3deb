// SPDX-License-Identifier: Apache-2.0
#include "vantor/roundness_analysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <thread>
#include <vector>

namespace vantor {
namespace {

constexpr double pi = 3.14159265358979323846;

struct component {
    int k;
    double amplitude, phase;
};

double radius_at(double r0, const std::vector<component>& parts, double theta) {
    double r = r0;
    for (const component& c : parts) r += c.amplitude * std::cos(c.k * theta + c.phase);
    return r;
}

// The profile r0 + parts about `centre` in the plane spanned by u and w (orthonormal), at the
// given angles from u towards w.
actual profile(const spanto::point& centre, const spanto::vector& u, const spanto::vector& w,
               double r0, const std::vector<component>& parts, const std::vector<double>& angles) {
    actual points(static_cast<int>(angles.size()));
    for (const double t : angles) {
        const double r = radius_at(r0, parts, t);
        points.append(centre + r * std::cos(t) * u + r * std::sin(t) * w);
    }
    return points;
}

std::vector<double> equal_angles(int n, double start = 0.0) {
    std::vector<double> angles;
    for (int i = 0; i < n; ++i) angles.push_back(start + 2 * pi * i / n);
    return angles;
}

const spanto::point origin(0, 0, 0);
const spanto::vector x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
const spanto::line z_axis(origin, z);
// The polar frame about z: 0 degrees along y, 90 degrees along -x.
const spanto::vector zero = y, quarter = -x;
const criterion all_criteria[] = {criterion::gauss, criterion::zone, criterion::inscribed,
                                  criterion::circumscribed};

double transmission(double k, double cutoff) {
    return cutoff > 0 ? std::exp(-std::log(2.0) * (k / cutoff) * (k / cutoff)) : 1.0;
}

TEST(RoundnessAnalysis, SingleHarmonicGivesItsFilteredPeakToValleyAboutEveryReference) {
    // A k-lobed profile (k >= 2) is symmetric about its centre, where the reference circles lie;
    // sampled at a multiple of 4k points it shows its crests and troughs, so RONt is 2 a T(k), T
    // the filter's transmission, and RONq a T(k) / sqrt(2) about the mean circles (least
    // squares, minimum zone), a T(k) sqrt(3/2) about the extreme ones. Not the maximum inscribed
    // circle of an oval (k = 2): touching the profile at two points only, it may slide along the
    // major axis until a neighbouring sample stops it.
    struct lobes {
        int k;
        double amplitude;
        double cutoff;
        int points;
    };
    const lobes cases[] = {{3, 0.003, 50, 360},    {2, 0.002, 15, 3600}, {15, 0.001, 15, 3600},
                           {50, 0.001, 150, 1000}, {5, 0.004, 0, 360},   {7, 0.0005, 500, 700}};
    for (const lobes& c : cases) {
        SCOPED_TRACE(testing::Message() << c.k << " UPR, cutoff " << c.cutoff);
        const actual points = profile(spanto::point(0, 0, 4), zero, quarter, 10.0,
                                      {{c.k, c.amplitude, 0.0}}, equal_angles(c.points));
        const roundness_analysis a(points, z_axis, c.cutoff);
        ASSERT_TRUE(a.valid()) << a.error();
        EXPECT_FALSE(a.resampled());
        const double peak = c.amplitude * transmission(c.k, c.cutoff);
        const double tolerance = 1e-9 * c.amplitude;
        for (const criterion r : all_criteria) {
            if (r == criterion::inscribed && c.k == 2) continue;
            const ron_parameters& p = a.parameters(r);
            SCOPED_TRACE(testing::Message() << "criterion " << static_cast<int>(r));
            const bool mean = r == criterion::gauss || r == criterion::zone;
            EXPECT_NEAR(p.ront, 2 * peak, tolerance);
            EXPECT_NEAR(p.ronp + p.ronv, p.ront, 1e-15);
            EXPECT_NEAR(p.ronq, peak * (mean ? std::sqrt(0.5) : std::sqrt(1.5)), tolerance);
            EXPECT_NEAR(p.eccentricity, 0.0, tolerance);
        }
        EXPECT_NEAR(a.parameters(criterion::gauss).ronp, peak, tolerance);
        EXPECT_NEAR(a.parameters(criterion::zone).ronv, peak, tolerance);
        if (c.k > 2) {
            EXPECT_EQ(a.parameters(criterion::inscribed).ronv, 0.0);
        }
        EXPECT_EQ(a.parameters(criterion::circumscribed).ronp, 0.0);
        EXPECT_NEAR(a.origin().z, 4.0, 1e-12);
    }
}

TEST(RoundnessAnalysis, SpectrumFindsEachHarmonicsAmplitudeAndPhase) {
    // About the z axis, where 0 degrees lies along y and 90 along -x; the first sample at 0.1.
    const std::vector<component> parts = {
        {2, 0.002, 0.7}, {3, 0.003, -2.0}, {17, 0.0005, 3.0}, {200, 0.0001, 1.0}};
    const actual points =
        profile(spanto::point(5, -3, 2), zero, quarter, 25.0, parts, equal_angles(720, 0.1));
    const roundness_analysis a(points, spanto::line(spanto::point(5, -3, 0), z), 50);
    ASSERT_TRUE(a.valid()) << a.error();
    ASSERT_EQ(a.harmonic_limit(), 360);
    for (const harmonic& h : a.spectrum()) {
        double amplitude = 0.0, phase = 0.0;
        for (const component& c : parts) {
            if (c.k == h.upr) amplitude = c.amplitude, phase = c.phase;
        }
        EXPECT_NEAR(h.amplitude, amplitude, 1e-12) << "UPR " << h.upr;
        if (amplitude > 0) {
            EXPECT_NEAR(h.phase, phase, 1e-8) << "UPR " << h.upr;
        }
    }
    const std::vector<harmonic> top = a.dominant(3);
    ASSERT_EQ(top.size(), 3u);
    EXPECT_EQ(top[0].upr, 3);
    EXPECT_EQ(top[1].upr, 2);
    EXPECT_EQ(top[2].upr, 17);
}

TEST(RoundnessAnalysis, EccentricityIsTheOffsetOfTheProfileFromTheAxis) {
    // Circles centred off tilted axes; the points equally spaced about the circle's own centre,
    // so unequally about the axis (resampled). Every reference centre lies at the circle's
    // centre: exactly without a filter; with one, within the change the filter makes to the
    // off-centre profile's UPR 2 term e^2 / (4 R).
    struct offset_case {
        spanto::vector axis;
        double along_u, along_w;  // the offset
        double cutoff;
    };
    const offset_case cases[] = {{{0, 0, 1}, 0.02, 0.0, 0},
                                 {{0, 0, 1}, -0.01, 0.03, 50},
                                 {{0.1, -0.2, 1}, 0.05, -0.05, 15},
                                 {{1, 0.001, 0}, 0.0, -0.2, 150}};
    for (const offset_case& c : cases) {
        SCOPED_TRACE(testing::Message() << spanto::toa(c.axis) << " cutoff " << c.cutoff);
        const spanto::vector n = c.axis.unit(), u = n.orthogonal(), w = n ^ u;
        const spanto::point on_axis(1, 2, 3);
        const spanto::vector offset = c.along_u * u + c.along_w * w;
        const actual points = profile(on_axis + offset, u, w, 12.0, {}, equal_angles(3600));
        const roundness_analysis a(points, spanto::line(on_axis, -c.axis), c.cutoff);
        ASSERT_TRUE(a.valid()) << a.error();
        EXPECT_TRUE(a.resampled());
        const double e = offset.length();
        const double tolerance = 1e-10 + (1 - transmission(2, c.cutoff)) * e * e / (4 * 12.0);
        for (const criterion r : all_criteria) {
            const ron_parameters& p = a.parameters(r);
            EXPECT_NEAR(p.eccentricity, e, tolerance);
            EXPECT_NEAR((p.eccentricity_direction - offset.unit()).length(), 0.0, tolerance / e);
            EXPECT_NEAR((p.circle.centre - (on_axis + offset)).length(), 0.0, tolerance);
        }
    }
}

TEST(RoundnessAnalysis, UnequalSpacingAgreesWithEqualSpacingWithinTheSplineBound) {
    // One profile measured at equal angles and at angles jittered by up to 0.35 of the spacing,
    // filtered at 50 UPR: the resampled profile is within eps = 5/384 h^4 sum a k^4 of the
    // equal one, so amplitudes agree within 2 eps and the parameters within a few eps (6 eps).
    const std::vector<component> parts = {
        {2, 0.002, 0.1}, {3, 0.003, 1.0}, {7, 0.001, -2.0}, {20, 0.0005, 2.5}};
    const int n = 1440;
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> jitter(-0.35, 0.35);
    std::vector<double> irregular;
    for (int i = 0; i < n; ++i) irregular.push_back(2 * pi * (i + jitter(rng)) / n);
    double widest = 0.0;
    for (int i = 0; i < n; ++i) {
        const double next = i + 1 < n ? irregular[i + 1] : irregular[0] + 2 * pi;
        widest = std::max(widest, next - irregular[i]);
    }
    double fourth = 0.0;
    for (const component& c : parts) fourth += c.amplitude * std::pow(c.k, 4);
    const double eps = 5.0 / 384.0 * std::pow(widest, 4) * fourth;

    const roundness_analysis equal(profile(origin, zero, quarter, 20.0, parts, equal_angles(n)),
                                   z_axis, 50);
    const roundness_analysis unequal(profile(origin, zero, quarter, 20.0, parts, irregular), z_axis,
                                     50);
    ASSERT_TRUE(equal.valid() && unequal.valid()) << equal.error() << unequal.error();
    EXPECT_FALSE(equal.resampled());
    ASSERT_TRUE(unequal.resampled());
    EXPECT_EQ(unequal.resampled_points(), n);
    EXPECT_EQ(unequal.harmonic_limit(), static_cast<int>(0.4427 / widest));
    for (int k = 1; k <= unequal.harmonic_limit(); ++k) {
        const harmonic& a = equal.spectrum()[k - 1];
        const harmonic& b = unequal.spectrum()[k - 1];
        EXPECT_NEAR(b.amplitude, a.amplitude, 2 * eps) << "UPR " << k;
        if (a.amplitude > 1e-6) {
            EXPECT_NEAR(b.phase, a.phase, 2 * eps / a.amplitude) << "UPR " << k;
        }
    }
    for (const criterion r : all_criteria) {
        const ron_parameters& a = equal.parameters(r);
        const ron_parameters& b = unequal.parameters(r);
        EXPECT_NEAR(b.ront, a.ront, 6 * eps);
        EXPECT_NEAR(b.ronp, a.ronp, 6 * eps);
        EXPECT_NEAR(b.ronv, a.ronv, 6 * eps);
        EXPECT_NEAR(b.ronq, a.ronq, 6 * eps);
        EXPECT_NEAR(b.circle.radius, a.circle.radius, 6 * eps);
    }
}

TEST(RoundnessAnalysis, FailsOnWhatIsNoClosedProfile) {
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> gap;  // every 2 degrees, but none in the 40 degrees below 0
    for (int d = 0; d <= 320; d += 2) gap.push_back(d * pi / 180);
    const actual ring = profile(origin, zero, quarter, 5.0, {}, equal_angles(36));
    actual far = ring;
    far[7] = spanto::point(inf, 0, 0);
    struct failure {
        actual points;
        spanto::line axis;
        double cutoff;
        const char* error;
        vantor::status code;
    };
    const failure cases[] = {
        {profile(origin, zero, quarter, 5.0, {}, equal_angles(2)), z_axis, 0,
         "at least 3 valid points", status::too_few_points},
        {profile(spanto::point(20, 0, 0), zero, quarter, 5.0, {}, equal_angles(36)), z_axis, 0,
         "do not surround the datum axis", status::degenerate},
        {profile(origin, zero, quarter, 5.0, {}, gap), z_axis, 50,
         "40.0 degrees, leaves the profile open", status::degenerate},
        {ring, spanto::line(origin, spanto::vector(0, 0, 0)), 0, "datum axis is invalid",
         status::refused},
        {ring, z_axis, -1, "cutoff", status::refused},
        {ring, z_axis, std::nan(""), "cutoff", status::refused},
        {far, z_axis, 0, "infinite distance", status::invalid_points},
    };
    for (const failure& c : cases) {
        const roundness_analysis a(c.points, c.axis, c.cutoff);
        EXPECT_FALSE(a.valid());
        EXPECT_NE(a.error().find(c.error), std::string::npos) << a.error();
        EXPECT_EQ(a.status(), c.code) << a.error();
        EXPECT_TRUE(a.profile().empty());
        EXPECT_TRUE(a.spectrum().empty());
        EXPECT_TRUE(std::isnan(a.parameters(criterion::zone).ront));
    }
}

TEST(RoundnessAnalysis, PolarFrameKeepsZeroDegreesUnderSmallTilts) {
    struct frame_case {
        spanto::vector direction;
        spanto::vector axis, zero;  // expected
    };
    const double c20 = std::cos(20 * pi / 180), s20 = std::sin(20 * pi / 180);
    const frame_case cases[] = {
        {{0, 0, -2}, {0, 0, 1}, {0, 1, 0}},
        // Tilts either way that change which component is smallest: 0 degrees stays on y.
        {{1e-6, -1e-7, 1}, {1e-6, -1e-7, 1}, {0, 1, 1e-7}},
        {{-1e-7, 1e-6, -1}, {1e-7, -1e-6, 1}, {0, 1, 1e-6}},
        // Up to 20 degrees from y: z projected.
        {{s20, c20 + 1e-9, 0}, {s20, c20 + 1e-9, 0}, {0, 0, 1}},
        {{0, c20 - 1e-9, -s20}, {0, c20 - 1e-9, -s20}, {0, s20, c20}},
    };
    for (const frame_case& c : cases) {
        SCOPED_TRACE(spanto::toa(c.direction));
        const polar_frame f = polar_frame_about(c.direction);
        EXPECT_NEAR((f.axis - c.axis.unit()).length(), 0.0, 1e-9);
        EXPECT_NEAR((f.zero - c.zero.unit()).length(), 0.0, 1e-9);
        EXPECT_NEAR((f.quarter - (f.axis ^ f.zero)).length(), 0.0, 1e-15);
        EXPECT_NEAR(spanto::dot(f.axis, f.zero), 0.0, 1e-15);
    }
    EXPECT_TRUE(polar_frame_about(spanto::vector(0, 0, 0)).zero.invalid());
}

TEST(RoundnessAnalysis, ConcurrentAnalysesAgreeWithSequentialOnes) {
    std::vector<actual> sets;
    for (const int n : {360, 1001, 3600, 4999}) {
        sets.push_back(profile(origin, zero, quarter, 8.0, {{3, 0.002, 0.5}, {11, 0.0007, -1.0}},
                               equal_angles(n, 0.01 * n)));
    }
    std::vector<double> sequential, concurrent(sets.size());
    for (const actual& s : sets) {
        sequential.push_back(roundness_analysis(s, z_axis, 15).parameters(criterion::zone).ront);
    }
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < sets.size(); ++i) {
        threads.emplace_back([&, i] {
            for (int repeat = 0; repeat < 5; ++repeat) {
                concurrent[i] =
                    roundness_analysis(sets[i], z_axis, 15).parameters(criterion::zone).ront;
            }
        });
    }
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(concurrent, sequential);
}

}  // namespace
}  // namespace vantor

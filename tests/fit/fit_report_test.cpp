// SPDX-License-Identifier: Apache-2.0
// What a report of the fitting interface says besides the element: the criterion names, the
// deviation as the form features measure it, invalid points left out, contacts, standard
// uncertainties that match the scatter of repeated fits, and the same results from many
// threads.
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "vantor/feature.h"
#include "vantor/fit.h"
#include "vantor/substitute.h"

namespace vantor {
namespace {

using spanto::point;
using spanto::vector;

constexpr double pi = 3.14159265358979323846;

TEST(FitReport, CriterionNamesRoundTrip) {
    for (criterion c :
         {criterion::gauss, criterion::zone, criterion::inscribed, criterion::circumscribed}) {
        criterion named = criterion::gauss;
        ASSERT_TRUE(criterion_named(criterion_name(c), named));
        EXPECT_EQ(named, c);
    }
    criterion kept = criterion::zone;
    EXPECT_FALSE(criterion_named("Gauss", kept));
    EXPECT_FALSE(criterion_named(nullptr, kept));
    EXPECT_EQ(kept, criterion::zone);
    EXPECT_EQ(criterion_name(static_cast<criterion>(0)), nullptr);
}

// The places of the points are the same for every set (seed 1); the noise draws from `rng`.

// Points about the z axis through (3, -2): radius r0 + slope z (a sphere when sphere is set:
// radius r0 about (3, -2, 0)), z over [0, length), with N(0, noise) radially (and along z when
// length is 0: a circle).
actual surface(std::mt19937_64& noise_rng, int n, double r0, double slope, double length,
               double noise, bool sphere = false) {
    std::mt19937_64 rng(1);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> gauss(0.0, noise);
    actual a(n);
    for (int i = 0; i < n; ++i) {
        const double t = 2 * pi * unit(rng), e = gauss(noise_rng);
        if (sphere) {
            const double polar = std::acos(1 - 2 * unit(rng));
            const double r = r0 + e;
            a.append(3 + r * std::sin(polar) * std::cos(t), -2 + r * std::sin(polar) * std::sin(t),
                     r * std::cos(polar));
        } else {
            const double z = length == 0 ? gauss(noise_rng) : length * unit(rng);
            const double r = r0 + slope * z + e;
            a.append(3 + r * std::cos(t), -2 + r * std::sin(t), z);
        }
    }
    return a;
}

// A tilted patch of a plane (a line when width is 0), with N(0, noise) across it.
actual flat_points(std::mt19937_64& noise_rng, int n, double width, double noise) {
    std::mt19937_64 rng(1);
    std::uniform_real_distribution<double> unit(-0.5, 0.5);
    std::normal_distribution<double> gauss(0.0, noise);
    const vector along = vector(1, 0, 0.3).unit(), side(0, 1, 0), up = along ^ side;
    actual a(n);
    for (int i = 0; i < n; ++i) {
        const double t = 40 * unit(rng), w = width * unit(rng);
        const double across = width == 0 ? gauss(noise_rng) : 0.0;
        a.append(point(1, 2, 3) + t * along + (w + across) * side + gauss(noise_rng) * up);
    }
    return a;
}

// The fits of the interface, each with a generator of its points and the form value the
// matching form feature gives about the fitted element.
struct fitted_kind {
    const char* name;
    std::function<actual(std::mt19937_64&)> points;
    std::function<fit_report(const actual&)> fit;
    std::function<double(const actual&)> form_value;  // NaN: not comparable
};

const fitted_kind kinds[] = {
    {"line", [](std::mt19937_64& r) { return flat_points(r, 100, 0, 0.01); },
     [](const actual& a) { return static_cast<fit_report>(fit_line(a)); },
     [](const actual& a) { return straightness(a, fit_line(a).element).value(); }},
    {"plane", [](std::mt19937_64& r) { return flat_points(r, 100, 30, 0.01); },
     [](const actual& a) { return static_cast<fit_report>(fit_plane(a)); },
     [](const actual& a) { return flatness(a, fit_plane(a).element).value(); }},
    {"circle", [](std::mt19937_64& r) { return surface(r, 100, 10, 0, 0, 0.01); },
     [](const actual& a) { return static_cast<fit_report>(fit_circle(a)); },
     [](const actual& a) { return roundness(a, fit_circle(a).element).value(); }},
    {"circle along z", [](std::mt19937_64& r) { return surface(r, 100, 10, 0, 0, 0.01); },
     [](const actual& a) { return static_cast<fit_report>(fit_circle(a, vector(0, 0, 2))); },
     [](const actual& a) { return roundness(a, fit_circle(a, vector(0, 0, 2)).element).value(); }},
    {"sphere", [](std::mt19937_64& r) { return surface(r, 100, 10, 0, 0, 0.01, true); },
     [](const actual& a) { return static_cast<fit_report>(fit_sphere(a)); },
     [](const actual& a) { return sphereicity(a, fit_sphere(a).element).value(); }},
    {"cylinder", [](std::mt19937_64& r) { return surface(r, 100, 10, 0, 30, 0.01); },
     [](const actual& a) { return static_cast<fit_report>(fit_cylinder(a)); },
     [](const actual&) { return std::numeric_limits<double>::quiet_NaN(); }},
    {"cone", [](std::mt19937_64& r) { return surface(r, 100, 10, 0.5, 20, 0.01); },
     [](const actual& a) { return static_cast<fit_report>(fit_cone(a)); },
     [](const actual& a) { return coneicity(a, fit_cone(a).element).value(); }},
};

TEST(FitReport, DeviationIsTheFormValueAboutTheElement) {
    for (const fitted_kind& k : kinds) {
        std::mt19937_64 rng(5);
        const actual points = k.points(rng);
        const fit_report r = k.fit(points);
        ASSERT_TRUE(r.valid()) << k.name << ": " << r.error;
        EXPECT_EQ(r.points, 100) << k.name;
        const double form = k.form_value(points);
        if (!std::isnan(form)) {
            EXPECT_NEAR(r.deviation, form, 1e-12) << k.name;
        }
        if (std::string(k.name) != "line") {
            EXPECT_NEAR(r.deviation, r.maximum - r.minimum, 1e-15) << k.name;
        }
        EXPECT_TRUE(r.minimum <= r.rms && r.rms <= std::max(-r.minimum, r.maximum)) << k.name;
    }
    // Cylindricity, the largest distance from the cylinder, is the larger extreme.
    std::mt19937_64 rng(5);
    const actual shaft = kinds[5].points(rng);
    const fit_result<spanto::cylinder> c = fit_cylinder(shaft);
    EXPECT_EQ(cylindricity(shaft, c.element).value(), std::max(-c.minimum, c.maximum));
}

TEST(FitReport, InvalidPointsAreLeftOut) {
    for (const fitted_kind& k : kinds) {
        std::mt19937_64 rng(6);
        const actual points = k.points(rng);
        actual holey(2 * points.numpoints());
        for (int i = 0; i < points.numpoints(); ++i) {
            if (i % 9 == 0) holey.append(point());
            holey.append(points[i]);
        }
        const fit_report a = k.fit(points), b = k.fit(holey);
        ASSERT_TRUE(a.valid() && b.valid()) << k.name << ": " << b.error;
        EXPECT_EQ(a.points, b.points) << k.name;
        for (std::size_t i = 0; i < a.parameters.size(); ++i)
            for (int j = 0; j < a.parameters[i].size; ++j)
                EXPECT_NEAR(a.parameters[i].value[j], b.parameters[i].value[j], 1e-10)
                    << k.name << " " << a.parameters[i].name;
        EXPECT_NEAR(a.deviation, b.deviation, 1e-10) << k.name;
    }
}

// Over repeated measurements of the same element the fitted values scatter by their reported
// standard uncertainties.
TEST(FitReport, UncertaintiesMatchTheScatterOfRepeatedFits) {
    constexpr int runs = 200;
    for (const fitted_kind& k : kinds) {
        std::mt19937_64 rng(7);
        std::vector<std::vector<double>> values, uncertainties;
        for (int run = 0; run < runs; ++run) {
            const fit_report r = k.fit(k.points(rng));
            ASSERT_TRUE(r.valid() && r.has_uncertainty) << k.name;
            std::vector<double> v, u;
            for (const fit_parameter& p : r.parameters)
                for (int j = 0; j < p.size; ++j) {
                    v.push_back(p.value[j]);
                    u.push_back(p.uncertainty[j]);
                }
            values.push_back(v);
            uncertainties.push_back(u);
        }
        double largest = 0;
        for (double u : uncertainties[0]) largest = std::max(largest, u);
        for (std::size_t j = 0; j < values[0].size(); ++j) {
            double mean = 0, reported = 0;
            for (int run = 0; run < runs; ++run) {
                mean += values[run][j] / runs;
                reported += uncertainties[run][j] / runs;
            }
            double variance = 0;
            for (int run = 0; run < runs; ++run)
                variance += (values[run][j] - mean) * (values[run][j] - mean) / (runs - 1);
            const double observed = std::sqrt(variance);
            if (reported < 1e-3 * largest && observed < 1e-3 * largest) continue;
            // The sample standard deviation of 200 runs is good to about 5 %.
            EXPECT_NEAR(observed / reported, 1.0, 0.2) << k.name << " value " << j;
        }
    }
}

// A bore with three lobes, and one helical scan of it.
actual bore(double lift) {
    actual a(720);
    for (int i = 0; i < 720; ++i) {
        const double t = 2 * pi * i / 360,
                     r = 25 + 0.01 * std::cos(3 * t) + 0.002 * std::sin(17 * t);
        a.append(40 + r * std::cos(t), -15 + r * std::sin(t), 3 + lift * i);
    }
    return a;
}

TEST(FitReport, CirclesAgreeWithTheExistingExactFitAndRespectTheDirection) {
    const actual ring = bore(0.0);
    const substitute::subtype old[] = {substitute::gauss, substitute::zone, substitute::inscribed,
                                       substitute::circumscribed};
    const criterion now[] = {criterion::gauss, criterion::zone, criterion::inscribed,
                             criterion::circumscribed};
    for (int k = 0; k < 4; ++k) {
        substitute s;
        const spanto::circle before = s.circle(ring, vector(0, 0, 1), old[k]);
        const fit_result<spanto::circle> after = fit_circle(ring, vector(0, 0, 1), now[k]);
        ASSERT_TRUE(after.valid()) << after.error;
        EXPECT_LT(before.centre.distance(after.element.centre), 1e-9) << criterion_name(now[k]);
        EXPECT_NEAR(before.radius, after.element.radius, 1e-9) << criterion_name(now[k]);
        EXPECT_NEAR(s.deviation(), after.deviation, 1e-9) << criterion_name(now[k]);
        EXPECT_EQ(after.has_uncertainty, now[k] == criterion::gauss);
        // Contacts: on the fitted circle (or the zone's boundary), two at least.
        if (now[k] == criterion::gauss) continue;
        EXPECT_GE(after.contacts.size(), now[k] == criterion::zone ? 4u : 2u);
        for (int i : after.contacts) {
            const double d = after.element.axisline().distance(ring[i]) - after.element.radius;
            EXPECT_NEAR(std::abs(d), now[k] == criterion::zone ? 0.5 * after.deviation : 0.0, 1e-9);
        }
    }
    // A helical scan: the circle is about the axis along the given direction, so its roundness
    // is the roundness about that axis.
    const actual helix = bore(0.01);
    const fit_result<spanto::circle> c = fit_circle(helix, vector(0, 0, 3));
    ASSERT_TRUE(c.valid());
    EXPECT_EQ(c.element.normal.x, 0.0);
    EXPECT_EQ(c.element.normal.z, 1.0);
    const fit_result<spanto::circle> flat = fit_circle(ring, vector(0, 0, 1));
    EXPECT_NEAR(c.deviation, flat.deviation, 1e-12);
    EXPECT_NEAR(c.element.centre.z, 3 + 0.01 * 719 / 2, 1e-9);
}

TEST(FitReport, ThreadsGetTheResultsOfOneThread) {
    std::vector<actual> sets;
    std::vector<fit_report> expected;
    for (const fitted_kind& k : kinds) {
        std::mt19937_64 rng(8);
        sets.push_back(k.points(rng));
        expected.push_back(k.fit(sets.back()));
    }
    std::vector<int> mismatches(8, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 20; ++round) {
                for (std::size_t k = 0; k < sets.size(); ++k) {
                    const fit_report r = kinds[k].fit(sets[k]);
                    for (std::size_t i = 0; i < r.parameters.size(); ++i)
                        for (int j = 0; j < 3; ++j)
                            mismatches[t] +=
                                r.parameters[i].value[j] != expected[k].parameters[i].value[j];
                    mismatches[t] += r.deviation != expected[k].deviation;
                }
            }
        });
    }
    for (std::thread& t : threads) t.join();
    for (int t = 0; t < 8; ++t) EXPECT_EQ(mismatches[t], 0) << "thread " << t;
}

}  // namespace
}  // namespace vantor

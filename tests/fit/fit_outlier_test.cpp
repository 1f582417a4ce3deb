// SPDX-License-Identifier: Apache-2.0
// Outliers: three spikes of 1 mm on a part with 2 um of form are counted by every report and
// rejected on request, leaving the fit of the part's own points; the part alone has none.
#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "fit/surfaces.h"
#include "vantor/fit.h"

namespace vantor {
namespace {

using namespace surfaces;

// A part's point at parameters (u, v) in [0, 1)^2, its form included, and the unit direction
// in which a spike moves it off the surface.
struct sample {
    point at;
    vector off;
};
using generator = std::function<sample(const placement&, double u, double v)>;

// Lobes of 2 um about the angle: form that no outlier rule may take for spikes.
double form(double angle) { return 0.002 * std::cos(3.0 * angle); }

struct part {
    const char* name;
    generator make;
    std::function<fit_report(const actual&, criterion, const fit_options&)> fit;
};

const part parts[] = {
    {"line",
     [](const placement& f, double u, double v) {
         // Within a 2 um tube: the distances spread over it evenly.
         const double r = 0.002 * std::sqrt(v), a = 2 * pi * u * 7.0;
         return sample{f.at(r * std::cos(a), r * std::sin(a), 60.0 * u), f.x};
     },
     [](const actual& p, criterion c, const fit_options& o) { return fit_line(p, c, o); }},
    {"plane",
     [](const placement& f, double u, double v) {
         return sample{f.at(40.0 * u, 30.0 * v, form(7.0 * u + 5.0 * v)), f.z};
     },
     [](const actual& p, criterion c, const fit_options& o) { return fit_plane(p, c, o); }},
    {"circle",
     [](const placement& f, double u, double) {
         const double a = 2 * pi * u, r = 10.0 + form(a);
         return sample{f.at(r * std::cos(a), r * std::sin(a), 0.0),
                       std::cos(a) * f.x + std::sin(a) * f.y};
     },
     [](const actual& p, criterion c, const fit_options& o) { return fit_circle(p, c, o); }},
    {"sphere",
     [](const placement& f, double u, double v) {
         const double a = 2 * pi * u, polar = std::acos(1.0 - 2.0 * v), r = 10.0 + form(a);
         const vector d = std::sin(polar) * std::cos(a) * f.x +
                          std::sin(polar) * std::sin(a) * f.y + std::cos(polar) * f.z;
         return sample{f.origin + r * d, d};
     },
     [](const actual& p, criterion c, const fit_options& o) { return fit_sphere(p, c, o); }},
    {"cylinder",
     [](const placement& f, double u, double v) {
         const double a = 2 * pi * u, r = 10.0 + form(a);
         return sample{f.at(r * std::cos(a), r * std::sin(a), 40.0 * v),
                       std::cos(a) * f.x + std::sin(a) * f.y};
     },
     [](const actual& p, criterion c, const fit_options& o) { return fit_cylinder(p, c, o); }},
    {"cone",
     [](const placement& f, double u, double v) {
         const double a = 2 * pi * u, h = 40.0 * v, r = 10.0 + 0.2 * h + form(a);
         return sample{f.at(r * std::cos(a), r * std::sin(a), h),
                       std::cos(a) * f.x + std::sin(a) * f.y};
     },
     [](const actual& p, criterion c, const fit_options& o) { return fit_cone(p, c, o); }},
};

TEST(FitOutliers, SpikesAreCountedAndRejectedOnRequest) {
    constexpr int n = 240;
    const std::vector<int> spikes = {17, 101, 202};
    fit_options reject;
    reject.reject_beyond = 3.0;
    std::uint64_t seed = 1;
    for (const part& p : parts) {
        SCOPED_TRACE(p.name);
        std::mt19937_64 rng(seed++);
        const placement f(rng);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        std::normal_distribution<double> noise(0.0, 0.0002);
        actual clean(n), spiked(n), kept(n - 3);
        for (int i = 0; i < n; ++i) {
            const sample s = p.make(f, unit(rng), unit(rng));
            const point q = s.at + noise(rng) * s.off;
            const bool spike = std::count(spikes.begin(), spikes.end(), i) > 0;
            clean.append(q);
            spiked.append(spike ? q + 1.0 * s.off : q);
            if (!spike) kept.append(q);
        }
        for (const criterion c : {criterion::gauss, criterion::zone}) {
            const fit_report alone = p.fit(clean, c, fit_options());
            ASSERT_TRUE(alone.valid()) << alone.error;
            EXPECT_EQ(alone.outliers, 0);
            const fit_report marred = p.fit(spiked, c, fit_options());
            ASSERT_TRUE(marred.valid()) << marred.error;
            EXPECT_EQ(marred.outliers, 3);
            EXPECT_TRUE(marred.rejected.empty());

            // Rejected: exactly the spikes, and the fit of the other points, contacts indexing
            // the whole set.
            const fit_report cleaned = p.fit(spiked, c, reject);
            ASSERT_TRUE(cleaned.valid()) << cleaned.error;
            EXPECT_EQ(cleaned.rejected, spikes);
            EXPECT_EQ(cleaned.points, n - 3);
            EXPECT_EQ(cleaned.outliers, 0);
            const fit_report reference = p.fit(kept, c, fit_options());
            EXPECT_EQ(cleaned.deviation, reference.deviation);
            ASSERT_EQ(cleaned.contacts.size(), reference.contacts.size());
            for (std::size_t k = 0; k < cleaned.contacts.size(); ++k) {
                const int i = cleaned.contacts[k];
                EXPECT_EQ(std::count(spikes.begin(), spikes.end(), i), 0);
                const int before = static_cast<int>(
                    std::count_if(spikes.begin(), spikes.end(), [i](int s) { return s < i; }));
                EXPECT_EQ(i - before, reference.contacts[k]);
            }
        }
    }
}

TEST(FitOutliers, ThresholdsOutsideTheRangeAreRefused) {
    const actual points = revolution(2, 10, 0, 2 * pi, 20, 60, 0.001);
    for (const double k : {-1.0, 1.0, 1.99, std::nan(""), HUGE_VAL}) {
        fit_options o;
        o.reject_beyond = k;
        EXPECT_FALSE(fit_cylinder(points, criterion::gauss, o).valid()) << k;
    }
    for (const double k : {0.0, 2.0, 3.5}) {
        fit_options o;
        o.reject_beyond = k;
        EXPECT_TRUE(fit_cylinder(points, criterion::gauss, o).valid()) << k;
    }
}

}  // namespace
}  // namespace vantor

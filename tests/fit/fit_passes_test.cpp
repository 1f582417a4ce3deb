// SPDX-License-Identifier: Apache-2.0
// The fits of the fitting interface read a large set a bounded number of times: every element
// under every criterion it has, on a part of 40,000 points (beyond every solver's candidate
// limit, so that the rounds on candidates and the checks on all points run as on millions),
// passes over the points at most 20 times.
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "fit/fit_points.h"
#include "surfaces.h"
#include "vantor/fit.h"

namespace vantor {
namespace {

constexpr int points = 40000;
constexpr long most_passes = 20;

struct part {
    const char* element;
    actual set;
    std::function<fit_report(const actual&, criterion)> fit;
    bool all_criteria;
};

TEST(FitPasses, EveryFitOfALargeSetReadsItAtMostTwentyTimes) {
    const part parts[] = {
        {"line", surfaces::flat(1, 200, 0, points, 0.003),
         [](const actual& a, criterion c) { return fit_line(a, c); }, false},
        {"plane", surfaces::flat(2, 100, 100, points, 0.003),
         [](const actual& a, criterion c) { return fit_plane(a, c); }, false},
        {"circle", surfaces::revolution(3, 25, 0, 2 * surfaces::pi, 0, points, 0.002),
         [](const actual& a, criterion c) { return fit_circle(a, c); }, true},
        {"sphere", surfaces::sphere_cap(4, 12.7, surfaces::pi, points, 0.001),
         [](const actual& a, criterion c) { return fit_sphere(a, c); }, true},
        {"cylinder", surfaces::revolution(5, 12, 0, 2 * surfaces::pi, 40, points, 0.002),
         [](const actual& a, criterion c) { return fit_cylinder(a, c); }, true},
        {"cone", surfaces::revolution(6, 8, 0.27, 2 * surfaces::pi, 30, points, 0.002),
         [](const actual& a, criterion c) { return fit_cone(a, c); }, false},
    };
    for (const part& p : parts) {
        for (criterion c :
             {criterion::gauss, criterion::zone, criterion::inscribed, criterion::circumscribed}) {
            if (!p.all_criteria && c != criterion::gauss && c != criterion::zone) continue;
            SCOPED_TRACE(std::string(p.element) + " " + criterion_name(c));
            const long before = detail::fit_passes();
            const fit_report r = p.fit(p.set, c);
            const long passes = detail::fit_passes() - before;
            EXPECT_TRUE(r.valid()) << r.error;
            EXPECT_GE(passes, 2);  // the scatter (or projection) and the measurement at least
            EXPECT_LE(passes, most_passes);
        }
    }
}

}  // namespace
}  // namespace vantor

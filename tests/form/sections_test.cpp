// SPDX-License-Identifier: Apache-2.0
#include "vantor/sections.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace vantor {
namespace {

constexpr double pi = 3.14159265358979323846;

// Profiles of `per_profile` points at random angles, radius r0 with a 3-lobed form of 2 um
// and 1 um of noise along the axis, at the heights z of a bore in a random pose. label[i] is
// the profile of row i; the rows of the profiles are shuffled together.
struct bore {
    actual points;
    std::vector<int> label;
    spanto::point centre;  // where height 0 of the bore lies
    spanto::vector axis;   // unit
    double r0;
};

bore make_bore(const std::vector<double>& z, int per_profile, double r0, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(-1.0, 1.0), turn(0.0, 2 * pi);
    const spanto::vector a = spanto::vector(unit(rng), unit(rng), unit(rng)).unit();
    const spanto::vector u =
        (a ^ (std::abs(a.x) < 0.6 ? spanto::vector(1, 0, 0) : spanto::vector(0, 1, 0))).unit();
    const spanto::vector w = a ^ u;
    const spanto::point c(100 * unit(rng), 100 * unit(rng), 100 * unit(rng));
    std::vector<std::pair<spanto::point, int>> rows;
    for (std::size_t k = 0; k < z.size(); ++k) {
        for (int i = 0; i < per_profile; ++i) {
            const double t = turn(rng);
            const double r = r0 + 0.002 * std::cos(3 * t + static_cast<double>(k));
            const double h = z[k] + 0.001 * unit(rng);
            rows.emplace_back(c + r * std::cos(t) * u + r * std::sin(t) * w + h * a,
                              static_cast<int>(k));
        }
    }
    std::shuffle(rows.begin(), rows.end(), rng);
    bore b{actual(static_cast<int>(rows.size())), {}, c, a, r0};
    for (const auto& [p, k] : rows) {
        b.points.append(p);
        b.label.push_back(k);
    }
    return b;
}

// The height of the bore's height z along the split's axis.
double height_of(const bore& b, const section_split& s, double z) {
    const spanto::vector d = s.axis.direction;
    const spanto::point p = b.centre + z * b.axis;
    return p.x * d.x + p.y * d.y + p.z * d.z;
}

section_request request_of(section_request::rule how, int count = 0) {
    section_request r;
    r.how = how;
    r.count = count;
    return r;
}
section_request gaps() { return request_of(section_request::rule::gaps); }
section_request whole() { return {}; }

using rule = section_request::rule;

TEST(Sections, SplitBoresIntoTheirProfiles) {
    // Each case lists the profiles' heights and, for cuts, where to cut as bore heights (the
    // test turns them into heights along the found axis). `profiles` lists which bore profiles
    // each section must hold, by increasing height along the bore (the axis may point either
    // way); empty when the split must fail with `error` in its message.
    struct split_case {
        const char* name;
        std::vector<double> z;
        rule how;
        int count;
        std::vector<double> cut_z;
        std::vector<std::vector<int>> profiles;
        const char* error;
    };
    const split_case cases[] = {
        {"four sections over 60, gaps",
         {0, 20, 40, 60},
         rule::gaps,
         0,
         {},
         {{0}, {1}, {2}, {3}},
         ""},
        {"four sections over 60, count",
         {0, 20, 40, 60},
         rule::count,
         4,
         {},
         {{0}, {1}, {2}, {3}},
         ""},
        {"uneven heights, count", {0, 3, 40, 41}, rule::count, 4, {}, {{0}, {1}, {2}, {3}}, ""},
        {"sections 0.5 apart, gaps", {0, 0.5, 1}, rule::gaps, 0, {}, {{0}, {1}, {2}}, ""},
        {"two of four, count", {0, 1, 30, 31}, rule::count, 2, {}, {{0, 1}, {2, 3}}, ""},
        {"cuts", {0, 20, 40, 60}, rule::at, 0, {50, 10}, {{0}, {1, 2}, {3}}, ""},
        {"one profile, gaps", {5}, rule::gaps, 0, {}, {{0}}, ""},
        {"one profile, whole", {5}, rule::whole, 0, {}, {{0}}, ""},
        {"four sections, whole", {0, 20, 40, 60}, rule::whole, 0, {}, {{0, 1, 2, 3}}, ""},
        {"count 0", {0, 20}, rule::count, 0, {}, {}, "into 0 sections"},
        {"count above the profiles", {0, 20}, rule::count, 3, {}, {}, "into 3 sections: 1 gaps"},
        {"cut within a profile", {0, 20}, rule::at, 0, {20}, {}, "falls within a profile"},
        // Beyond either end: above or below, as the axis points.
        {"cut outside", {0, 20}, rule::at, 0, {30}, {}, "no points"},
        {"cut twice", {0, 20}, rule::at, 0, {10, 10}, {}, "no points between"},
    };
    unsigned seed = 1;
    for (const split_case& c : cases) {
        SCOPED_TRACE(c.name);
        const bore b = make_bore(c.z, 72, 20.0, seed++);
        section_request request = request_of(c.how, c.count);
        if (!c.cut_z.empty()) {
            // The axis to turn bore heights into cut heights: the one any split finds.
            const section_split axis_only = split_sections(b.points, whole());
            ASSERT_TRUE(axis_only.valid()) << axis_only.error;
            for (const double z : c.cut_z) request.at.push_back(height_of(b, axis_only, z));
        }
        const section_split s = split_sections(b.points, request);
        if (c.profiles.empty()) {
            EXPECT_NE(s.error.find(c.error), std::string::npos) << s.error;
            EXPECT_EQ(s.status, status::refused) << status_name(s.status);
            continue;
        }
        ASSERT_TRUE(s.valid()) << s.error;
        EXPECT_EQ(s.status, status::ok);
        // The height noise (1 um) tilts the axis of the shortest bore (1 mm) by up to 1e-3.
        EXPECT_LT(1.0 - std::abs(dot(s.axis.direction, b.axis)), 1e-6);
        EXPECT_NEAR(s.radius, 20.0, 0.01);
        EXPECT_DOUBLE_EQ(s.limit, profile_spread_fraction * s.radius);
        ASSERT_EQ(s.sections.size(), c.profiles.size());
        // Sections by increasing height: the bore's profiles in order, or reversed.
        const bool upwards = dot(s.axis.direction, b.axis) > 0;
        for (std::size_t k = 0; k < s.sections.size(); ++k) {
            const section& sec = s.sections[upwards ? k : s.sections.size() - 1 - k];
            std::vector<int> held;
            for (const int row : sec.rows) held.push_back(b.label[row]);
            std::sort(held.begin(), held.end());
            held.erase(std::unique(held.begin(), held.end()), held.end());
            EXPECT_EQ(held, c.profiles[k]) << "section " << k;
            EXPECT_EQ(sec.rows.size(), 72 * c.profiles[k].size());
            EXPECT_TRUE(std::is_sorted(sec.rows.begin(), sec.rows.end()));
            EXPECT_LE(sec.low, sec.height);
            EXPECT_LE(sec.height, sec.high);
            if (c.profiles[k].size() == 1) {
                EXPECT_NEAR(sec.height, height_of(b, s, c.z[c.profiles[k][0]]), 0.001);
            }
        }
        // A section of one profile passes the profile rule; one of several is refused.
        std::size_t wide = s.sections.size();
        for (std::size_t k = s.sections.size(); k-- > 0;) {
            const std::size_t profiles = c.profiles[upwards ? k : s.sections.size() - 1 - k].size();
            if (profiles > 1) wide = k;
        }
        EXPECT_EQ(s.first_wide(), wide);
        if (wide < s.sections.size()) {
            EXPECT_NE(s.wide_message(wide).find("more than a profile may (1 % of the radius"),
                      std::string::npos)
                << s.wide_message(wide);
        }
    }
}

TEST(Sections, AboutAGivenAxisAndInvalidPoints) {
    actual points(6);
    points.append(20, 0, 5);
    points.append(spanto::point());  // invalid: in no section
    points.append(0, 20, 5);
    points.append(-20, 0, 9);
    points.append(0, -20, 9);
    // The axis given downwards is turned to point up: heights are z.
    const section_split s = split_sections(
        points, spanto::line(spanto::point(0, 0, 3), spanto::vector(0, 0, -2)), gaps());
    ASSERT_TRUE(s.valid()) << s.error;
    EXPECT_EQ(s.axis.direction.z, 1.0);
    EXPECT_EQ(s.axis.origin.z, 0.0);
    EXPECT_EQ(s.radius, 20.0);
    ASSERT_EQ(s.sections.size(), 2u);
    EXPECT_EQ(s.sections[0].rows, (std::vector<int>{0, 2}));
    EXPECT_EQ(s.sections[1].rows, (std::vector<int>{3, 4}));
    EXPECT_EQ(s.sections[1].height, 9.0);

    // Failures and their codes.
    const spanto::line none(spanto::point(0, 0, 0), spanto::vector(0, 0, 0));
    const spanto::line z_axis(spanto::point(0, 0, 0), spanto::vector(0, 0, 1));
    actual on_axis(2), no_valid(1);
    on_axis.append(0, 0, 1);
    on_axis.append(0, 0, 2);
    no_valid.append(spanto::point());
    const struct {
        const char* name;
        section_split split;
        status code;
    } failures[] = {
        {"axis without direction", split_sections(points, none, gaps()), status::refused},
        {"points on the axis", split_sections(on_axis, z_axis, gaps()), status::degenerate},
        {"no valid points", split_sections(no_valid, z_axis, gaps()), status::too_few_points},
        // Their own axis: the circle fit of two points fails.
        {"no plane, no cylinder", split_sections(on_axis, gaps()), status::too_few_points},
    };
    for (const auto& f : failures) {
        EXPECT_FALSE(f.split.valid()) << f.name;
        EXPECT_EQ(f.split.status, f.code) << f.name << ": " << status_name(f.split.status);
    }
}

}  // namespace
}  // namespace vantor

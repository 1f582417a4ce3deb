// SPDX-License-Identifier: Apache-2.0
#include <cmath>

#include <gtest/gtest.h>

#include "support/capture.h"
#include "vantor/substitute.h"

namespace vantor {
namespace {

const substitute::subtype criteria[] = {substitute::unspecified, substitute::gauss,
                                        substitute::zone, substitute::inscribed,
                                        substitute::circumscribed};

TEST(Substitute, NewObject) {
    const substitute s;
    EXPECT_EQ(s.type(), element::type_substitute);
    EXPECT_EQ(s.deviation(), 0.0);
    EXPECT_EQ(s.criterion(), substitute::unspecified);
}

TEST(Substitute, CopyAndAssignmentCarryTheElement) {
    substitute source;
    source.name("fitter");
    source.rgbcolor(0x123456);
    substitute copy(source);
    substitute assigned;
    assigned = source;
    for (const substitute* s : {&copy, &assigned}) {
        EXPECT_STREQ(s->name(), "fitter");
        EXPECT_EQ(s->rgbcolor(), 0x123456);
        EXPECT_EQ(s->type(), element::type_substitute);
        EXPECT_EQ(s->deviation(), 0.0);
        EXPECT_EQ(s->criterion(), substitute::unspecified);
    }
}

TEST(Substitute, PointIsTheCentroidWhateverTheCriterion) {
    const spanto::point pts[] = {{0, 0, 0}, {2, 0, 0}, {0, 4, 0}, {2, 4, 6}};
    const actual points(pts, 4, 4);
    const substitute s;
    for (substitute::subtype c : criteria) {
        const spanto::point p = s.point(points, c);
        EXPECT_EQ(p.x, 1.0);
        EXPECT_EQ(p.y, 2.0);
        EXPECT_EQ(p.z, 1.5);
    }
}

TEST(Substitute, PointCountsEveryStoredPoint) {
    const spanto::point pts[] = {{0, 0, 0}, spanto::point(), {2, 2, 2}};
    const substitute s;
    EXPECT_TRUE(s.point(actual(pts, 3, 3), substitute::gauss).invalid());
    EXPECT_TRUE(s.point(actual(5), substitute::gauss).invalid());
}

// Every element form with the point set given as `points` (a reference or a pointer) returns an
// invalid default element.
template <typename Points>
void expect_invalid_elements(const substitute& s, Points points, substitute::subtype c) {
    const spanto::point o(0, 0, 0);
    const spanto::vector v(0, 0, 1);
    EXPECT_TRUE(s.line(points, c).invalid());
    EXPECT_TRUE(s.line(points, spanto::plane(o, v), c).invalid());
    EXPECT_TRUE(s.line(points, v, c).invalid());
    EXPECT_TRUE(s.lineseg(points, c).invalid());
    EXPECT_TRUE(s.lineseg(points, spanto::line(o, v)).invalid());
    EXPECT_TRUE(s.plane(points, c).invalid());
    EXPECT_TRUE(s.plane(points, spanto::plane(o, v), c).invalid());
    EXPECT_TRUE(s.plane(points, v, c).invalid());
    EXPECT_TRUE(s.sphere(points, c).invalid());
    EXPECT_TRUE(s.cylinder(points, c).invalid());
    EXPECT_TRUE(s.cylindersect(points, c).invalid());
    EXPECT_TRUE(s.cylindersect(points, spanto::cylinder(o, v, 1.0)).invalid());
    EXPECT_TRUE(s.cone(points, c).invalid());
    EXPECT_TRUE(s.cone(points, v, c).invalid());
    EXPECT_TRUE(s.conesect(points, c).invalid());
    EXPECT_TRUE(s.conesect(points, spanto::cone(o, 1.0, spanto::point(0, 0, 1), 2.0)).invalid());
}

TEST(Substitute, ElementFormsReturnInvalidDefaultsSilently) {
    const spanto::point pts[] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const actual points(pts, 4, 4);
    const actual* none = nullptr;
    const substitute s;
    const std::string out = testing::printed(5, [&] {
        for (substitute::subtype c : criteria) {
            expect_invalid_elements<const actual&>(s, points, c);
            expect_invalid_elements(s, &points, c);
            expect_invalid_elements(s, none, c);  // the point set is not read
        }
    });
    EXPECT_EQ(out, "");
    EXPECT_EQ(s.deviation(), 0.0);
}

// The circle fits' subtype of each criterion fits the circle that fit_circle fits under it, and
// maps back to it; unspecified is fitted as zone.
TEST(Substitute, SubtypeOfACriterionFitsAsTheCriterion) {
    actual lobed(40);
    for (int i = 0; i < 40; ++i) {
        const double a = 0.157 * i, r = 5 + 0.05 * std::cos(3 * a);
        lobed.append(1 + r * std::cos(a), 2 + r * std::sin(a), 0.5);
    }
    for (criterion c :
         {criterion::gauss, criterion::zone, criterion::inscribed, criterion::circumscribed}) {
        substitute fit;
        const spanto::circle s = fit.circle(lobed, spanto::vector(0, 0, 1), subtype_of(c));
        const fit_result<spanto::circle> f = fit_circle(lobed, spanto::vector(0, 0, 1), c);
        ASSERT_TRUE(f.valid()) << f.error;
        EXPECT_NEAR(s.radius, f.element.radius, 1e-6) << criterion_name(c);
        EXPECT_EQ(criterion_of(subtype_of(c)), c);
    }
    EXPECT_EQ(criterion_of(substitute::unspecified), criterion::zone);
}

}  // namespace
}  // namespace vantor

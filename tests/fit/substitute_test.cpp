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

TEST(Substitute, ElementFormsReturnInvalidDefaultsSilently) {
    const spanto::point pts[] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const actual points(pts, 4, 4);
    const actual* none = nullptr;
    const spanto::plane p(spanto::point(0, 0, 0), spanto::vector(0, 0, 1));
    const spanto::vector v(0, 0, 1);
    const spanto::line l(spanto::point(0, 0, 0), v);
    const spanto::cylinder cyl(spanto::point(0, 0, 0), v, 1.0);
    const spanto::cone cn(spanto::point(0, 0, 0), 1.0, spanto::point(0, 0, 1), 2.0);
    const substitute s;
    const std::string out = testing::printed(5, [&] {
        for (substitute::subtype c : criteria) {
            for (const actual* a : {&points, none}) {
                EXPECT_TRUE(s.line(a, c).invalid());
                EXPECT_TRUE(s.line(a, p, c).invalid());
                EXPECT_TRUE(s.line(a, v, c).invalid());
                EXPECT_TRUE(s.lineseg(a, c).invalid());
                EXPECT_TRUE(s.lineseg(a, l).invalid());
                EXPECT_TRUE(s.plane(a, c).invalid());
                EXPECT_TRUE(s.plane(a, p, c).invalid());
                EXPECT_TRUE(s.plane(a, v, c).invalid());
                EXPECT_TRUE(s.sphere(a, c).invalid());
                EXPECT_TRUE(s.cylinder(a, c).invalid());
                EXPECT_TRUE(s.cylindersect(a, c).invalid());
                EXPECT_TRUE(s.cylindersect(a, cyl).invalid());
                EXPECT_TRUE(s.cone(a, c).invalid());
                EXPECT_TRUE(s.cone(a, v, c).invalid());
                EXPECT_TRUE(s.conesect(a, c).invalid());
                EXPECT_TRUE(s.conesect(a, cn).invalid());
            }
            EXPECT_TRUE(s.line(points, c).invalid());
            EXPECT_TRUE(s.line(points, p, c).invalid());
            EXPECT_TRUE(s.line(points, v, c).invalid());
            EXPECT_TRUE(s.lineseg(points, c).invalid());
            EXPECT_TRUE(s.lineseg(points, l).invalid());
            EXPECT_TRUE(s.plane(points, c).invalid());
            EXPECT_TRUE(s.plane(points, p, c).invalid());
            EXPECT_TRUE(s.plane(points, v, c).invalid());
            EXPECT_TRUE(s.sphere(points, c).invalid());
            EXPECT_TRUE(s.cylinder(points, c).invalid());
            EXPECT_TRUE(s.cylindersect(points, c).invalid());
            EXPECT_TRUE(s.cylindersect(points, cyl).invalid());
            EXPECT_TRUE(s.cone(points, c).invalid());
            EXPECT_TRUE(s.cone(points, v, c).invalid());
            EXPECT_TRUE(s.conesect(points, c).invalid());
            EXPECT_TRUE(s.conesect(points, cn).invalid());
        }
    });
    EXPECT_EQ(out, "");
    EXPECT_EQ(s.deviation(), 0.0);
}

}  // namespace
}  // namespace vantor

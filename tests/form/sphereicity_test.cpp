// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include "form/formatted.h"
#include "support/capture.h"
#include "vantor/feature.h"

namespace vantor {
namespace {

using testing::formatted;
using testing::printed;

const spanto::point origin(0, 0, 0);
// Distances 9.98, 10.00 and 10.03 from the origin.
const spanto::point shell[] = {{9.98, 0, 0}, {0, 10.0, 0}, {0, 0, -10.03}};

TEST(Sphereicity, DistancesFromACentre) {
    const actual points(shell, 3, 3);
    const spanto::sphere datum(spanto::point(1, 2, 3), 4.0);
    sphereicity s(points, datum);
    const std::string out = printed(4, [&] { EXPECT_TRUE(s.compute(points, origin)); });
    EXPECT_NEAR(s.value(), 0.05, 1e-12);
    EXPECT_DOUBLE_EQ(s.minvalue(), 9.98);
    EXPECT_DOUBLE_EQ(s.maxvalue(), 10.03);
    EXPECT_EQ(s.datum().radius, 4.0);  // the centre form leaves the datum alone
    EXPECT_EQ(out, "+sphereicity::compute\n" +
                       formatted(" sphereicity::compute: actual=%p, #=3\n",
                                 static_cast<const void*>(&points)) +
                       formatted(" sphereicity::compute:& =%p, point(0.000,0.000,0.000)\n",
                                 static_cast<const void*>(&origin)) +
                       "-sphereicity::compute: result = 0.050 (9.980..10.030)\n");
}

TEST(Sphereicity, RadialDeviationsFromASphere) {
    const actual points(shell, 3, 3);
    const spanto::sphere ball(origin, 10.0);
    sphereicity s(points, origin);
    const std::string out = printed(4, [&] { EXPECT_TRUE(s.compute(points, ball)); });
    EXPECT_NEAR(s.value(), 0.05, 1e-12);
    EXPECT_EQ(s.datum().radius, 10.0);
    EXPECT_DOUBLE_EQ(s.minvalue(), 9.98);  // left from the centre form
    EXPECT_EQ(out, "+sphereicity::compute\n" +
                       formatted(" sphereicity::compute: actual=%p, #=3\n",
                                 static_cast<const void*>(&points)) +
                       " sphereicity::compute: datum=sphere(point(0.000,0.000,0.000),10.000)\n"
                       "-sphereicity::compute: result = 0.050 (0.020..-0.030)\n");

    // The feature's own datum as the argument measures against it.
    EXPECT_TRUE(s.compute(actual(shell, 2, 2), s.datum()));
    EXPECT_NEAR(s.value(), 0.02, 1e-12);
    EXPECT_EQ(s.datum().radius, 10.0);
}

TEST(Sphereicity, OnePointGivesZero) {
    const actual one(shell, 1, 1);
    EXPECT_EQ(sphereicity(one, origin).value(), 0.0);
    EXPECT_EQ(sphereicity(one, spanto::sphere(origin, 3.0)).value(), 0.0);
}

TEST(Sphereicity, NoPoints) {
    const actual points(shell, 3, 3);
    const actual empty(1);
    sphereicity s(points, spanto::sphere(origin, 10.0));
    s.compute(points, origin);
    std::string out = printed(1, [&] { EXPECT_FALSE(s.compute(empty, origin)); });
    EXPECT_EQ(out, "*sphereicity::compute: no valid points (k=-1)\n");
    EXPECT_TRUE(s.invalid());
    EXPECT_EQ(s.datum().radius, 10.0);
    EXPECT_DOUBLE_EQ(s.maxvalue(), 10.03);

    out = printed(1, [&] { EXPECT_FALSE(s.compute(empty, spanto::sphere(origin, 2.0))); });
    EXPECT_EQ(out, "*sphereicity::compute: no valid points (k=-1)\n");
    EXPECT_TRUE(s.datum().invalid());
}

TEST(Sphereicity, WithoutDatumTheSphereCannotBeFitted) {
    const actual points(shell, 3, 3);
    sphereicity s(points, spanto::sphere(origin, 10.0));
    const std::string out = printed(5, [&] { EXPECT_FALSE(s.compute(points)); });
    EXPECT_EQ(out, "+sphereicity::compute\n");
    EXPECT_TRUE(s.invalid());
    EXPECT_TRUE(s.datum().invalid());
    EXPECT_TRUE(sphereicity(points).invalid());
}

}  // namespace
}  // namespace vantor

// SPDX-License-Identifier: Apache-2.0
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "form/formatted.h"
#include "support/capture.h"
#include "vantor/feature.h"

namespace vantor {
namespace {

using spanto::point;
using spanto::vector;
using testing::formatted;
using testing::printed;

// 24 points on the circle of radius 3 about (1, 2, 0.5) in a plane z = 0.5.
actual ring_points() {
    actual set(24);
    const double pi = std::acos(-1.0);
    for (int k = 0; k < 24; ++k) {
        const double a = 2 * pi * k / 24;
        set.append(1 + 3 * std::cos(a), 2 + 3 * std::sin(a), 0.5);
    }
    return set;
}

TEST(RoundnessFitted, DirectionFormMeasuresAboutTheFittedAxis) {
    const actual set = ring_points();
    const roundness r(set, vector(0, 0, 1));
    ASSERT_TRUE(r.valid());
    EXPECT_NEAR(r.value(), 0, 1e-12);
    EXPECT_NEAR(r.minvalue(), 3, 1e-12);
    EXPECT_NEAR(r.maxvalue(), 3, 1e-12);
    EXPECT_NEAR(r.datum().centre.x, 1, 1e-12);
    EXPECT_NEAR(r.datum().centre.y, 2, 1e-12);
    EXPECT_NEAR(r.datum().radius, 3, 1e-12);
}

TEST(RoundnessFitted, DirectionFormTracesTheLineFormInsideItsOwnLines) {
    const actual set = ring_points();
    roundness r;
    const vector z(0, 0, 1);
    const std::string out = printed(4, [&] { EXPECT_TRUE(r.compute(set, z)); });
    const std::string head =
        "+roundness::compute\n" +
        formatted(" roundness::compute: actual=%p, #=24\n", static_cast<const void*>(&set)) +
        " roundness::compute: vector=vector(0.000,0.000,1.000)\n";
    EXPECT_EQ(out.substr(0, head.size()), head);
    // The line form about the fitted axis runs last, then the closing line.
    const std::string tail =
        formatted("+roundness::compute\n roundness::compute: actual=%p, #=24\n",
                  static_cast<const void*>(&set));
    const std::size_t line_form = out.rfind(tail);
    ASSERT_NE(line_form, std::string::npos);
    EXPECT_EQ(out.substr(out.size() - 21), "-roundness::compute:\n");
    EXPECT_NE(out.find("-roundness::compute: result = 0.000 (3.000..3.000)\n", line_form),
              std::string::npos);
}

TEST(RoundnessFitted, DirectionFormWithoutPointsFails) {
    const actual empty(4);
    roundness r;
    std::string out = printed(1, [&] { EXPECT_FALSE(r.compute(empty, vector(0, 0, 1))); });
    EXPECT_EQ(out, "*roundness::compute: no valid points (k=-1)\n");
    EXPECT_TRUE(r.invalid());
    EXPECT_TRUE(r.datum().invalid());
}

TEST(RoundnessFitted, DirectionFormFailsWhenNoCircleCanBeFitted) {
    actual line(4);
    for (int i = 0; i < 4; ++i) line.append(i, i, 0);
    roundness r(0.5);
    EXPECT_FALSE(r.compute(line, vector(0, 0, 1)));
    EXPECT_TRUE(r.invalid());
    EXPECT_TRUE(r.datum().invalid());
}

TEST(RoundnessFitted, FormWithoutDatumFailsForEveryPointSet) {
    const actual set = ring_points();
    roundness r(set, spanto::circle(point(1, 2, 0), vector(0, 0, 1), 3));
    ASSERT_TRUE(r.valid());
    std::string out = printed(3, [&] { EXPECT_FALSE(r.compute(set)); });
    EXPECT_EQ(out,
              "+roundness::compute\n+compute::circle\n"
              "*compute::circle: base plane computation failed\n");
    EXPECT_TRUE(r.invalid());
    EXPECT_TRUE(r.datum().invalid());
    EXPECT_TRUE(roundness(set).invalid());
}

}  // namespace
}  // namespace vantor

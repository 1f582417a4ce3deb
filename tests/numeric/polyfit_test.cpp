// SPDX-License-Identifier: Apache-2.0
#include "numeric/polyfit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vantor::detail {
namespace {

TEST(Polyfit, ThreeSamplesGiveTheInterpolatingParabola) {
    // y = 1 - 2x + 3x^2 at x = -1, 0, 2.
    const double x[] = {-1.0, 0.0, 2.0};
    const double y[] = {6.0, 1.0, 9.0};
    double c[3];
    polyfit(x, y, 3, c, 2);
    EXPECT_NEAR(c[0], 1.0, 1e-12);
    EXPECT_NEAR(c[1], -2.0, 1e-12);
    EXPECT_NEAR(c[2], 3.0, 1e-12);
}

TEST(Polyfit, MoreSamplesThanCoefficientsGiveTheLeastSquaresLine) {
    // Normal equations 3c0 + 3c1 = 2 and 3c0 + 5c1 = 3: c1 = 1/2, c0 = 1/6.
    const double x[] = {0.0, 1.0, 2.0};
    const double y[] = {0.0, 1.0, 1.0};
    double c[2];
    polyfit(x, y, 3, c, 1);
    EXPECT_NEAR(c[0], 1.0 / 6.0, 1e-15);
    EXPECT_NEAR(c[1], 0.5, 1e-15);
}

TEST(Polyfit, TooFewSamplesLowerTheDegreeAndZeroTheRest) {
    const double x[] = {1.0, 3.0};
    const double y[] = {3.0, 7.0};  // y = 1 + 2x
    double c[3] = {99.0, 99.0, 99.0};
    polyfit(x, y, 2, c, 2);
    EXPECT_DOUBLE_EQ(c[0], 1.0);
    EXPECT_DOUBLE_EQ(c[1], 2.0);
    EXPECT_EQ(c[2], 0.0);

    const double x1[] = {5.0};
    const double y1[] = {4.0};
    double constant[3] = {99.0, 99.0, 99.0};
    polyfit(x1, y1, 1, constant, 2);
    EXPECT_EQ(constant[0], 4.0);
    EXPECT_EQ(constant[1], 0.0);
    EXPECT_EQ(constant[2], 0.0);
}

TEST(Polyfit, NoSamplesGiveZeros) {
    // The previous fit must not leak into the next call.
    const double x[] = {-1.0, 0.0, 2.0};
    const double y[] = {6.0, 1.0, 9.0};
    double c[3];
    polyfit(x, y, 3, c, 2);
    for (int count : {0, -1}) {
        double zeros[3] = {99.0, 99.0, 99.0};
        polyfit(x, y, count, zeros, 2);
        EXPECT_EQ(zeros[0], 0.0) << count;
        EXPECT_EQ(zeros[1], 0.0) << count;
        EXPECT_EQ(zeros[2], 0.0) << count;
    }
}

TEST(Polyfit, PivotTieKeepsTheUpperRow) {
    // Line through (0, -Y) and (2, Y): y = -Y + Y x. The normal matrix [[2, 2 | 0], [2, 4 | 2Y]]
    // ties in the first column. Keeping the upper row, back substitution forms 2 * Y; with the
    // lower row as pivot it would form 4 * Y, which overflows for this Y and gives c0 = -inf.
    const double big = 1.5 * std::ldexp(1.0, 1022);
    ASSERT_TRUE(std::isinf(4.0 * big));
    ASSERT_FALSE(std::isinf(2.0 * big));
    const double x[] = {0.0, 2.0};
    const double y[] = {-big, big};
    double c[2];
    polyfit(x, y, 2, c, 1);
    EXPECT_EQ(c[0], -big);
    EXPECT_EQ(c[1], big);
}

}  // namespace
}  // namespace vantor::detail

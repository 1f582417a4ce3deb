// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/near.h"
#include "spanto/trafo.h"

using spanto::axis;
using spanto::point;
using spanto::trafo;
using spanto::vector;
using spanto_test::near;
using spanto_test::pi;

namespace {
const axis zaxis(point(0, 0, 0), vector(0, 0, 1));
}

TEST(Trafo, IdentityAndTranslation) {
    EXPECT_TRUE(near(trafo().apply(point(1, -2, 3)), point(1, -2, 3)));
    const trafo t(vector(1, 2, 3));
    EXPECT_TRUE(near(t.apply(point(1, 1, 1)), point(2, 3, 4)));
    // Free vectors are not translated.
    EXPECT_TRUE(near(t.apply(vector(1, 1, 1)), vector(1, 1, 1)));
}

TEST(Trafo, RotationAboutZFollowsRightHandRule) {
    const trafo r(zaxis, pi / 2);
    EXPECT_TRUE(near(r.apply(point(1, 0, 0)), point(0, 1, 0)));
    EXPECT_TRUE(near(r.apply(point(0, 1, 7)), point(-1, 0, 7)));
    EXPECT_TRUE(near(trafo(zaxis, -pi / 2).apply(point(1, 0, 0)), point(0, -1, 0)));
}

TEST(Trafo, RotationAboutDiagonalPermutesAxes) {
    // A third of a turn about (1,1,1) maps x to y, y to z and z to x.
    const trafo r(axis(point(0, 0, 0), vector(1, 1, 1)), 2 * pi / 3);
    EXPECT_TRUE(near(r.apply(point(1, 0, 0)), point(0, 1, 0)));
    EXPECT_TRUE(near(r.apply(point(0, 1, 0)), point(0, 0, 1)));
    EXPECT_TRUE(near(r.apply(point(0, 0, 1)), point(1, 0, 0)));
}

TEST(Trafo, RotationAboutOffOriginAxisKeepsAxisFixed) {
    const trafo r(axis(point(1, 1, 0), vector(0, 0, 1)), pi / 2);
    EXPECT_TRUE(near(r.apply(point(1, 1, 4)), point(1, 1, 4)));
    EXPECT_TRUE(near(r.apply(point(2, 1, 5)), point(1, 2, 5)));
    EXPECT_TRUE(near(r.apply(point(0, 0, 0)), point(2, 0, 0)));
    // Vectors only rotate.
    EXPECT_TRUE(near(r.apply(vector(1, 0, 0)), vector(0, 1, 0)));
}

TEST(Trafo, CompositionAppliesRightHandOperandFirst) {
    const trafo rotate(zaxis, pi / 2);
    const trafo shift(vector(1, 0, 0));
    EXPECT_TRUE(near((rotate * shift).apply(point(0, 0, 0)), point(0, 1, 0)));
    EXPECT_TRUE(near((shift * rotate).apply(point(0, 0, 0)), point(1, 0, 0)));
    EXPECT_TRUE(near((rotate * rotate).apply(point(1, 2, 3)), point(-1, -2, 3)));
    EXPECT_TRUE(near((rotate * shift).apply(vector(1, 0, 0)), vector(0, 1, 0)));
}

TEST(Trafo, PointTimesAssignMovesThePoint) {
    point p(1, 0, 0);
    p *= trafo(zaxis, pi / 2);
    EXPECT_TRUE(near(p, point(0, 1, 0)));
}

TEST(Trafo, InvalidAxisMakesEveryPointInvalid) {
    EXPECT_TRUE(trafo(axis(), 1.0).apply(point(1, 2, 3)).invalid());
    EXPECT_TRUE(trafo(axis(point(0, 0, 0), vector(0, 0, 0)), 1.0).apply(point(1, 2, 3)).invalid());
    EXPECT_TRUE(trafo(zaxis, spanto::nan).apply(point(1, 2, 3)).invalid());
}

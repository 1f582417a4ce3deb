// SPDX-License-Identifier: Apache-2.0
#include "numeric/small_lp.h"

#include <gtest/gtest.h>

namespace vantor {
namespace detail {
namespace {

TEST(SmallLp, SolvesATextbookProgram) {
    // max 3x + 2y: x + y <= 4, x + 3y <= 6, x <= 3. The feasible polygon has the vertices
    // (0,0), (3,0), (3,1) and (0,2); 3x + 2y is largest, 11, at (3,1).
    const std::vector<double> a{1.0, 1.0, 1.0, 3.0, 1.0, 0.0};
    std::vector<double> x;
    ASSERT_TRUE(maximise_lp(a, {4.0, 6.0, 3.0}, {3.0, 2.0}, x));
    ASSERT_EQ(x.size(), 2u);
    EXPECT_NEAR(x[0], 3.0, 1e-14);
    EXPECT_NEAR(x[1], 1.0, 1e-14);
}

TEST(SmallLp, TerminatesOnBealesCyclingExample) {
    // Beale's degenerate program, on which the textbook largest-coefficient rule cycles:
    // max 3/4 x1 - 20 x2 + 1/2 x3 - 6 x4 subject to
    // 1/4 x1 - 8 x2 - x3 + 9 x4 <= 0, 1/2 x1 - 12 x2 - 1/2 x3 + 3 x4 <= 0, x3 <= 1.
    // Optimum 5/4 at x = (1, 0, 1, 0).
    const std::vector<double> a{0.25, -8.0, -1.0, 9.0, 0.5, -12.0, -0.5, 3.0, 0.0, 0.0, 1.0, 0.0};
    std::vector<double> x;
    ASSERT_TRUE(maximise_lp(a, {0.0, 0.0, 1.0}, {0.75, -20.0, 0.5, -6.0}, x));
    EXPECT_NEAR(0.75 * x[0] - 20.0 * x[1] + 0.5 * x[2] - 6.0 * x[3], 1.25, 1e-14);
    EXPECT_NEAR(x[0], 1.0, 1e-14);
    EXPECT_NEAR(x[2], 1.0, 1e-14);
}

// The dual values are the rows' multipliers: feasible for the dual (A^T y >= c, y >= 0) and as
// good as the primal optimum (b.y = c.x), whichever of several dual optima a degenerate vertex
// gives.
TEST(SmallLp, DualValuesAreOptimalForTheDual) {
    struct program {
        const char* name;
        std::vector<double> a, b, c;
    };
    const program programs[] = {
        // The textbook program above; three rows meet at its optimum.
        {"textbook", {1.0, 1.0, 1.0, 3.0, 1.0, 0.0}, {4.0, 6.0, 3.0}, {3.0, 2.0}},
        {"Beale",
         {0.25, -8.0, -1.0, 9.0, 0.5, -12.0, -0.5, 3.0, 0.0, 0.0, 1.0, 0.0},
         {0.0, 0.0, 1.0},
         {0.75, -20.0, 0.5, -6.0}},
    };
    for (const program& p : programs) {
        std::vector<double> x, y;
        ASSERT_TRUE(maximise_lp(p.a, p.b, p.c, x, &y)) << p.name;
        ASSERT_EQ(y.size(), p.b.size()) << p.name;
        double primal = 0.0, dual = 0.0;
        for (std::size_t j = 0; j < p.c.size(); ++j) {
            primal += p.c[j] * x[j];
            double column = 0.0;
            for (std::size_t i = 0; i < p.b.size(); ++i) column += p.a[i * p.c.size() + j] * y[i];
            EXPECT_GE(column, p.c[j] - 1e-12) << p.name << " column " << j;
        }
        for (std::size_t i = 0; i < p.b.size(); ++i) {
            EXPECT_GE(y[i], 0.0) << p.name;
            dual += p.b[i] * y[i];
        }
        EXPECT_NEAR(dual, primal, 1e-12) << p.name;
    }
}

TEST(SmallLp, ReportsUnboundedPrograms) {
    // max x + y with only -x + y <= 1: x can grow without bound.
    std::vector<double> x;
    EXPECT_FALSE(maximise_lp({-1.0, 1.0}, {1.0}, {1.0, 1.0}, x));
    ASSERT_EQ(x.size(), 2u);
    EXPECT_LE(-x[0] + x[1], 1.0 + 1e-14);
}

}  // namespace
}  // namespace detail
}  // namespace vantor

// SPDX-License-Identifier: Apache-2.0
// The iterative least-squares fits of the numeric core: on partial surfaces the start search
// reaches the optimum that a start at the generating element reaches, and the driver reports
// an iteration that cannot converge.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "numeric/cone_fit.h"
#include "numeric/cylinder_fit.h"
#include "numeric/gauss_newton.h"
#include "numeric/scatter.h"
#include "numeric/sphere_fit.h"

namespace vantor {
namespace detail {
namespace {

// Points about the z axis at angles [0, sector) and heights [0, length), radius r + slope z,
// with N(0, noise) radially, moved by `shift` and centred on their centroid; `centroid`
// receives the amount subtracted.
std::vector<point3> centred_revolution(std::uint64_t seed, double r, double slope, double sector,
                                       double length, double noise, point3& centroid) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> gauss(0.0, noise);
    std::vector<point3> points;
    for (int i = 0; i < 400; ++i) {
        const double a = sector * unit(rng), z = length * unit(rng);
        const double rho = r + slope * z + gauss(rng);
        points.push_back({rho * std::cos(a), rho * std::sin(a), z});
    }
    centroid = scatter_of(points.data(), points.data() + points.size()).centroid;
    for (point3& p : points) p = p - centroid;
    return points;
}

principal_axes axes_of(const std::vector<point3>& points) {
    return principal_axes_of(scatter_of(points.data(), points.data() + points.size()));
}

// The axis state of the generating element, seen from the centroid.
frame3 z_frame() { return {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}; }

TEST(LeastSquaresFit, SearchReachesTheOptimumOfAStartAtTheTruthOnPartialSurfaces) {
    for (double sector : {1.2, 1.6, 2.5}) {
        for (std::uint64_t seed = 1; seed <= 3; ++seed) {
            point3 c;
            const std::vector<point3> cyl = centred_revolution(seed, 10, 0, sector, 8, 0.003, c);
            const cylinder_solution searched = least_squares_cylinder(cyl, axes_of(cyl));
            const cylinder_solution truth =
                least_squares_cylinder(cyl, cylinder_state{z_frame(), {-c.x, -c.y, 0}, 10});
            ASSERT_EQ(searched.status, fit_status::ok);
            ASSERT_EQ(truth.status, fit_status::ok);
            EXPECT_NEAR(searched.state.radius, truth.state.radius, 1e-9) << sector;
            EXPECT_NEAR(std::abs(dot(searched.state.frame.z, truth.state.frame.z)), 1.0, 1e-12);
            EXPECT_LT(norm(searched.state.origin - truth.state.origin), 1e-9) << sector;

            const std::vector<point3> tip = centred_revolution(seed, 6, 0.4, sector, 8, 0.003, c);
            const cone_solution cone = least_squares_cone(tip, axes_of(tip));
            const cone_solution cone_truth = least_squares_cone(
                tip, cone_state{z_frame(), {-c.x, -c.y, 0}, 6 + 0.4 * -c.z, std::atan(0.4)});
            ASSERT_EQ(cone.status, fit_status::ok);
            ASSERT_EQ(cone_truth.status, fit_status::ok);
            EXPECT_NEAR(cone.state.angle, cone_truth.state.angle, 1e-10) << sector;
            EXPECT_LT(norm(cone.apex - cone_truth.apex), 1e-8) << sector;
        }
    }
}

TEST(LeastSquaresFit, SphereOnACapFromAFarStartReachesTheSameOptimum) {
    std::mt19937_64 rng(4);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> gauss(0.0, 0.002);
    std::vector<point3> cap;
    for (int i = 0; i < 300; ++i) {
        const double polar = 0.6 * unit(rng), a = 6.283 * unit(rng), r = 20 + gauss(rng);
        cap.push_back({r * std::sin(polar) * std::cos(a), r * std::sin(polar) * std::sin(a),
                       r * std::cos(polar) - 19});
    }
    const sphere_solution fit = least_squares_sphere(cap, axes_of(cap));
    const sphere_solution far = least_squares_sphere(cap, sphere_state{{3, -2, -30}, 40});
    ASSERT_EQ(fit.status, fit_status::ok);
    ASSERT_EQ(far.status, fit_status::ok);
    EXPECT_NEAR(fit.state.radius, far.state.radius, 1e-9);
    EXPECT_LT(norm(fit.state.centre - far.state.centre), 1e-9);
}

// Collinear points have no least-squares sphere: the sum of squares falls without end as the
// sphere grows, and the driver stops at its limit without claiming convergence.
TEST(LeastSquaresFit, AnIterationWithoutMinimumDoesNotConverge) {
    std::vector<point3> line;
    for (int i = 0; i < 20; ++i)
        line.push_back({i - 9.5, 0.01 * std::sin(i), 0.01 * std::cos(1.3 * i)});
    const least_squares_result<sphere_model> r =
        minimise_squares(sphere_model(line, 5.0), sphere_state{{0, 3, 0}, 3}, 50);
    EXPECT_FALSE(r.converged);
    EXPECT_EQ(r.iterations, 50);
}

}  // namespace
}  // namespace detail
}  // namespace vantor

// SPDX-License-Identifier: Apache-2.0
// The least-squares cylinder and cone on the samplings measuring machines take of shafts,
// bores and tapers (two or three sections at random angles, a short band, sectors, a few
// sparse points, a thick noisy cloud), in random poses near the origin and far from it: the
// start search finds the basin of the generating element, so the fit's axis is that element's
// and its sum of squares no larger than that of the fit started at the element itself. And a
// restricted axis domain is honoured.
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "numeric/cone_fit.h"
#include "numeric/cylinder_fit.h"
#include "numeric/scatter.h"

namespace vantor {
namespace detail {
namespace {

constexpr double pi = 3.14159265358979323846;

// Where a family puts its points: angle (radians) and height along the axis, for a part of
// radius r and length (or section separation) l.
using positions = std::vector<std::pair<double, double>>;
using placer = void (*)(std::mt19937_64& rng, double r, double l, positions& at);

double uniform(std::mt19937_64& rng, double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(rng);
}

void sections(std::mt19937_64& rng, double l, int count, positions& at) {
    const int n = static_cast<int>(uniform(rng, 16, 32));
    for (int s = 0; s < count; ++s)
        for (int i = 0; i < n; ++i) at.push_back({uniform(rng, 0, 2 * pi), l * s / (count - 1)});
}

void scattered(std::mt19937_64& rng, int n, double sector, double l, positions& at) {
    for (int i = 0; i < n; ++i) at.push_back({uniform(rng, 0, sector), uniform(rng, 0, l)});
}

struct family {
    const char* name;
    placer place;
    double noise;  // standard deviation of the radial noise, in radii (plus 0.5 um always)
};

const family families[] = {
    {"two sections",
     [](std::mt19937_64& g, double, double l, positions& at) { sections(g, l, 2, at); }, 0},
    {"three sections",
     [](std::mt19937_64& g, double, double l, positions& at) { sections(g, l, 3, at); }, 0},
    {"band of length r/20",
     [](std::mt19937_64& g, double r, double, positions& at) {
         scattered(g, 100, 2 * pi, r / 20, at);
     },
     0},
    {"30-degree sector",
     [](std::mt19937_64& g, double, double l, positions& at) { scattered(g, 150, pi / 6, l, at); },
     0},
    {"60-degree sector",
     [](std::mt19937_64& g, double, double l, positions& at) { scattered(g, 150, pi / 3, l, at); },
     0},
    {"120-degree sector",
     [](std::mt19937_64& g, double, double l, positions& at) {
         scattered(g, 150, 2 * pi / 3, l, at);
     },
     0},
    {"15 to 20 sparse points",
     [](std::mt19937_64& g, double, double l, positions& at) {
         scattered(g, static_cast<int>(uniform(g, 15, 21)), 2 * pi, l, at);
     },
     0},
    {"thick noisy cloud",
     [](std::mt19937_64& g, double, double l, positions& at) { scattered(g, 400, 2 * pi, l, at); },
     1.0 / 30},
};

// A seeded measured part: points about the z axis of `truth`'s frame, radius r + slope h at
// height h, a 2 um three-lobed form and radial noise; centred on their centroid, as the fits
// take them, with the generating element's state about the centroid.
struct part {
    std::vector<point3> points;
    principal_axes axes;
    frame3 frame;         // z along the generating axis
    point3 foot;          // its point nearest the centroid
    double radius_there;  // its radius at `foot`
    double angle;         // its half angle (0 for a cylinder)
};

// `length`: of the part, or 0 for a random one from 10 to 100.
part measured(const family& f, std::uint64_t seed, bool tapered, double distance,
              double length = 0.0) {
    std::mt19937_64 rng(seed);
    const double r = uniform(rng, 5, 20), random_length = uniform(rng, 10, 100);
    const double l = length > 0.0 ? length : random_length;
    const double slope = tapered ? std::tan(uniform(rng, 2, 30) * pi / 180) : 0.0;
    part p;
    p.frame = frame_about({uniform(rng, -1, 1), uniform(rng, -1, 1), uniform(rng, -1, 1)});
    const point3 origin{distance + uniform(rng, -50, 50), distance + uniform(rng, -50, 50),
                        distance + uniform(rng, -50, 50)};
    positions at;
    f.place(rng, r, l, at);
    std::normal_distribution<double> noise(0.0, 0.0005 + f.noise * r);
    for (const auto& [a, h] : at) {
        const double rho = r + slope * h + 0.002 * std::cos(3 * a) + noise(rng);
        p.points.push_back(origin + (rho * std::cos(a)) * p.frame.x +
                           (rho * std::sin(a)) * p.frame.y + h * p.frame.z);
    }
    const scatter3 s = scatter_of(p.points.data(), p.points.data() + p.points.size());
    for (point3& q : p.points) q = q - s.centroid;
    p.axes = principal_axes_of(s);
    const point3 o = origin - s.centroid;
    p.foot = o - dot(o, p.frame.z) * p.frame.z;
    p.radius_there = r + slope * dot(p.foot - o, p.frame.z);
    p.angle = std::atan(slope);
    return p;
}

template <class Model>
double sum_of_squares(const std::vector<point3>& points, const typename Model::state& s) {
    normal_equations<Model::size> ne;
    Model(points, 1.0).evaluate(s, ne);
    return ne.sum_of_squares;
}

double angle_between(point3 a, point3 b) {
    return std::atan2(norm(cross(a, b)), std::abs(dot(a, b)));
}

TEST(FitSampling, SearchReachesTheGeneratingElementsBasinOnEverySampling) {
    for (const family& f : families) {
        for (const bool tapered : {false, true}) {
            for (const double distance : {0.0, 1e4}) {
                for (std::uint64_t seed = 1; seed <= 3; ++seed) {
                    const part p = measured(f, seed, tapered, distance);
                    const std::string what = std::string(tapered ? "cone, " : "cylinder, ") +
                                             f.name + ", at " + std::to_string(distance) +
                                             ", seed " + std::to_string(seed);
                    point3 axis;
                    double fitted, reference;
                    if (tapered) {
                        const cone_solution fit = least_squares_cone(p.points, p.axes);
                        const cone_solution local = least_squares_cone(
                            p.points, cone_state{p.frame, p.foot, p.radius_there, p.angle});
                        ASSERT_EQ(fit.status, fit_status::ok) << what;
                        ASSERT_EQ(local.status, fit_status::ok) << what;
                        axis = fit.state.frame.z;
                        fitted = sum_of_squares<cone_model>(p.points, fit.state);
                        reference = sum_of_squares<cone_model>(p.points, local.state);
                    } else {
                        const cylinder_solution fit = least_squares_cylinder(p.points, p.axes);
                        const cylinder_solution local = least_squares_cylinder(
                            p.points, cylinder_state{p.frame, p.foot, p.radius_there});
                        ASSERT_EQ(fit.status, fit_status::ok) << what;
                        ASSERT_EQ(local.status, fit_status::ok) << what;
                        axis = fit.state.frame.z;
                        fitted = sum_of_squares<cylinder_model>(p.points, fit.state);
                        reference = sum_of_squares<cylinder_model>(p.points, local.state);
                    }
                    // The noise moves the optimum's axis off the generating one by far less.
                    EXPECT_LE(angle_between(axis, p.frame.z), 0.02) << what;
                    EXPECT_LE(fitted, reference * (1 + 1e-9)) << what;
                }
            }
        }
    }
}

TEST(FitSampling, RestrictedDomainIsHonoured) {
    const family& two = families[0];
    for (const bool tapered : {false, true}) {
        for (std::uint64_t seed = 1; seed <= 3; ++seed) {
            const part p = measured(two, seed, tapered, 0.0);
            const part cloud = measured(families[7], seed, tapered, 0.0, 100.0);
            const std::string what =
                std::string(tapered ? "cone" : "cylinder") + ", seed " + std::to_string(seed);
            // About an axis 0.05 rad off the part's: the unrestricted optimum, inside.
            axis_domain near;
            near.axis = unit(p.frame.z + 0.05 * p.frame.x);
            near.max_tilt = 0.1;
            // Across a long part: no optimum there.
            axis_domain across;
            across.axis = cloud.frame.x;
            across.max_tilt = 0.2;
            point3 inside, free;
            fit_status outside;
            if (tapered) {
                const cone_solution fit = least_squares_cone(p.points, p.axes, near);
                ASSERT_EQ(fit.status, fit_status::ok) << what;
                inside = fit.state.frame.z;
                free = least_squares_cone(p.points, p.axes).state.frame.z;
                outside = least_squares_cone(cloud.points, cloud.axes, across).status;
            } else {
                const cylinder_solution fit = least_squares_cylinder(p.points, p.axes, near);
                ASSERT_EQ(fit.status, fit_status::ok) << what;
                inside = fit.state.frame.z;
                free = least_squares_cylinder(p.points, p.axes).state.frame.z;
                outside = least_squares_cylinder(cloud.points, cloud.axes, across).status;
            }
            EXPECT_LE(near.tilt_of(inside), near.max_tilt) << what;
            EXPECT_LE(angle_between(inside, free), 1e-9) << what;
            EXPECT_EQ(outside, fit_status::outside_domain) << what;
        }
    }
}

}  // namespace
}  // namespace detail
}  // namespace vantor

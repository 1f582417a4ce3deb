// SPDX-License-Identifier: Apache-2.0
// The cell bounds of the minimax proof, for every residual model: the chart is the model's
// residual, the Lipschitz bound and the tangent remainder hold at sampled steps of random cells,
// and the tangent bound never exceeds the objective anywhere in its cell; the remainders are
// tight, and so is each slope rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <type_traits>
#include <vector>

#include "numeric/cell_tangent.h"
#include "numeric/minimax_models.h"

namespace vantor {
namespace detail {
namespace {

constexpr double extent = 20.0;

point3 random_direction(std::mt19937& rng) {
    std::normal_distribution<double> n;
    return unit(point3{n(rng), n(rng), n(rng)});
}

// Points about each model's element (a plane, a sphere, a circle, a cylinder, a cone of half
// angle 0.3) with 0.05 of form, in a random pose.
template <class Model>
struct case_of;

template <>
struct case_of<plane_height_model> {
    static frame3 state(std::mt19937& rng) { return frame_about(random_direction(rng)); }
    static point3 point(const frame3& f, std::mt19937& rng) {
        std::uniform_real_distribution<double> u(-1.0, 1.0);
        return (10.0 * u(rng)) * f.x + (10.0 * u(rng)) * f.y + (0.05 * u(rng)) * f.z;
    }
};
template <>
struct case_of<sphere_distance_model> {
    static point3 state(std::mt19937& rng) { return 0.5 * random_direction(rng); }
    static point3 point(const point3&, std::mt19937& rng) {
        return (10.0 + 0.05 * std::uniform_real_distribution<double>(-1, 1)(rng)) *
               random_direction(rng);
    }
};
template <>
struct case_of<circle_distance_model> {
    static point3 state(std::mt19937& rng) {
        const point3 d = random_direction(rng);
        return {d.x, d.y, 0.0};
    }
    static point3 point(const point3&, std::mt19937& rng) {
        const double a = std::uniform_real_distribution<double>(0, 6.283)(rng);
        const double r = 10.0 + 0.05 * std::uniform_real_distribution<double>(-1, 1)(rng);
        return {r * std::cos(a), r * std::sin(a), 0.0};
    }
};
template <>
struct case_of<axis_distance_model> {
    static cylinder_state state(std::mt19937& rng) {
        return {frame_about(random_direction(rng)), 0.3 * random_direction(rng), 0.0};
    }
    static point3 point(const cylinder_state& s, std::mt19937& rng) {
        std::uniform_real_distribution<double> u(-1.0, 1.0);
        const double a = 3.2 * u(rng), r = 5.0 + 0.05 * u(rng);
        return s.origin + (r * std::cos(a)) * s.frame.x + (r * std::sin(a)) * s.frame.y +
               (10.0 * u(rng)) * s.frame.z;
    }
};
template <>
struct case_of<cone_surface_model> {
    static cone_state state(std::mt19937& rng) {
        return {frame_about(random_direction(rng)), 0.3 * random_direction(rng), 5.0, 0.3};
    }
    static point3 point(const cone_state& s, std::mt19937& rng) {
        std::uniform_real_distribution<double> u(-1.0, 1.0);
        const double a = 3.2 * u(rng), z = 10.0 * u(rng);
        const double r = 5.0 + z * std::tan(0.3) + 0.05 * u(rng);
        return s.origin + (r * std::cos(a)) * s.frame.x + (r * std::sin(a)) * s.frame.y +
               z * s.frame.z;
    }
};

template <class Model>
void check_model(const char* name, double looseness) {
    constexpr int n = Model::size;
    std::mt19937 rng(17);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    const Model model(extent);
    int tangents = 0, reused = 0;
    double remainders = 0.0, departures = 0.0;
    tangent_scratch scratch;
    for (int trial = 0; trial < 70; ++trial) {
        const auto reference = case_of<Model>::state(rng);
        std::vector<point3> points(24);
        for (point3& p : points) p = case_of<Model>::point(reference, rng);
        // Cells from the size of the search box (where the enclosures are widest) down to a
        // millionth of it.
        const double size = 0.2 * std::pow(10.0, -6.0 * (trial % 7) / 6.0);
        double centre[n], half[n], step[n];
        for (int k = 0; k < n; ++k) {
            centre[k] = 0.05 * u(rng);
            half[k] = size * (0.5 + 0.5 * (u(rng) + 1.0));
            step[k] = centre[k] * model.scale[k];
        }
        const auto at_centre = model.at(model.moved(reference, step));
        const auto lipschitz = model.cell(reference, centre, half);
        std::vector<double> value(points.size()), slope(points.size() * n),
            remainder(points.size()), variation(points.size());
        std::vector<char> smooth(points.size());
        double offset = 0.0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            value[i] = model.chart(reference, points[i], centre);
            smooth[i] = tangent_over_cell(model, reference, points[i], centre, half, value[i],
                                          &slope[i * n], remainder[i]);
            tangents += smooth[i];
            variation[i] = lipschitz(points[i]);
            // The chart is the residual, up to an amount alike for every point.
            if (i == 0) offset = at_centre(points[i]) - value[i];
            EXPECT_NEAR(at_centre(points[i]) - value[i], offset, 1e-11 * extent) << name;
        }
        std::size_t tangents_used = 0;
        const minimax_sides sides = trial % 3 == 0   ? minimax_sides::both
                                    : trial % 3 == 1 ? minimax_sides::outer
                                                     : minimax_sides::inner;
        const bool zone_only = std::is_same<Model, cone_surface_model>::value;
        const minimax_sides checked = zone_only ? minimax_sides::both : sides;
        // By the cell's own LP, and by the weights the scratch keeps from the trial before
        // (any weights bound the objective).
        const double inf = std::numeric_limits<double>::infinity();
        const tangent_bound kept =
            tangent_lower_bound(model, points, reference, centre, half, variation, checked, -inf,
                                scratch, tangents_used);
        const tangent_bound bound =
            tangent_lower_bound(model, points, reference, centre, half, variation, checked, inf,
                                scratch, tangents_used);
        reused += std::isfinite(kept.lower) && kept.step.empty();
        std::vector<double> departure(points.size(), 0.0);
        for (int sample = 0; sample < 40; ++sample) {
            double t[n], s[n];
            for (int k = 0; k < n; ++k) {
                t[k] = sample < 2 ? (sample == 0 ? 1.0 : -1.0) : u(rng);
                s[k] = (centre[k] + t[k] * half[k]) * model.scale[k];
            }
            const auto e = model.at(model.moved(reference, s));
            double box[n];
            for (int k = 0; k < n; ++k) box[k] = centre[k] + t[k] * half[k];
            double low = 1e300, high = -1e300, offset_here = 0.0;
            const double slack = 1e-12 * extent;
            for (std::size_t i = 0; i < points.size(); ++i) {
                const double r = e(points[i]);
                low = std::min(low, r);
                high = std::max(high, r);
                const double chart = model.chart(reference, points[i], box);
                if (i == 0) offset_here = r - chart;
                EXPECT_NEAR(r - chart, offset_here, 1e-11 * extent) << name;
                EXPECT_LE(std::abs(chart - value[i]), variation[i] + slack) << name;
                if (!smooth[i]) continue;
                double tangent = value[i];
                for (int k = 0; k < n; ++k) tangent += slope[i * n + k] * t[k];
                departure[i] = std::max(departure[i], std::abs(chart - tangent));
                EXPECT_LE(std::abs(chart - tangent), remainder[i] + slack)
                    << name << " trial " << trial << " size " << size;
            }
            EXPECT_LE(kept.lower, minimax_objective(checked, low, high) + 1e-12 * extent)
                << name << " trial " << trial;
            EXPECT_LE(bound.lower, minimax_objective(checked, low, high) + 1e-12 * extent)
                << name << " trial " << trial;
        }
        // Tightness over the cells of a hundredth of the box and less, where the tangent bound
        // decides.
        for (std::size_t i = 0; i < points.size(); ++i) {
            if (!smooth[i] || trial % 7 < 2) continue;
            remainders += remainder[i];
            departures += departure[i];
        }
    }
    // The tangents are smooth away from the axis: most points have one.
    EXPECT_GT(tangents, 70 * 24 / 2) << name;
    EXPECT_GT(reused, 0) << name;
    // The remainders are within `looseness` of the largest departures sampled (which fall
    // short of the true ones): a rule that loses tightness leaves cells open.
    EXPECT_LT(remainders, looseness * departures) << name;
}

// Each slope rule encloses the slope (f(x) - f(c)) / (x - c) of its function over the cell of
// centre c and half width h, and is not much wider than that slope's range there (the rules are
// exact slope forms, not derivative ranges, which are about twice as wide).
TEST(CellBound, SlopeRulesEncloseTheirSlopesTightly) {
    using std::cos;
    using std::sin;
    using std::sqrt;
    const auto check = [](const char* name, const auto& f) {
        std::mt19937 rng(5);
        std::uniform_real_distribution<double> u(-1.0, 1.0);
        for (int trial = 0; trial < 200; ++trial) {
            const double c = 1.2 * u(rng), h = 0.3 * std::pow(10.0, -3.0 * (trial % 4) / 3.0);
            const slope<1> s = f(slope<1>::variable(c, h, 0));
            double low = 1e300, high = -1e300;
            for (int sample = 0; sample <= 200; ++sample) {
                const double x = c + h * (sample < 2 ? 2.0 * sample - 1.0 : u(rng));
                if (x == c) continue;
                const double q = (f(x) - f(c)) / (x - c);
                low = std::min(low, q);
                high = std::max(high, q);
            }
            const double slack = 1e-9 * (1.0 + std::abs(low));
            EXPECT_LE(s.s[0].lo, low + slack) << name << " c " << c << " h " << h;
            EXPECT_GE(s.s[0].hi, high - slack) << name << " c " << c << " h " << h;
            EXPECT_LE(s.s[0].hi - s.s[0].lo, 1.2 * (high - low) + 0.2 * h * h + slack)
                << name << " c " << c << " h " << h;
        }
    };
    check("sine", [](const auto& x) { return sin(x); });
    check("cosine", [](const auto& x) { return cos(x); });
    // (Constants as T: the slope operators take no mixed operands.)
    check("root", [](const auto& x) { return sqrt(std::decay_t<decltype(x)>(3.0) + x); });
    check("product", [](const auto& x) { return x * (std::decay_t<decltype(x)>(2.0) + x); });
    check("quotient", [](const auto& x) {
        using T = std::decay_t<decltype(x)>;
        return (T(1.0) + x) / (T(3.0) - 0.5 * x);
    });
}

TEST(CellBound, EveryModelsBoundsHoldOverItsCells) {
    check_model<plane_height_model>("plane", 1.6);
    check_model<sphere_distance_model>("sphere", 2.5);
    check_model<circle_distance_model>("circle", 2.8);
    check_model<axis_distance_model>("axis", 2.0);
    check_model<cone_surface_model>("cone", 2.6);
}

}  // namespace
}  // namespace detail
}  // namespace vantor

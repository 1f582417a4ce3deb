// SPDX-License-Identifier: Apache-2.0
#include "numeric/least_squares_circle.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace vantor {
namespace detail {
namespace {

using vec3 = std::array<double, 3>;
using mat3 = std::array<vec3, 3>;

// Levenberg-Marquardt damping: it starts small (nearly a Gauss-Newton step, which suits the
// good start the callers give), shrinks tenfold after an accepted step and grows tenfold after a
// rejected one, within these bounds.
constexpr double first_damping = 1e-3;
constexpr double min_damping = 1e-15;
constexpr double max_damping = 1e15;
// The damping scales each diagonal entry of J^T J, but at least this, so that a zero entry (a
// degenerate configuration) is damped too.
constexpr double smallest_damped_entry = 1e-30;
// A step shorter than this fraction of the data's size changes no digit that matters: a few
// units in the last place of the coordinates (2.2e-16 each). The iteration ends there.
constexpr double shortest_step = 1e-15;
constexpr int max_iterations = 200;

// Sum of squares, normal matrix J^T J and gradient J^T e of the residuals at (cx, cy, r), in
// centred coordinates. `rounding` bounds the rounding error of the sum of squares:
// each residual |p - c| - r cancels digits of the distance, so near the minimum two sums differ
// only by noise of this size and no longer tell which circle is better.
struct normal_equations {
    double sum_of_squares = 0.0;
    double rounding = 0.0;
    mat3 jtj{};
    vec3 jte{};
};

normal_equations accumulate(const std::vector<point2>& local, const vec3& x) {
    normal_equations ne;
    for (const point2& q : local) {
        const point2 d = q - point2{x[0], x[1]};
        const double dist = norm(d);
        const double e = dist - x[2];
        // Row of the Jacobian: d e / d(cx, cy, r).
        const vec3 row = dist > 0.0 ? vec3{-d.x / dist, -d.y / dist, -1.0} : vec3{0.0, 0.0, -1.0};
        ne.sum_of_squares += e * e;
        ne.rounding += std::abs(e) * (dist + std::abs(x[2]));
        for (int i = 0; i < 3; ++i) {
            ne.jte[i] += row[i] * e;
            for (int j = 0; j <= i; ++j) ne.jtj[i][j] += row[i] * row[j];
        }
    }
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j) ne.jtj[i][j] = ne.jtj[j][i];
    constexpr double eps = std::numeric_limits<double>::epsilon();
    ne.rounding =
        8.0 * eps * ne.rounding + eps * static_cast<double>(local.size()) * ne.sum_of_squares;
    return ne;
}

// Solves a x = b by Gaussian elimination with partial pivoting; false when a pivot vanishes.
bool solve3(mat3 a, vec3 b, vec3& x) {
    for (int k = 0; k < 3; ++k) {
        int pivot = k;
        for (int i = k + 1; i < 3; ++i)
            if (std::abs(a[i][k]) > std::abs(a[pivot][k])) pivot = i;
        if (!(std::abs(a[pivot][k]) > 0.0)) return false;
        std::swap(a[k], a[pivot]);
        std::swap(b[k], b[pivot]);
        for (int i = k + 1; i < 3; ++i) {
            const double f = a[i][k] / a[k][k];
            for (int j = k; j < 3; ++j) a[i][j] -= f * a[k][j];
            b[i] -= f * b[k];
        }
    }
    for (int k = 2; k >= 0; --k) {
        double s = b[k];
        for (int j = k + 1; j < 3; ++j) s -= a[k][j] * x[j];
        x[k] = s / a[k][k];
    }
    return std::isfinite(x[0]) && std::isfinite(x[1]) && std::isfinite(x[2]);
}

}  // namespace

circle2 least_squares_circle(const std::vector<point2>& points, const circle2& start) {
    if (points.empty()) return start;

    point2 origin{0.0, 0.0};
    for (const point2& p : points) origin = origin + p;
    origin = (1.0 / static_cast<double>(points.size())) * origin;
    const std::vector<point2> local = offsets_from(points, origin);
    const double extent = largest_norm(local);

    vec3 x{start.centre.x - origin.x, start.centre.y - origin.y, start.radius};
    normal_equations current = accumulate(local, x);
    double damping = first_damping;
    double previous_step_length = std::numeric_limits<double>::infinity();
    for (int iteration = 0; iteration < max_iterations; ++iteration) {
        bool accepted = false;
        bool improved = false;
        vec3 step{};
        while (damping <= max_damping) {
            mat3 a = current.jtj;
            for (int i = 0; i < 3; ++i)
                a[i][i] += damping * std::max(a[i][i], smallest_damped_entry);
            const vec3 rhs{-current.jte[0], -current.jte[1], -current.jte[2]};
            if (solve3(a, rhs, step)) {
                const vec3 trial{x[0] + step[0], x[1] + step[1], x[2] + step[2]};
                normal_equations next = accumulate(local, trial);
                // A step that raises S by no more than its rounding noise is taken: near the
                // minimum the Gauss-Newton step is still accurate where S can no longer judge it.
                if (next.sum_of_squares <= current.sum_of_squares + current.rounding) {
                    improved = next.sum_of_squares < current.sum_of_squares;
                    x = trial;
                    current = next;
                    damping = std::max(damping * 0.1, min_damping);
                    accepted = true;
                    break;
                }
            }
            damping *= 10.0;
        }
        if (!accepted) break;
        const double size = std::max({std::abs(x[0]), std::abs(x[1]), std::abs(x[2]), extent});
        const double step_length = std::hypot(step[0], step[1], step[2]);
        if (step_length <= shortest_step * size) break;
        // Within the noise of S, Gauss-Newton steps keep shrinking until they reach the noise
        // floor of the gradient; stop once they no longer do.
        if (!improved && step_length > 0.5 * previous_step_length) break;
        previous_step_length = step_length;
    }
    return {{x[0] + origin.x, x[1] + origin.y}, x[2]};
}

}  // namespace detail
}  // namespace vantor

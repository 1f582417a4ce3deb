// SPDX-License-Identifier: Apache-2.0
#include "numeric/sphere_fit.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include <Eigen/QR>

#include "numeric/sample.h"
#include "numeric/uncertainty.h"

namespace vantor {
namespace detail {

namespace {

std::optional<sphere_state> algebraic_sphere(const std::vector<point3>& points) {
    const auto m = static_cast<Eigen::Index>(points.size());
    Eigen::MatrixXd a(m, 4);
    Eigen::VectorXd rhs(m);
    for (Eigen::Index i = 0; i < m; ++i) {
        const point3 p = points[static_cast<std::size_t>(i)];
        a.row(i) << 2.0 * p.x, 2.0 * p.y, 2.0 * p.z, 1.0;
        rhs(i) = dot(p, p);
    }
    const Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(a);
    if (qr.rank() < 4) return std::nullopt;
    const Eigen::VectorXd c = qr.solve(rhs);
    const point3 centre{c(0), c(1), c(2)};
    const double squared = c(3) + dot(centre, centre);
    if (!(squared > 0.0) || !std::isfinite(squared)) return std::nullopt;
    return sphere_state{centre, std::sqrt(squared)};
}

}  // namespace

sphere_solution solution_of(const least_squares_result<sphere_model>& r) {
    sphere_solution solution = solution_from<sphere_solution>(r);
    if (!r.converged) return solution;
    const double g[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    solution.status =
        unit_uncertainties(&r.at_solution.jtj[0][0], 4, &g[0][0], 4, solution.unit_uncertainty)
            ? fit_status::ok
            : fit_status::undetermined;
    return solution;
}

sphere_state sphere_model::moved(const state& s, const double* step) const {
    return {s.centre + point3{step[0], step[1], step[2]}, s.radius + step[3]};
}

double sphere_model::scaled_step(const double* step) const {
    return std::max({std::abs(step[0]), std::abs(step[1]), std::abs(step[2]), std::abs(step[3])}) /
           scale_;
}

std::optional<least_squares_result<sphere_model>> sample_sphere(const std::vector<point3>& sample,
                                                                double scale) {
    const std::optional<sphere_state> start = algebraic_sphere(sample);
    if (!start) return std::nullopt;
    return minimise_squares(sphere_model(sample, scale), *start);
}

sphere_solution least_squares_sphere(const std::vector<point3>& points, const sphere_state& start) {
    return solution_of(minimise_squares(sphere_model(points, extent_of(points)), start));
}

}  // namespace detail
}  // namespace vantor

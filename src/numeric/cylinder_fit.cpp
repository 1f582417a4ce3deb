// SPDX-License-Identifier: Apache-2.0
#include "numeric/cylinder_fit.h"

#include <algorithm>
#include <cmath>

#include "numeric/uncertainty.h"

namespace vantor {
namespace detail {

cylinder_state cylinder_of(const axial_start& s) { return {s.frame, s.origin, s.radius}; }

cylinder_solution solution_of(const least_squares_result<cylinder_model>& r) {
    cylinder_solution solution = solution_from<cylinder_solution>(r);
    if (!r.converged) return solution;

    // Derivatives of origin, direction and radius with respect to (a, b, alpha, beta, dr). A
    // tilt turns the axis about `origin`, which moves the foot of the centroid (the coordinate
    // origin, at (cx, cy, 0) in the frame) along the axis by alpha cx + beta cy.
    const frame3& f = r.state.frame;
    const point3 c = f.local(point3{0, 0, 0} - r.state.origin);
    const double x[3] = {f.x.x, f.x.y, f.x.z}, y[3] = {f.y.x, f.y.y, f.y.z},
                 z[3] = {f.z.x, f.z.y, f.z.z};
    double g[7][5] = {};
    for (int k = 0; k < 3; ++k) {
        g[k][0] = x[k];
        g[k][1] = y[k];
        g[k][2] = c.x * z[k];
        g[k][3] = c.y * z[k];
        g[3 + k][2] = x[k];
        g[3 + k][3] = y[k];
    }
    g[6][4] = 1.0;
    solution.status =
        unit_uncertainties(&r.at_solution.jtj[0][0], 5, &g[0][0], 7, solution.unit_uncertainty)
            ? fit_status::ok
            : fit_status::undetermined;
    return solution;
}

cylinder_state cylinder_model::moved(const state& s, const double* step) {
    cylinder_state m;
    m.frame = tilted(s.frame, step[2], step[3]);
    const point3 shifted = s.origin + step[0] * s.frame.x + step[1] * s.frame.y;
    m.origin = shifted - dot(shifted, m.frame.z) * m.frame.z;
    m.radius = s.radius + step[4];
    return m;
}

double cylinder_model::scaled_step(const double* step) const {
    return std::max({std::abs(step[0]) / scale_, std::abs(step[1]) / scale_, std::abs(step[2]),
                     std::abs(step[3]), std::abs(step[4]) / scale_});
}

cylinder_solution least_squares_cylinder(const std::vector<point3>& points,
                                         const cylinder_state& start) {
    return solution_of(minimise_squares(cylinder_model(points, extent_of(points)), start));
}

}  // namespace detail
}  // namespace vantor

// SPDX-License-Identifier: Apache-2.0
#include "numeric/cone_fit.h"

#include <algorithm>
#include <cmath>

#include "numeric/planar.h"
#include "numeric/uncertainty.h"

namespace vantor {
namespace detail {

cone_state cone_of(const axial_start& s) {
    return {s.frame, s.origin, s.radius, std::atan(s.slope)};
}

cone_solution solution_of(const least_squares_result<cone_model>& r) {
    cone_solution solution = solution_from<cone_solution>(r);
    if (!r.converged) return solution;
    const cone_state& s = r.state;
    solution.status = cone_shape(s);
    if (solution.status != fit_status::ok) return solution;
    const double tangent = std::tan(s.angle);
    const frame3& f = s.frame;
    solution.apex = apex_of(s);

    // Derivatives of apex = o - (r / tan psi) z, direction and psi with respect to
    // (a, b, alpha, beta, dr, dpsi), the tilt turning the axis about o.
    const double behind = s.radius / tangent;
    const double sine = std::sin(s.angle);
    const double x[3] = {f.x.x, f.x.y, f.x.z}, y[3] = {f.y.x, f.y.y, f.y.z},
                 z[3] = {f.z.x, f.z.y, f.z.z};
    double g[7][6] = {};
    for (int k = 0; k < 3; ++k) {
        g[k][0] = x[k];
        g[k][1] = y[k];
        g[k][2] = -behind * x[k];
        g[k][3] = -behind * y[k];
        g[k][4] = -z[k] / tangent;
        g[k][5] = s.radius / (sine * sine) * z[k];
        g[3 + k][2] = x[k];
        g[3 + k][3] = y[k];
    }
    g[6][5] = 1.0;
    if (!unit_uncertainties(&r.at_solution.jtj[0][0], 6, &g[0][0], 7, solution.unit_uncertainty)) {
        solution.status = fit_status::undetermined;
        return solution;
    }
    solution.state = widening(s);
    solution.status = fit_status::ok;
    return solution;
}

fit_status cone_shape(const cone_state& s) {
    // The apex more than 1e12 radii away: a cylinder to working precision.
    if (std::abs(std::tan(s.angle)) <= 1e-12) return fit_status::cylindrical;
    if (s.radius < 0.0) return fit_status::apex_inside;
    return fit_status::ok;
}

point3 apex_of(const cone_state& s) {
    return s.origin - (s.radius / std::tan(s.angle)) * s.frame.z;
}

cone_state widening(const cone_state& s) {
    if (!(s.angle < 0.0)) return s;
    // (x, -y, -z) keeps the frame right-handed.
    cone_state turned = s;
    turned.frame = {s.frame.x, -1.0 * s.frame.y, -1.0 * s.frame.z};
    turned.angle = -s.angle;
    return turned;
}

cone_state cone_model::moved(const state& s, const double* step) {
    cone_state m;
    m.frame = tilted(s.frame, step[2], step[3]);
    m.angle = s.angle + step[5];
    // The surface is the same for angle and angle - pi: keep it in (-pi/2, pi/2].
    if (m.angle > 0.5 * pi) m.angle -= pi;
    if (m.angle <= -0.5 * pi) m.angle += pi;
    const point3 shifted = s.origin + step[0] * s.frame.x + step[1] * s.frame.y;
    const double along = dot(shifted, m.frame.z);
    m.origin = shifted - along * m.frame.z;
    // The foot of the centroid lies `along` behind the shifted point: follow the generator.
    m.radius = s.radius + step[4] - along * std::tan(m.angle);
    return m;
}

double cone_model::scaled_step(const double* step) const {
    return std::max({std::abs(step[0]) / scale_, std::abs(step[1]) / scale_, std::abs(step[2]),
                     std::abs(step[3]), std::abs(step[4]) / scale_, std::abs(step[5])});
}

cone_solution least_squares_cone(const std::vector<point3>& points, const cone_state& start) {
    return solution_of(minimise_squares(cone_model(points, extent_of(points)), start));
}

}  // namespace detail
}  // namespace vantor

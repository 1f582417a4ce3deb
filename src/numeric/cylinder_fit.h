// SPDX-License-Identifier: Apache-2.0
// The least-squares cylinder of points centred on their centroid.
//
// Parametrisation: the state is a frame whose z is the axis, the axis point nearest the
// centroid (the coordinate origin) and the radius. A step (a, b, alpha, beta, dr) shifts the
// axis by a x + b y, tilts it to z + alpha x + beta y about the axis point and changes the
// radius; then the axis point is moved along the new axis back to the foot of the centroid.
// In the frame a point's residual is sqrt(x^2 + y^2) - r, with the Jacobian row
// -(x, y, x z, y z, rho) / rho: every column is of the order of the points' extent whatever
// the axis' direction or distance from the origin, so J^T J stays well-conditioned.
//
// Start: the search of axis_search.h on a sample of at most 1024 points, with the Kasa circle
// of the points projected along each candidate direction; then the fit runs on all points.
#ifndef VANTOR_NUMERIC_CYLINDER_FIT_H
#define VANTOR_NUMERIC_CYLINDER_FIT_H

#include <vector>

#include "numeric/axis_domain.h"
#include "numeric/axis_search.h"
#include "numeric/gauss_newton.h"
#include "numeric/scatter.h"
#include "numeric/spatial.h"

namespace vantor {
namespace detail {

struct cylinder_state {
    frame3 frame;   // z along the axis
    point3 origin;  // the point of the axis nearest the coordinate origin
    double radius;
};

class cylinder_model {
  public:
    static constexpr int size = 5;
    using state = cylinder_state;

    // `points`: a Points sequence (sample.h) that outlives the model; `scale`: the extent of
    // the points, the unit of the lengths of a step.
    template <class Points>
    cylinder_model(const Points& points, double scale)
        : points_(&points), pass_(&pass<Points>), scale_(scale) {}

    // One pass: residuals and Jacobian rows of every point, summed into ne.
    void evaluate(const state& s, normal_equations<size>& ne) const { pass_(points_, s, ne); }
    // The state after a step (a, b, alpha, beta, dr); the minimax fits move their axes so too.
    static state moved(const state& s, const double* step);
    double scaled_step(const double* step) const;

  private:
    template <class Points>
    static void pass(const void* points, const state& s, normal_equations<size>& out) {
        const Points& q = *static_cast<const Points*>(points);
        note_pass(q);
        const frame3 f = s.frame;
        const point3 o = s.origin;
        const double radius = s.radius;
        normal_equations<size> ne;
        for (std::size_t i = 0; i < q.size(); ++i) {
            const point3 d = q[i] - o;
            const double x = dot(d, f.x), y = dot(d, f.y), z = dot(d, f.z);
            const double rho = std::sqrt(x * x + y * y);
            const double inverse = rho > 0.0 ? 1.0 / rho : 0.0;
            const double ux = x * inverse, uy = y * inverse;
            const double row[size] = {-ux, -uy, -ux * z, -uy * z, -1.0};
            ne.add(row, rho - radius, rho + std::abs(z) + radius);
        }
        out = ne;
    }

    // The points, of the type the constructor took, and the pass over that type.
    const void* points_;
    void (*pass_)(const void* points, const state& s, normal_equations<size>& out);
    double scale_;
};

// Uncertainties of origin (3), direction (3) and radius.
using cylinder_solution = least_squares_solution<cylinder_state, 7>;

// The cylinder of an axial start, and the solution a least-squares result gives (its unit
// uncertainties and status).
cylinder_state cylinder_of(const axial_start& s);
cylinder_solution solution_of(const least_squares_result<cylinder_model>& r);

// The fit of points (a Points sequence) centred on their centroid, with the principal axes of
// their scatter: at least 5 points, not all on one line or in one plane. Only an optimum whose
// axis `domain` admits is a result; with none found, the status is outside_domain.
template <class Points>
cylinder_solution least_squares_cylinder(const Points& points, const principal_axes& axes,
                                         const axis_domain& domain = axis_domain()) {
    const axial_fit<cylinder_model> fit =
        fit_axial<cylinder_model>(points, axes, false, domain, cylinder_of);
    if (fit.status != fit_status::ok) {
        cylinder_solution none;
        none.status = fit.status;
        return none;
    }
    return solution_of(fit.result);
}

// The fit from a given start, without the start search.
cylinder_solution least_squares_cylinder(const std::vector<point3>& points,
                                         const cylinder_state& start);

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_CYLINDER_FIT_H

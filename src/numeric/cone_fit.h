// SPDX-License-Identifier: Apache-2.0
// The least-squares cone of points centred on their centroid.
//
// Parametrisation: the state is a frame whose z is the axis, the axis point nearest the
// centroid (the coordinate origin), the radius r there and the half angle psi, signed: the
// radius at height z along the axis is r + z tan(psi). Nothing refers to the apex, which
// recedes without bound as psi goes to 0, so the parametrisation stays well-conditioned for
// small half angles and passes through the cylinder. A point's residual is its distance from
// the generator in its meridian half-plane, (rho - r) cos(psi) - z sin(psi); a step
// (a, b, alpha, beta, dr, dpsi) shifts and tilts the axis as for the cylinder (the radius at
// the new foot of the centroid follows along the generator) and changes r and psi.
//
// Start: the search of axis_search.h, as for the cylinder, with the tapered algebraic element
// about each candidate axis. At the end the axis is turned to point towards increasing radius
// (psi > 0).
#ifndef VANTOR_NUMERIC_CONE_FIT_H
#define VANTOR_NUMERIC_CONE_FIT_H

#include <cmath>
#include <vector>

#include "numeric/axis_domain.h"
#include "numeric/axis_search.h"
#include "numeric/fit_status.h"
#include "numeric/gauss_newton.h"
#include "numeric/scatter.h"
#include "numeric/spatial.h"

namespace vantor {
namespace detail {

struct cone_state {
    frame3 frame;   // z along the axis
    point3 origin;  // the point of the axis nearest the coordinate origin
    double radius;  // the radius at origin
    double angle;   // the half angle, radians, in (-pi/2, pi/2]: radius + z tan(angle) at z
};

class cone_model {
  public:
    static constexpr int size = 6;
    using state = cone_state;

    // `points`: a Points sequence (sample.h) that outlives the model; `scale`: the extent of
    // the points, the unit of the lengths of a step.
    template <class Points>
    cone_model(const Points& points, double scale)
        : points_(&points), pass_(&pass<Points>), scale_(scale) {}

    // One pass: residuals and Jacobian rows of every point, summed into ne.
    void evaluate(const state& s, normal_equations<size>& ne) const { pass_(points_, s, ne); }
    // The state after a step (a, b, alpha, beta, dr, dpsi); the minimax fit moves its cone so
    // too.
    static state moved(const state& s, const double* step);

    // The residual of p about the cone of frame f, axis point o, radius there and half angle
    // of cosine c and sine sn, with its row of derivatives with respect to a step, and the size
    // of the terms the residual is the difference of.
    static double residual(const frame3& f, const point3& o, double radius, double c, double sn,
                           const point3& p, double (&row)[size], double& magnitude) {
        const point3 d = p - o;
        const double x = dot(d, f.x), y = dot(d, f.y), z = dot(d, f.z);
        const double rho = std::sqrt(x * x + y * y);
        const double inverse = rho > 0.0 ? 1.0 / rho : 0.0;
        const double ux = x * inverse, uy = y * inverse;
        const double radial = rho - radius;
        row[0] = -c * ux;
        row[1] = -c * uy;
        row[2] = -c * ux * z - sn * x;
        row[3] = -c * uy * z - sn * y;
        row[4] = -c;
        row[5] = -radial * sn - z * c;
        magnitude = rho + std::abs(radius) + std::abs(z);
        return radial * c - z * sn;
    }
    double scaled_step(const double* step) const;

  private:
    template <class Points>
    static void pass(const void* points, const state& s, normal_equations<size>& out) {
        const Points& q = *static_cast<const Points*>(points);
        note_pass(q);
        const double c = std::cos(s.angle), sn = std::sin(s.angle);
        normal_equations<size> ne;
        for (std::size_t i = 0; i < q.size(); ++i) {
            double row[size], magnitude;
            const double r = residual(s.frame, s.origin, s.radius, c, sn, q[i], row, magnitude);
            ne.add(row, r, magnitude);
        }
        out = ne;
    }

    // The points, of the type the constructor took, and the pass over that type.
    const void* points_;
    void (*pass_)(const void* points, const state& s, normal_equations<size>& out);
    double scale_;
};

// Uncertainties of apex (3), direction (3) and half angle (radians). The state's frame.z points
// towards increasing radius (angle >= 0).
struct cone_solution : least_squares_solution<cone_state, 7> {
    // The apex, radius / tan(angle) behind origin along the axis.
    point3 apex{};
};

// Whether a fitted cone has an apex beside the points: cylindrical when its half angle is 0 to
// working precision (|tan| <= 1e-12, the apex more than 1e12 radii away), apex_inside when its
// radius at the origin is negative (the surface crosses its axis among the points), else ok.
fit_status cone_shape(const cone_state& s);

// The apex, radius / tan(angle) behind the origin along the axis (for a cone_shape that is ok).
point3 apex_of(const cone_state& s);

// The same cone with its axis pointing towards increasing radius (angle >= 0).
cone_state widening(const cone_state& s);

// The cone of an axial start, and the solution a least-squares result gives (the axis turned
// towards increasing radius, the apex, the unit uncertainties and status).
cone_state cone_of(const axial_start& s);
cone_solution solution_of(const least_squares_result<cone_model>& r);

// The fit of points (a Points sequence) centred on their centroid, with the principal axes of
// their scatter: at least 6 points, not all on one line or in one plane. Only an optimum whose
// axis `domain` admits is a result; with none found, the status is outside_domain.
template <class Points>
cone_solution least_squares_cone(const Points& points, const principal_axes& axes,
                                 const axis_domain& domain = axis_domain()) {
    const axial_fit<cone_model> fit = fit_axial<cone_model>(points, axes, true, domain, cone_of);
    if (fit.status != fit_status::ok) {
        cone_solution none;
        none.status = fit.status;
        return none;
    }
    return solution_of(fit.result);
}

// The fit from a given start, without the start search.
cone_solution least_squares_cone(const std::vector<point3>& points, const cone_state& start);

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_CONE_FIT_H

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

    // `scale`: the extent of the points, the unit of the lengths of a step.
    cylinder_model(const std::vector<point3>& points, double scale)
        : points_(&points), scale_(scale) {}

    // One pass: residuals and Jacobian rows of every point, summed into ne.
    void evaluate(const state& s, normal_equations<size>& ne) const;
    // The state after a step (a, b, alpha, beta, dr); the minimax fits move their axes so too.
    static state moved(const state& s, const double* step);
    double scaled_step(const double* step) const;

  private:
    const std::vector<point3>* points_;
    double scale_;
};

// Uncertainties of origin (3), direction (3) and radius.
using cylinder_solution = least_squares_solution<cylinder_state, 7>;

// The fit of points centred on their centroid, with the principal axes of their scatter: at
// least 5 points, not all on one line or in one plane. Only an optimum whose axis `domain`
// admits is a result; with none found, the status is outside_domain.
cylinder_solution least_squares_cylinder(const std::vector<point3>& points,
                                         const principal_axes& axes,
                                         const axis_domain& domain = axis_domain());

// The fit from a given start, without the start search.
cylinder_solution least_squares_cylinder(const std::vector<point3>& points,
                                         const cylinder_state& start);

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_CYLINDER_FIT_H

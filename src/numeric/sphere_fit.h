// The least-squares sphere of points centred on their centroid.
//
// Parameters: the centre (relative to the centroid) and the radius; a point's residual is
// |p - c| - r with the Jacobian row -((p - c) / |p - c|, 1). Start: the algebraic sphere
// |p|^2 = 2 c.p + (r^2 - |c|^2), linear in c and r^2 - |c|^2 and solved by a column-pivoted QR
// on a sample of at most 1024 points, refined on the sample, then on all points.
#ifndef VANTOR_NUMERIC_SPHERE_FIT_H
#define VANTOR_NUMERIC_SPHERE_FIT_H

#include <vector>

#include "numeric/gauss_newton.h"
#include "numeric/scatter.h"
#include "numeric/spatial.h"

namespace vantor {
namespace detail {

struct sphere_state {
    point3 centre;
    double radius;
};

class sphere_model {
  public:
    static constexpr int size = 4;
    using state = sphere_state;

    // `scale`: the extent of the points, the unit of the lengths of a step.
    sphere_model(const std::vector<point3>& points, double scale)
        : points_(&points), scale_(scale) {}

    void evaluate(const state& s, normal_equations<size>& ne) const;
    state moved(const state& s, const double* step) const;
    double scaled_step(const double* step) const;

  private:
    const std::vector<point3>* points_;
    double scale_;
};

// Uncertainties of centre (3) and radius.
using sphere_solution = least_squares_solution<sphere_state, 4>;

// The fit of points centred on their centroid, with the principal axes of their scatter: at
// least 4 points, not all in one plane.
sphere_solution least_squares_sphere(const std::vector<point3>& points, const principal_axes& axes);

// The fit from a given start.
sphere_solution least_squares_sphere(const std::vector<point3>& points, const sphere_state& start);

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_SPHERE_FIT_H

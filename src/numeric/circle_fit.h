// The least-squares circle in the plane for the fitting interface: the Levenberg-Marquardt
// driver of the 3-D fits (gauss_newton.h) with the residual |p - c| - r and the Jacobian row
// -((p - c) / |p - c|, 1), from a start near the optimum (the Kasa circle), in coordinates
// local to the points. With its stopping test a fit from the Kasa start of a closed profile
// takes two passes over the points: one at the start, one after the first step; the next step
// is below the tolerance and taken without a pass.
//
// (The circle fit of `substitute` keeps its own iteration, least_squares_circle.h, whose
// results its callers rely on.)
#ifndef VANTOR_NUMERIC_CIRCLE_FIT_H
#define VANTOR_NUMERIC_CIRCLE_FIT_H

#include <vector>

#include "numeric/gauss_newton.h"
#include "numeric/planar.h"

namespace vantor {
namespace detail {

class circle_model {
  public:
    static constexpr int size = 3;
    using state = circle2;

    // `scale`: the extent of the points, the unit of the lengths of a step.
    circle_model(const std::vector<point2>& points, double scale)
        : points_(&points), scale_(scale) {}

    void evaluate(const state& s, normal_equations<size>& ne) const;
    state moved(const state& s, const double* step) const;
    double scaled_step(const double* step) const;

  private:
    const std::vector<point2>* points_;
    double scale_;
};

// The least-squares circle of points given in coordinates local to them, with `scale` their
// extent, from `start`; the sums at the result give J^T J for the parameters (centre x,
// centre y, radius).
least_squares_result<circle_model> least_squares_circle_fit(const std::vector<point2>& points,
                                                            double scale, const circle2& start);

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_CIRCLE_FIT_H

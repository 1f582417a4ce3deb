// SPDX-License-Identifier: Apache-2.0
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

#include <cstddef>
#include <limits>

#include "numeric/gauss_newton.h"
#include "numeric/lanes.h"
#include "numeric/planar.h"

namespace vantor {
namespace detail {

class circle_model {
  public:
    static constexpr int size = 3;
    using state = circle2;

    // `points`: a sequence of point2 with size() and operator[] (numeric/sample.h) that
    // outlives the model; `scale`: the extent of the points, the unit of the lengths of a step.
    template <class Points>
    circle_model(const Points& points, double scale)
        : points_(&points), pass_(&pass<Points>), scale_(scale) {}

    // One pass: residuals and Jacobian rows of every point, summed into ne.
    void evaluate(const state& s, normal_equations<size>& ne) const { pass_(points_, s, ne); }
    state moved(const state& s, const double* step) const;
    double scaled_step(const double* step) const;

  private:
    template <class Points>
    static void pass(const void* points, const state& s, normal_equations<size>& out) {
        const Points& p = *static_cast<const Points*>(points);
        note_pass(p);
        // Two points a step in vectors of two doubles (one SIMD register): the square root and the
        // division, which bound the time of a pass, then serve two points at once.
        const two_doubles zero{0.0, 0.0}, one{1.0, 1.0},
            eps{std::numeric_limits<double>::epsilon(), std::numeric_limits<double>::epsilon()};
        const two_doubles cx{s.centre.x, s.centre.x}, cy{s.centre.y, s.centre.y};
        const two_doubles radius{s.radius, s.radius};
        two_doubles xx{}, xy{}, yy{}, x{}, y{}, n{}, rx{}, ry{}, r{}, rr{}, rounding{};
        const std::size_t count = p.size();
        for (std::size_t i = 0; i < count; i += 2) {
            // An odd point last is paired with itself, and its second lane dropped.
            const std::size_t k = i + 1 < count ? i + 1 : i;
            const two_doubles keep{1.0, i + 1 < count ? 1.0 : 0.0};
            const point2 a = p[i], b = p[k];
            const two_doubles dx = two_doubles{a.x, b.x} - cx;
            const two_doubles dy = two_doubles{a.y, b.y} - cy;
            const two_doubles squared = dx * dx + dy * dy;
            const two_doubles rho = square_roots(squared);
            const two_doubles inverse = rho > zero ? one / rho : zero;
            // The Jacobian row is -(ux, uy, 1); the residual rho - radius.
            const two_doubles ux = dx * inverse * keep, uy = dy * inverse * keep;
            const two_doubles e = (rho - radius) * keep;
            const two_doubles size = (rho + radius) * keep;
            xx += ux * ux;
            xy += ux * uy;
            yy += uy * uy;
            x += ux;
            y += uy;
            n += keep;
            rx -= ux * e;
            ry -= uy * e;
            r -= e;
            rr += e * e;
            rounding += ((e < zero ? -e : e) + eps * size) * size;
        }
        const auto total = [](two_doubles v) { return v[0] + v[1]; };
        normal_equations<size> ne;
        ne.jtj[0][0] = total(xx);
        ne.jtj[1][0] = total(xy);
        ne.jtj[1][1] = total(yy);
        ne.jtj[2][0] = total(x);
        ne.jtj[2][1] = total(y);
        ne.jtj[2][2] = total(n);
        ne.jtr[0] = total(rx);
        ne.jtr[1] = total(ry);
        ne.jtr[2] = total(r);
        ne.sum_of_squares = total(rr);
        ne.rounding = total(rounding);
        ne.count = count;
        out = ne;
    }

    // The points, of the type the constructor took, and the pass over that type.
    const void* points_;
    void (*pass_)(const void* points, const state& s, normal_equations<size>& out);
    double scale_;
};

// The least-squares circle of points (a sequence of point2) given in coordinates local to them,
// with `scale` their extent, from `start`; the sums at the result give J^T J for the parameters
// (centre x, centre y, radius).
template <class Points>
least_squares_result<circle_model> least_squares_circle_fit(const Points& points, double scale,
                                                            const circle2& start) {
    return minimise_squares(circle_model(points, scale), start);
}

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_CIRCLE_FIT_H

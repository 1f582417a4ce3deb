// SPDX-License-Identifier: Apache-2.0
// The least-squares sphere of points centred on their centroid.
//
// Parameters: the centre (relative to the centroid) and the radius; a point's residual is
// |p - c| - r with the Jacobian row -((p - c) / |p - c|, 1). Start: the algebraic sphere
// |p|^2 = 2 c.p + (r^2 - |c|^2), linear in c and r^2 - |c|^2 and solved by a column-pivoted QR
// on a sample of at most 1024 points, refined on the sample, then on all points.
#ifndef VANTOR_NUMERIC_SPHERE_FIT_H
#define VANTOR_NUMERIC_SPHERE_FIT_H

#include <optional>
#include <vector>

#include "numeric/gauss_newton.h"
#include "numeric/sample.h"
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

    // `points`: a Points sequence (sample.h) that outlives the model; `scale`: the extent of
    // the points, the unit of the lengths of a step.
    template <class Points>
    sphere_model(const Points& points, double scale)
        : points_(&points), pass_(&pass<Points>), scale_(scale) {}

    // One pass: residuals and Jacobian rows of every point, summed into ne.
    void evaluate(const state& s, normal_equations<size>& ne) const { pass_(points_, s, ne); }
    state moved(const state& s, const double* step) const;
    double scaled_step(const double* step) const;

  private:
    template <class Points>
    static void pass(const void* points, const state& s, normal_equations<size>& out) {
        const Points& q = *static_cast<const Points*>(points);
        note_pass(q);
        const point3 c = s.centre;
        const double radius = s.radius;
        normal_equations<size> ne;
        for (std::size_t i = 0; i < q.size(); ++i) {
            const point3 d = q[i] - c;
            const double rho = norm(d);
            const double inverse = rho > 0.0 ? 1.0 / rho : 0.0;
            const double row[size] = {-d.x * inverse, -d.y * inverse, -d.z * inverse, -1.0};
            ne.add(row, rho - radius, rho + radius);
        }
        out = ne;
    }

    // The points, of the type the constructor took, and the pass over that type.
    const void* points_;
    void (*pass_)(const void* points, const state& s, normal_equations<size>& out);
    double scale_;
};

// Uncertainties of centre (3) and radius.
using sphere_solution = least_squares_solution<sphere_state, 4>;

// The least-squares sphere of a sample (its start the algebraic sphere) with the model's
// `scale`; empty when the sample gives no algebraic sphere.
std::optional<least_squares_result<sphere_model>> sample_sphere(const std::vector<point3>& sample,
                                                                double scale);

// The solution a least-squares result gives: its unit uncertainties and status.
sphere_solution solution_of(const least_squares_result<sphere_model>& r);

// The fit of points (a Points sequence) centred on their centroid, with the principal axes of
// their scatter: at least 4 points, not all in one plane.
template <class Points>
sphere_solution least_squares_sphere(const Points& points, const principal_axes& axes) {
    const double scale = extent_of(axes, points.size());
    const std::vector<point3> sample = strided_sample(points, start_sample_limit);
    const std::optional<least_squares_result<sphere_model>> coarse = sample_sphere(sample, scale);
    if (!coarse) {
        sphere_solution none;
        none.status = fit_status::no_start;
        return none;
    }
    if (sample.size() == points.size()) return solution_of(*coarse);
    return solution_of(minimise_squares(sphere_model(points, scale), coarse->state));
}

// The fit from a given start.
sphere_solution least_squares_sphere(const std::vector<point3>& points, const sphere_state& start);

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_SPHERE_FIT_H

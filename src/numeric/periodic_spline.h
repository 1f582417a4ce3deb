// SPDX-License-Identifier: Apache-2.0
// A closed profile measured at unequal angles, interpolated by a periodic cubic spline and
// resampled at equal angles.
//
// The spline through the knots (t_i, y_i), i = 0 .. N-1, closed by t_N = t_0 + 2 pi, y_N = y_0,
// is the piecewise cubic with continuous second derivative all round. For a profile f with a
// continuous fourth derivative its error is at most 5/384 h^4 max|f''''|, h the widest gap
// between neighbouring knots (Hall and Meyer's bound for complete cubic spline interpolation,
// which periodic interpolation of a periodic function shares; it holds for any spacing of the
// knots). For a harmonic a cos(k theta + phase) that is 5/384 (k h)^4 a.
#ifndef VANTOR_NUMERIC_PERIODIC_SPLINE_H
#define VANTOR_NUMERIC_PERIODIC_SPLINE_H

#include <cstddef>
#include <vector>

namespace vantor {
namespace detail {

// Knots of a closed profile: angles strictly increasing within [0, 2 pi), with their values.
struct profile_knots {
    std::vector<double> angles;
    std::vector<double> values;
};

// The knots of measured samples (angles sorted increasing within [0, 2 pi), with their values).
// Runs of samples that lie within `merge` radians of the first of the run, across 0 as well,
// become one knot at their mean angle with their mean value (merge > 0): repeated measurements of
// one place (an overlapping scan) would otherwise make the spline swing between them.
profile_knots merged_knots(const std::vector<double>& angles, const std::vector<double>& values,
                           double merge);

// The widest gap between neighbouring angles (sorted increasing within [0, 2 pi)), the closing
// gap from the last round to the first included: 2 pi for a single angle, 0 for none.
double widest_gap(const std::vector<double>& angles);

// The periodic cubic spline through the knots (at least 3) at the `count` angles 2 pi m / count,
// m = 0 .. count-1. Linear time: the moments come from the cyclic tridiagonal system (solved by
// the Sherman-Morrison formula; diagonally dominant, so stable), and the samples are evaluated
// walking round the knots once.
std::vector<double> periodic_spline_samples(const profile_knots& knots, std::size_t count);

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_PERIODIC_SPLINE_H

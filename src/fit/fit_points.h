// The points of a set as the fits of the fitting interface see them: the valid points only,
// in the numeric core's coordinates; and the distances of the points from a fitted element,
// measured as the form features measure them.
#ifndef VANTOR_FIT_FIT_POINTS_H
#define VANTOR_FIT_FIT_POINTS_H

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "actual/extremes.h"
#include "numeric/scatter.h"
#include "numeric/spatial.h"
#include "vantor/fit.h"

namespace vantor::detail {

inline spanto::point as_point(const point3& p) { return {p.x, p.y, p.z}; }
inline spanto::vector as_vector(const point3& v) { return {v.x, v.y, v.z}; }

// The scatter of the valid points for a fit of `element` ("a cone"), which needs `needed`
// points; sets report.points. False, with the reason, when there are fewer valid points or a
// coordinate is infinite.
bool scatter_for_fit(const actual& points, const char* element, int needed, fit_report& report,
                     scatter3& s, std::string& reason);

// The valid points of the set, relative to `origin`.
std::vector<point3> offsets_of(const actual& points, const point3& origin);

// v or -v, whichever points to positive z, then positive y, then positive x.
spanto::vector oriented(const spanto::vector& v);

// Folds the distance of every valid point from a fitted element into the report: minimum and
// maximum, rms, and the deviation (largest minus smallest; twice the largest when `diameters`,
// as straightness measures it). Returns the sum of squared distances. The distance must be NaN
// for a point with a NaN coordinate, as every distance of the geometry layer is.
//
// With targets, the indices of the points whose distance lies within `tolerance` of one of them
// become the report's contacts (for a minimax element, the distances of its boundary).
template <class Distance>
double measure(const actual& points, const Distance& distance, bool diameters, fit_report& r,
               const std::vector<double>& targets = {}, double tolerance = 0.0) {
    extremes e{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    double sum = 0.0;
    std::size_t n = 0;
    const spanto::point* p = points.data();
    const int count = points.numpoints();
    for (int i = 0; i < count; ++i) {
        // A point with a NaN coordinate has a NaN distance: it is left out.
        const double d = distance(p[i]);
        if (d != d) continue;
        fold_value(d, e);
        sum += d * d;
        ++n;
        for (double target : targets) {
            if (std::abs(d - target) <= tolerance) {
                r.contacts.push_back(i);
                break;
            }
        }
    }
    r.minimum = e.low;
    r.maximum = e.high;
    r.deviation = diameters ? 2.0 * e.high : e.high - e.low;
    r.rms = n > 0 ? std::sqrt(sum / static_cast<double>(n)) : 0.0;
    return sum;
}

}  // namespace vantor::detail

#endif  // VANTOR_FIT_FIT_POINTS_H

// SPDX-License-Identifier: Apache-2.0
// The points of a set as the fits of the fitting interface see them: the valid points only,
// in the numeric core's coordinates; the distances of the points from a fitted element,
// measured as the form features measure them; and the count of the fits' passes over the
// points.
#ifndef VANTOR_FIT_FIT_POINTS_H
#define VANTOR_FIT_FIT_POINTS_H

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "actual/extremes.h"
#include "fit/fit_report.h"
#include "fit/outliers.h"
#include "numeric/scatter.h"
#include "numeric/spatial.h"
#include "vantor/fit.h"

namespace vantor::detail {

inline spanto::point as_point(const point3& p) { return {p.x, p.y, p.z}; }
inline spanto::vector as_vector(const point3& v) { return {v.x, v.y, v.z}; }

// The scatter of the valid points for a fit of element `kind`; sets report.points. A failure
// when there are fewer valid points than the element's fewest_points or a coordinate is
// infinite; none otherwise.
failure scatter_for_fit(const actual& points, element_kind kind, fit_report& report, scatter3& s);

// The passes over the points that the fits of the fitting interface made on this thread so
// far, for benchmarks: a pass reads every valid point once (samples and the few points a
// solver picks out count nothing).
long fit_passes();
void count_pass();

// The valid rows of a point set: the set's own array when every row is valid, else a compact
// copy of the valid rows (24 bytes a point, as much as the set).
class valid_rows {
  public:
    // `valid`: the number of valid rows of the set (its scatter's count).
    valid_rows(const actual& points, std::size_t valid);
    valid_rows(const valid_rows&) = delete;
    valid_rows& operator=(const valid_rows&) = delete;

    std::size_t size() const { return size_; }
    const spanto::point* data() const { return rows_; }

  private:
    std::vector<spanto::point> compact_;
    const spanto::point* rows_;
    std::size_t size_;
};

// The valid rows of a set as the numeric fits read them (a Points sequence, numeric/sample.h):
// element i is map(row i), computed whenever it is read, so that a fit makes no copy of the
// points. The numeric fits' passes over it count in fit_passes().
template <class Map>
class mapped_rows {
  public:
    mapped_rows(const valid_rows& rows, const Map& map) : rows_(rows), map_(map) {}
    mapped_rows(const mapped_rows&) = delete;
    mapped_rows& operator=(const mapped_rows&) = delete;

    std::size_t size() const { return rows_.size(); }
    auto operator[](std::size_t i) const { return map_(rows_.data()[i]); }

    friend void note_pass(const mapped_rows&) { count_pass(); }

  private:
    const valid_rows& rows_;
    Map map_;
};

// A point relative to `origin` (the centroid), as the numeric fits of spheres, cylinders, cones,
// lines and planes take it.
struct centring {
    point3 origin;
    point3 operator()(const spanto::point& p) const {
        return {p.x - origin.x, p.y - origin.y, p.z - origin.z};
    }
};
using centred_points = mapped_rows<centring>;

// v or -v, whichever points to positive z, then positive y, then positive x.
spanto::vector oriented(const spanto::vector& v);

// Folds the distance of every valid point from a fitted element into the report: minimum and
// maximum, rms, the deviation (largest minus smallest; twice the largest when `diameters`, as
// straightness measures it) and the outliers. Returns the sum of squared distances. The distance
// must be NaN for a point with a NaN coordinate, as every distance of the geometry layer is.
//
// With targets, the indices of the points whose distance lies within `tolerance` of one of them
// become the report's contacts (for a minimax element, the distances of its boundary).
template <class Distance>
double measure(const actual& points, const Distance& distance, bool diameters, fit_report& r,
               const std::vector<double>& targets = {}, double tolerance = 0.0) {
    extremes e{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    double sum = 0.0;
    std::size_t n = 0;
    outlier_scan outliers(diameters);
    double size = 0.0;  // of the coordinates, which bounds the rounding in the distances
    const spanto::point* p = points.data();
    const int count = points.numpoints();
    for (int i = 0; i < count; ++i) {
        // A point with a NaN coordinate has a NaN distance: it is left out.
        const double d = distance(p[i]);
        if (d != d) continue;
        fold_value(d, e);
        sum += d * d;
        ++n;
        outliers.add(d);
        size = std::max(size, std::abs(p[i].x) + std::abs(p[i].y) + std::abs(p[i].z));
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
    r.outliers = outliers.count(1e-12 * size);
    count_pass();
    return sum;
}

// The outliers (fit_report::outliers) of the distances of the valid points from an element.
template <class Distance>
int count_outliers(const actual& points, const Distance& distance, bool one_sided) {
    outlier_scan scan(one_sided);
    double size = 0.0;
    const spanto::point* p = points.data();
    for (int i = 0; i < points.numpoints(); ++i) {
        const double d = distance(p[i]);
        if (d != d) continue;
        scan.add(d);
        size = std::max(size, std::abs(p[i].x) + std::abs(p[i].y) + std::abs(p[i].z));
    }
    count_pass();
    return scan.count(1e-12 * size);
}

}  // namespace vantor::detail

#endif  // VANTOR_FIT_FIT_POINTS_H

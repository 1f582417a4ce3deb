// SPDX-License-Identifier: Apache-2.0
// Distance and extent queries of a point set: nearest stored point, least-squares distance sums
// with their spreads, and the bounding box.
#include "vantor/actual.h"

#include <cstddef>

#include "actual/extremes.h"
#include "actual/shared_invalid.h"

namespace vantor {

using spanto::point;

namespace {

// The point of [begin, end) with the smallest distance(p); a later point wins only when it is
// strictly nearer, so ties (and NaN distances) keep the earlier one.
template <typename Distance>
point nearest_point(const point* begin, const point* end, const Distance& distance) {
    if (begin == end) return detail::shared_invalid_point();
    const point* best = begin;
    double best_distance = distance(*begin);
    for (const point* p = begin + 1; p != end; ++p) {
        const double d = distance(*p);
        if (d < best_distance) {
            best = p;
            best_distance = d;
        }
    }
    return *best;
}

// Sum of the squared unsigned distances from g.
template <typename Geometry>
double sum_of_squares(const point* begin, const point* end, const Geometry& g) {
    double sum = 0.0;
    for (const point* p = begin; p != end; ++p) {
        const double d = g.distance(*p);
        sum += d * d;
    }
    return sum;
}

// Sum of the squared signed distances from g, and their spread: largest minus smallest, with
// the running extremes starting at -1e9 and +1e9.
template <typename Geometry>
double signed_sum_of_squares(const point* begin, const point* end, const Geometry& g,
                             double& spread) {
    double sum = 0.0;
    detail::extremes e{1e9, -1e9};
    detail::fold_extremes(
        begin, end,
        [&](const point& p) {
            const double d = g.sdistance(p);
            sum += d * d;
            return d;
        },
        e);
    spread = e.high - e.low;
    return sum;
}

// The running smallest and largest x, y and z of a box.
struct box_extremes {
    detail::extremes x, y, z;

    explicit box_extremes(const point& p) : x{p.x, p.x}, y{p.y, p.y}, z{p.z, p.z} {}
    box_extremes(const point& lo, const point& hi) : x{lo.x, hi.x}, y{lo.y, hi.y}, z{lo.z, hi.z} {}

    void fold(const point& p) {
        detail::fold_value(p.x, x);
        detail::fold_value(p.y, y);
        detail::fold_value(p.z, z);
    }
    void fold(const box_extremes& later) {
        detail::fold_run(later.x, x);
        detail::fold_run(later.y, y);
        detail::fold_run(later.z, z);
    }
};

// Folds [begin, end) into box as four consecutive runs of equal length walked side by side (the
// remainder joins the last run), so that the four chains of comparisons overlap. Each run starts
// from the same box and the runs are merged in order, which gives exactly the result of folding
// the points one by one.
void fold_points(const point* begin, const point* end, box_extremes& box) {
    const std::ptrdiff_t run = (end - begin) / 4;
    const point* const r1 = begin + run;
    const point* const r2 = r1 + run;
    const point* const r3 = r2 + run;
    box_extremes b1 = box, b2 = box, b3 = box;
    for (std::ptrdiff_t i = 0; i < run; ++i) {
        box.fold(begin[i]);
        b1.fold(r1[i]);
        b2.fold(r2[i]);
        b3.fold(r3[i]);
    }
    for (const point* p = r3 + run; p != end; ++p) b3.fold(*p);
    box.fold(b1);
    box.fold(b2);
    box.fold(b3);
}

}  // namespace

point actual::nearest(const point& q) const {
    return nearest_point(begin(), end(), [&](const point& p) { return q.distance(p); });
}

point actual::nearest(const spanto::line& l) const {
    return nearest_point(begin(), end(), [&](const point& p) { return l.distance(p); });
}

double actual::gaussdistance(const spanto::line& g) const {
    return sum_of_squares(begin(), end(), g);
}
double actual::gaussdistance(const spanto::plane& g) const {
    return sum_of_squares(begin(), end(), g);
}
double actual::gaussdistance(const spanto::circle& g) const {
    return sum_of_squares(begin(), end(), g);
}
double actual::gaussdistance(const spanto::cylinder& g) const {
    return sum_of_squares(begin(), end(), g);
}
double actual::gaussdistance(const spanto::sphere& g) const {
    return sum_of_squares(begin(), end(), g);
}

double actual::gaussdistance(const spanto::line& g, double& spread) const {
    // Distances from a line are unsigned: only the largest counts, starting from 0.
    double sum = 0.0;
    detail::extremes e{0.0, 0.0};
    detail::fold_extremes(
        begin(), end(),
        [&](const point& p) {
            const double d = g.distance(p);
            sum += d * d;
            return d;
        },
        e);
    spread = e.high;
    return sum;
}
double actual::gaussdistance(const spanto::plane& g, double& spread) const {
    return signed_sum_of_squares(begin(), end(), g, spread);
}
double actual::gaussdistance(const spanto::circle& g, double& spread) const {
    return signed_sum_of_squares(begin(), end(), g, spread);
}
double actual::gaussdistance(const spanto::cylinder& g, double& spread) const {
    return signed_sum_of_squares(begin(), end(), g, spread);
}
double actual::gaussdistance(const spanto::sphere& g, double& spread) const {
    return signed_sum_of_squares(begin(), end(), g, spread);
}

bool actual::bbox(point& lo, point& hi, bool extend) const {
    const int first = FirstValidPoint();
    if (first < 0) return extend;
    const point* from = begin() + first;
    box_extremes box = extend ? box_extremes(lo, hi) : box_extremes(*from++);
    fold_points(from, end(), box);
    lo = point(box.x.low, box.y.low, box.z.low);
    hi = point(box.x.high, box.y.high, box.z.high);
    return true;
}

}  // namespace vantor

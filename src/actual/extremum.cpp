// SPDX-License-Identifier: Apache-2.0
// Extremum points: two to four stored points that lie far apart, chosen among the
// representatives of the eight octants of the bounding box.
#include "vantor/actual.h"

#include <array>
#include <cstddef>
#include <limits>

#include "actual/octant_combinations.h"

namespace vantor {

using spanto::point;

namespace {

// The length of a choice of representatives, its terms added in this fixed order (the sums
// decide ties): the distance of a pair, the perimeter |bc| + |ab| + |ca| of a triangle, the
// closed path |bc| + |ab| + |cd| + |da| of four points.
double choice_length(const point (&r)[8], const std::array<int, 2>& e) {
    return r[e[0]].distance(r[e[1]]);
}
double choice_length(const point (&r)[8], const std::array<int, 3>& e) {
    const point &a = r[e[0]], &b = r[e[1]], &c = r[e[2]];
    return b.distance(c) + a.distance(b) + c.distance(a);
}
double choice_length(const point (&r)[8], const std::array<int, 4>& e) {
    const point &a = r[e[0]], &b = r[e[1]], &c = r[e[2]], &d = r[e[3]];
    return b.distance(c) + a.distance(b) + c.distance(d) + d.distance(a);
}

bool same_point(const point& a, const point& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

bool contains(const point* chosen, int count, const point& p) {
    for (int i = 0; i < count; ++i) {
        if (same_point(chosen[i], p)) return true;
    }
    return false;
}

// True when the representatives of the entry are valid and pairwise distinct. Two octants can
// share a representative (the stored point nearest to both means); such an entry would hand
// out one point twice.
template <std::size_t K>
bool usable(const point (&r)[8], const std::array<int, K>& entry) {
    point seen[K];
    for (std::size_t i = 0; i < K; ++i) {
        const point& p = r[entry[i]];
        if (p.invalid() || contains(seen, static_cast<int>(i), p)) return false;
        seen[i] = p;
    }
    return true;
}

// The first entry of the table with the largest length among the usable ones; null when no
// usable entry has a positive length.
template <int K>
const std::array<int, K>* longest_choice(const point (&r)[8]) {
    const std::array<int, K>* best = nullptr;
    double best_length = 0.0;
    for (const std::array<int, K>& entry : detail::octant_combinations<K>) {
        if (!usable(r, entry)) continue;
        const double length = choice_length(r, entry);
        if (length > best_length) {
            best = &entry;
            best_length = length;
        }
    }
    return best;
}

// The valid point of [begin, end), other than the chosen ones, whose distance to the nearest
// chosen point is largest; the first on ties, so with nothing chosen the first valid point. A
// NaN distance (from infinite coordinates) counts as infinitely far. Null when every valid
// point has been chosen.
const point* farthest_new_point(const point* begin, const point* end, const point* chosen,
                                int count) {
    const point* best = nullptr;
    double best_distance = 0.0;
    for (const point* p = begin; p != end; ++p) {
        if (p->invalid() || contains(chosen, count, *p)) continue;
        double distance = std::numeric_limits<double>::infinity();
        for (int i = 0; i < count; ++i) {
            const double d = chosen[i].distance(*p);
            if (d < distance) distance = d;
        }
        if (best == nullptr || distance > best_distance) {
            best = p;
            best_distance = distance;
        }
    }
    return best;
}

// Writes K far-apart stored points into outputs: the longest usable choice of octant
// representatives when there is one. Otherwise the distinct valid representatives, in octant
// order, completed
// with the valid stored points each farthest from those chosen so far; false (outputs
// untouched) when the set has fewer than K distinct valid points.
template <int K>
bool choose_extremum_points(const point (&r)[8], const point* begin, const point* end,
                            const std::array<point*, K>& outputs) {
    point chosen[K];
    int count = 0;
    if (const std::array<int, K>* entry = longest_choice<K>(r)) {
        for (int k : *entry) chosen[count++] = r[k];
    } else {
        for (const point& p : r) {
            if (count < K && p.valid() && !contains(chosen, count, p)) chosen[count++] = p;
        }
        for (; count < K; ++count) {
            const point* next = farthest_new_point(begin, end, chosen, count);
            if (next == nullptr) return false;
            chosen[count] = *next;
        }
    }
    for (std::size_t i = 0; i < outputs.size(); ++i) *outputs[i] = chosen[i];
    return true;
}

}  // namespace

int actual::octantpoints(point (&out)[8]) const {
    point lo, hi;
    if (!bbox(lo, hi, false)) return 0;
    const point centre = (lo + hi) * 0.5;
    int counts[8] = {};
    for (point& p : out) p = point(0, 0, 0);
    for (const point& p : *this) {
        // A coordinate strictly below the centre's selects the low half; anything else
        // (NaN included) the high half.
        const int k =
            (centre.x > p.x ? 0 : 4) + (centre.y > p.y ? 0 : 2) + (centre.z > p.z ? 0 : 1);
        out[k] += p;
        ++counts[k];
    }
    int occupied = 0;
    for (int k = 0; k < 8; ++k) {
        if (counts[k] == 0) {
            out[k].setinvalid();
            continue;
        }
        out[k] /= counts[k];
        out[k] = nearest(out[k]);
        ++occupied;
    }
    return occupied;
}

bool actual::ExtremumPoints(point& p1, point& p2) const {
    point r[8];
    octantpoints(r);
    return choose_extremum_points<2>(r, begin(), end(), {&p1, &p2});
}

bool actual::ExtremumPoints(point& p1, point& p2, point& p3) const {
    point r[8];
    octantpoints(r);
    return choose_extremum_points<3>(r, begin(), end(), {&p1, &p2, &p3});
}

bool actual::ExtremumPoints(point& p1, point& p2, point& p3, point& p4) const {
    point r[8];
    octantpoints(r);
    return choose_extremum_points<4>(r, begin(), end(), {&p1, &p2, &p3, &p4});
}

}  // namespace vantor

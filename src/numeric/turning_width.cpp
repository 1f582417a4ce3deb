// SPDX-License-Identifier: Apache-2.0
#include "numeric/turning_width.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>

namespace vantor {
namespace detail {

namespace {

constexpr double two_pi = 6.283185307179586476925;
constexpr std::size_t exact_size = 32;  // candidates per side solved by crossings
constexpr int first_intervals = 64;
constexpr int deepest = 100;  // levels of halving
// Candidate positions evaluated in all, beyond the first pass: near ties in a smooth minimum
// could otherwise keep many candidates in many intervals.
constexpr double most_work = 2e9;

using index = std::uint32_t;

// An interval of turns [mid - half, mid + half] with the points that can be largest (up) or
// smallest (down) in it, and a lower bound of the width over it.
struct interval {
    double mid, half, lower;
    std::vector<index> up, down;
};

class search {
  public:
    search(const std::vector<point3>& points, double c, double s)
        : points_(points), c_(c), s_(s), slope_(points.size()) {
        double scale = 0.0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            slope_[i] = s * std::sqrt(points[i].x * points[i].x + points[i].y * points[i].y);
            scale = std::max(scale, std::abs(c * points[i].z) + slope_[i]);
        }
        // Covers the rounding of a position and of the bounds built from it.
        margin_ = 1e-13 * scale;
    }

    double at(index i, double ct, double st) const {
        const point3& p = points_[i];
        return c_ * p.z + s_ * (p.x * ct + p.y * st);
    }

    // The width at turn t over the candidates.
    double width(const std::vector<index>& up, const std::vector<index>& down, double t) const {
        const double ct = std::cos(t), st = std::sin(t);
        double high = -std::numeric_limits<double>::infinity();
        double low = std::numeric_limits<double>::infinity();
        for (const index i : up) high = std::max(high, at(i, ct, st));
        for (const index i : down) low = std::min(low, at(i, ct, st));
        return high - low;
    }

    // The interval about `mid` with the candidates of a parent's lists that can be extreme in
    // it; `best` takes the width at its middle. Lists are built only when it is not dropped.
    bool narrow(const std::vector<index>& up, const std::vector<index>& down, double mid,
                double half, double& best, double tolerance, interval& out) {
        work_ += static_cast<double>(up.size() + down.size());
        const double ct = std::cos(mid), st = std::sin(mid);
        double top = -std::numeric_limits<double>::infinity(), top_low = top;
        double bottom = std::numeric_limits<double>::infinity(), bottom_high = bottom;
        for (const index i : up) {
            const double f = at(i, ct, st);
            top = std::max(top, f);
            top_low = std::max(top_low, f - slope_[i] * half);
        }
        for (const index i : down) {
            const double f = at(i, ct, st);
            bottom = std::min(bottom, f);
            bottom_high = std::min(bottom_high, f + slope_[i] * half);
        }
        best = std::min(best, top - bottom);
        out.mid = mid;
        out.half = half;
        out.lower = top_low - bottom_high - margin_;
        if (out.lower >= best - tolerance) return false;
        out.up.clear();
        out.down.clear();
        for (const index i : up) {
            if (at(i, ct, st) + slope_[i] * half >= top_low - margin_) out.up.push_back(i);
        }
        for (const index i : down) {
            if (at(i, ct, st) - slope_[i] * half <= bottom_high + margin_) out.down.push_back(i);
        }
        return true;
    }

    // The smallest width on the interval, exactly: between consecutive crossings of two
    // candidates of one side the extremes are fixed and the width is C + P cos t + Q sin t.
    double exact(const interval& v, double& turn) const {
        const double lo = v.mid - v.half, hi = v.mid + v.half;
        std::vector<double> cuts{lo, hi};
        const auto crossings = [&](const std::vector<index>& side) {
            for (std::size_t a = 0; a < side.size(); ++a) {
                for (std::size_t b = a + 1; b < side.size(); ++b) {
                    add_roots(points_[side[a]], points_[side[b]], lo, hi, cuts);
                }
            }
        };
        crossings(v.up);
        crossings(v.down);
        std::sort(cuts.begin(), cuts.end());
        double least = std::numeric_limits<double>::infinity();
        const auto consider = [&](double t) {
            const double w = width(v.up, v.down, t);
            if (w < least) least = w, turn = t;
        };
        for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
            const double t0 = cuts[k], t1 = cuts[k + 1];
            consider(t0);
            const double tm = 0.5 * (t0 + t1), ct = std::cos(tm), st = std::sin(tm);
            const index a = *std::max_element(v.up.begin(), v.up.end(), [&](index i, index j) {
                return at(i, ct, st) < at(j, ct, st);
            });
            const index b = *std::min_element(v.down.begin(), v.down.end(), [&](index i, index j) {
                return at(i, ct, st) < at(j, ct, st);
            });
            // The sinusoid's minimum lies where its phase points against (P, Q).
            const point3 d = points_[a] - points_[b];
            double t = std::atan2(d.y, d.x) + 0.5 * two_pi;
            t -= two_pi * std::floor((t - t0) / two_pi);
            if (t < t1) consider(t);
        }
        consider(hi);
        return least;
    }

    double margin() const { return margin_; }
    double work() const { return work_; }

  private:
    // The turns in [lo, hi] where points p and q lie at one position along m(t).
    void add_roots(const point3& p, const point3& q, double lo, double hi,
                   std::vector<double>& cuts) const {
        const double cc = c_ * (p.z - q.z), pp = s_ * (p.x - q.x), qq = s_ * (p.y - q.y);
        const double amplitude = std::sqrt(pp * pp + qq * qq);
        if (!(amplitude > 0.0) || std::abs(cc) > amplitude) return;
        const double phase = std::atan2(qq, pp), offset = std::acos(-cc / amplitude);
        for (double t : {phase + offset, phase - offset}) {
            t -= two_pi * std::floor((t - lo) / two_pi);
            if (t <= hi) cuts.push_back(t);
        }
    }

    const std::vector<point3>& points_;
    double c_, s_;
    std::vector<double> slope_;
    double margin_ = 0.0;
    double work_ = 0.0;
};

}  // namespace

turning_width minimum_turning_width(const std::vector<point3>& points, double c, double s,
                                    double tolerance) {
    turning_width result;
    // Points with equal positions for every turn (equal points; at c = 0, points apart only in
    // h) stay tied however narrow an interval: searched once, they let the candidates thin out.
    std::vector<point3> distinct(points);
    for (point3& p : distinct) p.z = c == 0.0 ? 0.0 : p.z;
    const auto before = [](const point3& a, const point3& b) {
        return a.x < b.x || (a.x == b.x && (a.y < b.y || (a.y == b.y && a.z < b.z)));
    };
    std::sort(distinct.begin(), distinct.end(), before);
    distinct.erase(std::unique(distinct.begin(), distinct.end(),
                               [](const point3& a, const point3& b) {
                                   return a.x == b.x && a.y == b.y && a.z == b.z;
                               }),
                   distinct.end());
    search find(distinct, c, s);
    std::vector<index> all(distinct.size());
    std::iota(all.begin(), all.end(), index{0});
    double best = std::numeric_limits<double>::infinity(), turn = 0.0;
    const auto improve = [&](double w, double t) {
        if (w < best) best = w, turn = t;
    };
    const double step = two_pi / first_intervals;
    for (int k = 0; k < first_intervals; ++k) {
        improve(find.width(all, all, (k + 0.5) * step), (k + 0.5) * step);
    }
    double bound = std::numeric_limits<double>::infinity();
    std::vector<interval> level, next;
    for (int k = 0; k < first_intervals; ++k) {
        interval v;
        double w = best;
        const bool kept = find.narrow(all, all, (k + 0.5) * step, 0.5 * step, w, tolerance, v);
        if (kept) {
            level.push_back(std::move(v));
        } else {
            bound = std::min(bound, v.lower);
        }
    }
    std::vector<index>().swap(all);
    for (int depth = 0; !level.empty(); ++depth) {
        if (depth > deepest || find.work() > most_work) return result;
        next.clear();
        for (interval& v : level) {
            if (v.lower >= best - tolerance) {
                bound = std::min(bound, v.lower);
            } else if (v.up.size() <= exact_size && v.down.size() <= exact_size) {
                double t = v.mid;
                const double w = find.exact(v, t);
                improve(w, t);
                bound = std::min(bound, w - find.margin());
            } else {
                for (const double side : {-0.5, 0.5}) {
                    interval child;
                    const double mid = v.mid + side * v.half;
                    double w = best;
                    if (find.narrow(v.up, v.down, mid, 0.5 * v.half, w, tolerance, child)) {
                        next.push_back(std::move(child));
                    } else {
                        bound = std::min(bound, child.lower);
                    }
                    improve(w, mid);
                }
            }
            std::vector<index>().swap(v.up);
            std::vector<index>().swap(v.down);
        }
        level.swap(next);
    }
    // Every interval was dropped with a bound or solved: best is within the tolerance.
    const double ct = std::cos(turn), st = std::sin(turn);
    result.converged = true;
    result.turn = turn - two_pi * std::floor(turn / two_pi);
    result.low = std::numeric_limits<double>::infinity();
    result.high = -result.low;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double f = c * points[i].z + s * (points[i].x * ct + points[i].y * st);
        if (f < result.low) result.low = f, result.lowest = i;
        if (f > result.high) result.high = f, result.highest = i;
    }
    result.width = result.high - result.low;
    result.bound = std::min(bound, result.width);
    return result;
}

}  // namespace detail
}  // namespace vantor

// SPDX-License-Identifier: Apache-2.0
// Intervals and interval slopes: enough arithmetic to enclose how a residual departs from its
// value at the centre of a box of parameters, which the proof of minimax_bound.h turns into
// tangent bounds of second order.
//
// An `interval` holds every value a quantity takes over the box. A `slope<N>` of a function f
// over a box of centre c holds f(c), f's range over the box, and N intervals S_k such that for
// every s in the box
//     f(s) - f(c) = sum_k sigma_k (s_k - c_k)   for some sigma_k in S_k.
// Evaluating a residual on slopes seeded with the box's sides encloses it between planes through
// f(c): with g_k the middle of S_k, |f(s) - f(c) - g . (s - c)| <= sum_k width(S_k) / 2 |s_k -
// c_k|. Slopes about the centre are about half as wide as the interval derivatives over the box
// (for f = x^2 on [c - h, c + h]: x + c against 2x), so the bound is half the mean value form's.
//
// Rounding: the operations round to nearest, not outwards, so an interval may miss its true
// range by a few units in the last place of its ends. Callers widen what they derive by a
// margin far above that (see minimax_bound.h).
#ifndef VANTOR_NUMERIC_INTERVAL_SLOPE_H
#define VANTOR_NUMERIC_INTERVAL_SLOPE_H

#include <algorithm>
#include <cmath>
#include <limits>

namespace vantor {
namespace detail {

struct interval {
    double lo = 0.0, hi = 0.0;

    interval() = default;
    interval(double v) : lo(v), hi(v) {}  // NOLINT: a number is its own interval
    interval(double l, double h) : lo(l), hi(h) {}

    static interval everything() {
        const double inf = std::numeric_limits<double>::infinity();
        return {-inf, inf};
    }
    bool bounded() const { return std::isfinite(lo) && std::isfinite(hi); }
};

inline interval operator+(interval a, interval b) { return {a.lo + b.lo, a.hi + b.hi}; }
inline interval operator-(interval a, interval b) { return {a.lo - b.hi, a.hi - b.lo}; }
inline interval operator-(interval a) { return {-a.hi, -a.lo}; }
inline interval operator*(interval a, interval b) {
    // A number times an interval (most factors in a jet's derivatives are numbers: seeds, and
    // the zeros of the variables a quantity does not depend on).
    if (a.lo == a.hi)
        return a.lo >= 0.0 ? interval(a.lo * b.lo, a.lo * b.hi)
                           : interval(a.lo * b.hi, a.lo * b.lo);
    if (b.lo == b.hi)
        return b.lo >= 0.0 ? interval(a.lo * b.lo, a.hi * b.lo)
                           : interval(a.hi * b.lo, a.lo * b.lo);
    const double p1 = a.lo * b.lo, p2 = a.lo * b.hi, p3 = a.hi * b.lo, p4 = a.hi * b.hi;
    return {std::min(std::min(p1, p2), std::min(p3, p4)),
            std::max(std::max(p1, p2), std::max(p3, p4))};
}
// Division by an interval that holds zero holds every number.
inline interval operator/(interval a, interval b) {
    if (!(b.lo > 0.0 || b.hi < 0.0)) return interval::everything();
    return a * interval(1.0 / b.hi, 1.0 / b.lo);
}
inline interval& operator+=(interval& a, interval b) { return a = a + b; }
inline interval sqrt(interval a) {
    // A square known to be non-negative (a sum of squares) may come out slightly negative.
    return {std::sqrt(std::max(a.lo, 0.0)), std::sqrt(std::max(a.hi, 0.0))};
}
// Sine and cosine of angles within (-pi/2, pi/2), where the sine rises and the cosine peaks
// at 0; anything wider holds [-1, 1].
inline interval sin(interval a) {
    if (!(a.lo > -1.5707963 && a.hi < 1.5707963)) return {-1.0, 1.0};
    return {std::sin(a.lo), std::sin(a.hi)};
}
inline interval cos(interval a) {
    if (!(a.lo > -1.5707963 && a.hi < 1.5707963)) return {-1.0, 1.0};
    const double l = std::cos(a.lo), h = std::cos(a.hi);
    return {std::min(l, h), a.lo <= 0.0 && a.hi >= 0.0 ? 1.0 : std::max(l, h)};
}

template <int N>
struct slope {
    interval at;     // f(c)
    interval range;  // f over the box
    interval s[N];   // the slopes about c

    slope() = default;
    slope(double v) : at(v), range(v) {}  // NOLINT: a constant, of zero slopes
    // The k-th variable, over [centre - half, centre + half].
    static slope variable(double centre, double half, int k) {
        slope x(centre);
        x.range = interval(centre - half, centre + half);
        x.s[k] = interval(1.0);
        return x;
    }
};

template <int N>
slope<N> operator+(const slope<N>& a, const slope<N>& b) {
    slope<N> r;
    r.at = a.at + b.at;
    r.range = a.range + b.range;
    for (int k = 0; k < N; ++k) r.s[k] = a.s[k] + b.s[k];
    return r;
}
template <int N>
slope<N> operator-(const slope<N>& a, const slope<N>& b) {
    slope<N> r;
    r.at = a.at - b.at;
    r.range = a.range - b.range;
    for (int k = 0; k < N; ++k) r.s[k] = a.s[k] - b.s[k];
    return r;
}
// uv(s) - uv(c) = (u(s) - u(c)) v(s) + u(c) (v(s) - v(c)).
template <int N>
slope<N> operator*(const slope<N>& a, const slope<N>& b) {
    slope<N> r;
    r.at = a.at * b.at;
    r.range = a.range * b.range;
    for (int k = 0; k < N; ++k) r.s[k] = a.s[k] * b.range + a.at * b.s[k];
    return r;
}
template <int N>
slope<N> operator*(double c, const slope<N>& a) {
    slope<N> r;
    r.at = interval(c) * a.at;
    r.range = interval(c) * a.range;
    for (int k = 0; k < N; ++k) r.s[k] = interval(c) * a.s[k];
    return r;
}
// With f = u / v: f(s) - f(c) = (u(s) - u(c) - f(c) (v(s) - v(c))) / v(s).
template <int N>
slope<N> operator/(const slope<N>& a, const slope<N>& b) {
    slope<N> r;
    r.at = a.at / b.at;
    r.range = a.range / b.range;
    for (int k = 0; k < N; ++k) r.s[k] = (a.s[k] - r.at * b.s[k]) / b.range;
    return r;
}
// sqrt u(s) - sqrt u(c) = (u(s) - u(c)) / (sqrt u(s) + sqrt u(c)).
template <int N>
slope<N> sqrt(const slope<N>& a) {
    slope<N> r;
    r.at = sqrt(a.at);
    r.range = sqrt(a.range);
    const interval sum = r.range + r.at;
    for (int k = 0; k < N; ++k) r.s[k] = a.s[k] / sum;
    return r;
}
// With t = u(s) - u(c):
//     sin(u(c) + t) - sin u(c) = (sin u(c) (cos t - 1) / t + cos u(c) sin t / t) t,
//     cos(u(c) + t) - cos u(c) = (cos u(c) (cos t - 1) / t - sin u(c) sin t / t) t,
// where (cos t - 1) / t lies between 0 and -t / 2 and sin t / t in [max(1 - t^2 / 6, -0.22), 1]:
// about half as wide as the derivative over u's range (a slope's factor varies with t / 2).
struct trig_slope_factors {
    interval versine, sine;  // (cos t - 1) / t and sin t / t over t in u's range less u(c)
};
inline trig_slope_factors trig_factors(interval at, interval range) {
    const double low = range.lo - at.hi, high = range.hi - at.lo;
    const double most = std::max(std::abs(low), std::abs(high));
    return {interval(std::min(0.0, -0.5 * high), std::max(0.0, -0.5 * low)),
            interval(std::max(1.0 - most * most / 6.0, -0.2173), 1.0)};
}
template <int N>
slope<N> sin(const slope<N>& a) {
    slope<N> r;
    r.at = sin(a.at);
    r.range = sin(a.range);
    const trig_slope_factors f = trig_factors(a.at, a.range);
    const interval factor = r.at * f.versine + cos(a.at) * f.sine;
    for (int k = 0; k < N; ++k) r.s[k] = a.s[k] * factor;
    return r;
}
template <int N>
slope<N> cos(const slope<N>& a) {
    slope<N> r;
    r.at = cos(a.at);
    r.range = cos(a.range);
    const trig_slope_factors f = trig_factors(a.at, a.range);
    const interval factor = r.at * f.versine - sin(a.at) * f.sine;
    for (int k = 0; k < N; ++k) r.s[k] = a.s[k] * factor;
    return r;
}

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_INTERVAL_SLOPE_H

// Intervals and first-order jets: enough arithmetic to enclose a residual's gradient over a box
// of parameters, which the proof of minimax_bound.h turns into tangent bounds of second order.
//
// An `interval` holds every value a quantity takes over the box; `jet<T, N>` a value and its N
// partial derivatives, each of type T (double at a point, interval over a box). Evaluating a
// residual on jets of intervals seeded with the box's sides gives an interval that holds the
// gradient at every point of the box (the mean value form then bounds the residual's departure
// from its tangent plane by the interval's width times the box's).
//
// Rounding: the operations round to nearest, not outwards, so an interval may miss its true
// range by a few units in the last place of its ends. Callers widen what they derive by a
// margin far above that (see minimax_bound.h).
#ifndef VANTOR_NUMERIC_INTERVAL_JET_H
#define VANTOR_NUMERIC_INTERVAL_JET_H

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

template <class T, int N>
struct jet {
    T v{};
    T d[N]{};

    jet() = default;
    jet(double c) : v(c) {}  // NOLINT: a constant, of zero derivatives
    // The k-th variable, of value x.
    static jet variable(T x, int k) {
        jet j;
        j.v = x;
        j.d[k] = T(1.0);
        return j;
    }
};

template <class T, int N>
jet<T, N> operator+(const jet<T, N>& a, const jet<T, N>& b) {
    jet<T, N> r;
    r.v = a.v + b.v;
    for (int k = 0; k < N; ++k) r.d[k] = a.d[k] + b.d[k];
    return r;
}
template <class T, int N>
jet<T, N> operator-(const jet<T, N>& a, const jet<T, N>& b) {
    jet<T, N> r;
    r.v = a.v - b.v;
    for (int k = 0; k < N; ++k) r.d[k] = a.d[k] - b.d[k];
    return r;
}
template <class T, int N>
jet<T, N> operator*(const jet<T, N>& a, const jet<T, N>& b) {
    jet<T, N> r;
    r.v = a.v * b.v;
    for (int k = 0; k < N; ++k) r.d[k] = a.d[k] * b.v + a.v * b.d[k];
    return r;
}
template <class T, int N>
jet<T, N> operator*(double c, const jet<T, N>& a) {
    jet<T, N> r;
    r.v = T(c) * a.v;
    for (int k = 0; k < N; ++k) r.d[k] = T(c) * a.d[k];
    return r;
}
template <class T, int N>
jet<T, N> operator/(const jet<T, N>& a, const jet<T, N>& b) {
    jet<T, N> r;
    const T inverse = T(1.0) / b.v;
    r.v = a.v * inverse;
    for (int k = 0; k < N; ++k) r.d[k] = (a.d[k] - r.v * b.d[k]) * inverse;
    return r;
}
// f(a) from f's value and slope at a's value (the chain rule).
template <class T, int N>
jet<T, N> chained(const jet<T, N>& a, const T& value, const T& slope) {
    jet<T, N> r;
    r.v = value;
    for (int k = 0; k < N; ++k) r.d[k] = a.d[k] * slope;
    return r;
}
template <class T, int N>
jet<T, N> sqrt(const jet<T, N>& a) {
    using std::sqrt;
    const T root = sqrt(a.v);
    return chained(a, root, T(0.5) / root);
}
template <class T, int N>
jet<T, N> sin(const jet<T, N>& a) {
    using std::cos;
    using std::sin;
    return chained(a, T(sin(a.v)), T(cos(a.v)));
}
template <class T, int N>
jet<T, N> cos(const jet<T, N>& a) {
    using std::cos;
    using std::sin;
    return chained(a, T(cos(a.v)), T(-sin(a.v)));
}

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_INTERVAL_JET_H

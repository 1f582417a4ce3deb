// SPDX-License-Identifier: Apache-2.0
// The residual models of the minimax fits of points centred on their centroid: for each element,
// the residual whose extremes a criterion bounds, its derivatives with respect to a step of the
// element's parameters, and how a step moves the element.
//
// Each model has `size` step parameters with `scale` (the length a unit step of the solver
// means: `unit`, the extent of the points, for a shift; 1 for an angle in radians), a state,
// at(state) giving an evaluator of the residual of a point (with or without its gradient), and
// moved(state, step). The evaluator also bounds the second derivative of a point's residual
// with respect to a unit step, in units of the fit (residuals divided by `unit`), given the
// largest distance `bound` of a point from the origin: distances from an axis or a centre
// curve by the inverse of the distance, which is large for the thin tube about a line. For the
// bound search of minimax_bound.h, cell(reference, centre, half) gives a functor that bounds, in
// lengths, how far the residual of a point at moved(reference, s) can lie from its value at
// s = centre (both in scaled steps) for any s with |s_k - centre_k| <= half_k: a Lipschitz bound
// over the whole cell, from the facts that a tilt (a, b) turns a unit vector by a map whose
// derivative has norm at most 1, that the distance from a centre or a line moves no more than
// the centre or line, that a height turns by |p| per unit turn of the normal, and that the
// distance of p from a line through q along z turns by |(p - q) . z| per unit turn of z. A
// parameter
// that shifts every residual alike (a radius) is no parameter here: the criteria place it from the
// extremes. chart(reference, p, s) is the residual of p at moved(reference, s) as a function of
// the scaled step s, written for any number type (the interval slopes of interval_slope.h), so
// that the proof can enclose its slopes over a cell; it may differ from the evaluator's residual by
// an amount alike for every point (the cone's), never otherwise.
//
//   plane_height_model     the height over a plane through the origin; steps tilt the normal.
//   sphere_distance_model  the distance from a centre; steps shift it.
//   circle_distance_model  the distance of a point of the xy plane from a centre in it.
//   axis_distance_model    the distance from an axis (cylinder, and the line: 3-D
//                          straightness); steps shift and tilt it as the least-squares cylinder
//                          does.
//   cone_surface_model     the distance from a cone's surface in the point's meridian plane, as
//                          the least-squares cone measures it; steps shift and tilt the axis
//                          and change the half angle, the radius following along the
//                          generator.
#ifndef VANTOR_NUMERIC_MINIMAX_MODELS_H
#define VANTOR_NUMERIC_MINIMAX_MODELS_H

#include <cmath>

#include "numeric/cone_fit.h"
#include "numeric/cylinder_fit.h"
#include "numeric/interval_slope.h"
#include "numeric/spatial.h"

namespace vantor {
namespace detail {

struct plane_height_model {
    static constexpr int size = 2;
    using state = frame3;  // the normal is z

    double unit;
    double scale[size] = {1.0, 1.0};

    explicit plane_height_model(double extent) : unit(extent) {}

    struct evaluator {
        frame3 f;
        double operator()(const point3& p) const { return dot(p, f.z); }
        double operator()(const point3& p, double* g) const {
            g[0] = dot(p, f.x);
            g[1] = dot(p, f.y);
            return dot(p, f.z);
        }
        // A tilt turns the height by at most the point's distance from the origin.
        double curvature(const point3&, double unit, double bound) const {
            return 3.0 * bound / unit;
        }
    };
    evaluator at(const state& s) const { return {s}; }
    state moved(const state& s, const double* step) const { return tilted(s, step[0], step[1]); }
    struct bounder {
        double turn;
        double operator()(const point3& p) const { return norm(p) * turn; }
    };
    bounder cell(const state&, const double*, const double* half) const {
        return {std::hypot(half[0], half[1])};
    }
    // The height over the normal (z + a x + b y) / |(a, b, 1)|, as tilted() turns it.
    template <class T>
    T chart(const state& f, const point3& p, const T* s) const {
        using std::sqrt;
        const T x(dot(p, f.x)), y(dot(p, f.y)), z(dot(p, f.z));
        return (z + s[0] * x + s[1] * y) / sqrt(T(1.0) + s[0] * s[0] + s[1] * s[1]);
    }
};

struct sphere_distance_model {
    static constexpr int size = 3;
    using state = point3;  // the centre

    double unit;
    double scale[size];

    explicit sphere_distance_model(double extent) : unit(extent), scale{extent, extent, extent} {}

    struct evaluator {
        point3 c;
        double operator()(const point3& p) const { return norm(p - c); }
        double operator()(const point3& p, double* g) const {
            const point3 d = p - c;
            const double r = norm(d);
            const double inverse = r > 0.0 ? 1.0 / r : 0.0;
            g[0] = -d.x * inverse;
            g[1] = -d.y * inverse;
            g[2] = -d.z * inverse;
            return r;
        }
        double curvature(const point3& p, double unit, double) const { return unit / norm(p - c); }
    };
    evaluator at(const state& s) const { return {s}; }
    state moved(const state& s, const double* step) const {
        return s + point3{step[0], step[1], step[2]};
    }
    struct bounder {
        double shift;
        double operator()(const point3&) const { return shift; }
    };
    bounder cell(const state&, const double*, const double* half) const {
        return {unit * std::sqrt(half[0] * half[0] + half[1] * half[1] + half[2] * half[2])};
    }
    template <class T>
    T chart(const state& c, const point3& p, const T* s) const {
        using std::sqrt;
        const T x = T(p.x - c.x) - unit * s[0], y = T(p.y - c.y) - unit * s[1],
                z = T(p.z - c.z) - unit * s[2];
        return sqrt(x * x + y * y + z * z);
    }
};

struct circle_distance_model {
    static constexpr int size = 2;
    using state = point3;  // the centre, z = 0

    double unit;
    double scale[size];

    explicit circle_distance_model(double extent) : unit(extent), scale{extent, extent} {}

    struct evaluator {
        point3 c;
        double operator()(const point3& p) const { return std::hypot(p.x - c.x, p.y - c.y); }
    };
    evaluator at(const state& s) const { return {s}; }
    state moved(const state& s, const double* step) const {
        return s + point3{step[0], step[1], 0.0};
    }
    using bounder = sphere_distance_model::bounder;
    bounder cell(const state&, const double*, const double* half) const {
        return {unit * std::hypot(half[0], half[1])};
    }
    template <class T>
    T chart(const state& c, const point3& p, const T* s) const {
        using std::sqrt;
        const T x = T(p.x - c.x) - unit * s[0], y = T(p.y - c.y) - unit * s[1];
        return sqrt(x * x + y * y);
    }
};

// The distance and height of p about the axis of moved(reference, s) (the axis model's steps):
// in the reference frame about its origin p is (X, Y, Z), the axis runs through
// (u s0, u s1, 0) along d = (a, b, 1) with (a, b) = (s2, s3), and with e = (X - u s0 - a Z,
// Y - u s1 - b Z) the offset from the axis in the plane of p's height,
//     distance^2 = |e|^2 - (a e_x + b e_y)^2 / |d|^2,   height = (a e_x + b e_y) / |d| + Z |d|.
// The distance is evaluated as e_r + w / (distance + e_r), e_r and e_t the components of e
// along and across p's direction from the reference axis and w = e_t^2 - (a e_x + b e_y)^2 /
// |d|^2: e_r is linear in the step and w of second order, so the slopes of the distance
// carry only the curvature it has (across p's direction), not that of e_r^2 and sqrt, which
// cancel (about a third narrower on a sector's points). Where e_r may vanish (an axis through
// p) the plain root is taken.
template <class T>
struct axial_values {
    T distance, height;
};
inline bool surely_positive(double x) { return x > 0.0; }
template <int N>
bool surely_positive(const slope<N>& x) {
    return x.range.lo > 0.0;
}
template <class T>
axial_values<T> axial_chart(const cylinder_state& reference, double unit, const point3& p,
                            const T* s) {
    using std::sqrt;
    const point3 l = reference.frame.local(p - reference.origin);
    const double reach = std::hypot(l.x, l.y);
    const double c = reach > 0.0 ? l.x / reach : 1.0, sn = reach > 0.0 ? l.y / reach : 0.0;
    const T z(l.z);
    const T ex = T(l.x) - unit * s[0] - s[2] * z, ey = T(l.y) - unit * s[1] - s[3] * z;
    const T across = s[2] * ex + s[3] * ey;
    const T d2 = T(1.0) + s[2] * s[2] + s[3] * s[3];
    const T d = sqrt(d2);
    const T er = c * ex + sn * ey, et = c * ey - sn * ex;
    const T w = et * et - across * across / d2;
    const T squared = er * er + w;
    const T distance = surely_positive(er) ? er + w / (sqrt(squared) + er) : sqrt(squared);
    return {distance, across / d + z * d};
}

struct axis_distance_model {
    static constexpr int size = 4;
    using state = cylinder_state;  // its radius plays no part

    double unit;
    double scale[size];

    explicit axis_distance_model(double extent) : unit(extent), scale{extent, extent, 1.0, 1.0} {}

    struct evaluator {
        frame3 f;
        point3 o;
        double operator()(const point3& p) const {
            const point3 d = p - o;
            const double x = dot(d, f.x), y = dot(d, f.y);
            return std::sqrt(x * x + y * y);
        }
        double operator()(const point3& p, double* g) const {
            const point3 d = p - o;
            const double x = dot(d, f.x), y = dot(d, f.y), z = dot(d, f.z);
            const double rho = std::sqrt(x * x + y * y);
            const double inverse = rho > 0.0 ? 1.0 / rho : 0.0;
            const double ux = x * inverse, uy = y * inverse;
            g[0] = -ux;
            g[1] = -uy;
            g[2] = -ux * z;
            g[3] = -uy * z;
            return rho;
        }
        // A shift across the axis, and a tilt that moves the axis by up to `bound` there.
        double curvature(const point3& p, double unit, double bound) const {
            return (unit * unit + bound * bound) / (unit * (*this)(p));
        }
    };
    evaluator at(const state& s) const { return {s.frame, s.origin}; }
    state moved(const state& s, const double* step) const {
        const double full[5] = {step[0], step[1], step[2], step[3], 0.0};
        return cylinder_model::moved(s, full);
    }
    // The axis of moved(reference, s) runs through q(s), the reference origin shifted by
    // (s0, s1) extents along the reference frame, along z(s), the reference axis tilted by
    // (s2, s3). Over the cell q moves by at most `shift` and z turns by at most `turn`, so a
    // point's distance moves by at most shift + turn (|(p - q) . z| + shift + turn (|p - q| +
    // shift)), q and z those of the centre.
    struct bounder {
        point3 q, z;
        double shift, turn;
        double operator()(const point3& p) const {
            const point3 w = p - q;
            return shift + turn * (std::abs(dot(w, z)) + shift + turn * (norm(w) + shift));
        }
    };
    bounder cell(const state& reference, const double* centre, const double* half) const {
        const frame3& f = reference.frame;
        return {reference.origin + (unit * centre[0]) * f.x + (unit * centre[1]) * f.y,
                tilted(f, centre[2], centre[3]).z, unit * std::hypot(half[0], half[1]),
                std::hypot(half[2], half[3])};
    }
    template <class T>
    T chart(const state& reference, const point3& p, const T* s) const {
        return axial_chart<T>(reference, unit, p, s).distance;
    }
};

struct cone_surface_model {
    static constexpr int size = 5;
    using state = cone_state;

    double unit;
    double scale[size];

    explicit cone_surface_model(double extent)
        : unit(extent), scale{extent, extent, 1.0, 1.0, 1.0} {}

    struct evaluator {
        cone_state s;
        double c, sn;
        double operator()(const point3& p) const {
            double row[6], magnitude;
            return cone_model::residual(s.frame, s.origin, s.radius, c, sn, p, row, magnitude);
        }
        double operator()(const point3& p, double* g) const {
            double row[6], magnitude;
            const double r =
                cone_model::residual(s.frame, s.origin, s.radius, c, sn, p, row, magnitude);
            // The radius column (row[4]) shifts every residual alike.
            g[0] = row[0];
            g[1] = row[1];
            g[2] = row[2];
            g[3] = row[3];
            g[4] = row[5];
            return r;
        }
        // As the distance from the axis, which the residual follows; the half angle turns it by
        // up to `bound`.
        double curvature(const point3& p, double unit, double bound) const {
            const point3 d = p - s.origin;
            const double x = dot(d, s.frame.x), y = dot(d, s.frame.y);
            return (unit * unit + bound * bound) / (unit * std::sqrt(x * x + y * y)) + bound / unit;
        }
    };
    evaluator at(const state& s) const { return {s, std::cos(s.angle), std::sin(s.angle)}; }
    state moved(const state& s, const double* step) const {
        const double full[6] = {step[0], step[1], step[2], step[3], 0.0, step[4]};
        return cone_model::moved(s, full);
    }
    // The cone of moved(reference, s) has its axis through q(s) along z(s) as the axis model's,
    // the reference radius at q and the half angle psi = reference angle + s4, so a residual is
    // rho cos psi - t sin psi less r cos psi, alike for every point (rho the distance from the
    // axis, t the height over q): a zone needs only the first part's variation. rho moves as in
    // the axis model, t by at most shift + turn |p - q|, and a swing of psi by at most
    // |p - q| per radian. For the zone criterion only.
    struct bounder {
        point3 q, z;
        double shift, turn, swing, sine;
        double operator()(const point3& p) const {
            const point3 w = p - q;
            const double reach = norm(w) + shift;
            const double radial = shift + turn * (std::abs(dot(w, z)) + shift + turn * reach);
            return radial + (shift + turn * reach) * sine + swing * reach;
        }
    };
    bounder cell(const state& reference, const double* centre, const double* half) const {
        const frame3& f = reference.frame;
        return {reference.origin + (unit * centre[0]) * f.x + (unit * centre[1]) * f.y,
                tilted(f, centre[2], centre[3]).z,
                unit * std::hypot(half[0], half[1]),
                std::hypot(half[2], half[3]),
                half[4],
                std::min(1.0, std::abs(std::sin(reference.angle + centre[4])) + half[4])};
    }
    // rho cos psi - t sin psi, without the radius term (alike for every point).
    template <class T>
    T chart(const state& reference, const point3& p, const T* s) const {
        using std::cos;
        using std::sin;
        const cylinder_state axis{reference.frame, reference.origin, 0.0};
        const auto a = axial_chart<T>(axis, unit, p, s);
        const T psi = T(reference.angle) + s[4];
        return a.distance * cos(psi) - a.height * sin(psi);
    }
};

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_MINIMAX_MODELS_H

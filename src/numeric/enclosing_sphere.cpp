#include "numeric/enclosing_sphere.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>
#include <random>

#include <spanto/tolerance.h>

#include "numeric/minimax_models.h"

namespace vantor {
namespace detail {
namespace {

double distance(point3 a, point3 b) { return norm(a - b); }

ball3 ball_about(point3 centre, std::initializer_list<point3> on) {
    double radius = 0.0;
    for (const point3& p : on) radius = std::max(radius, distance(p, centre));
    return {centre, radius};
}

ball3 diametral_ball(point3 a, point3 b) { return ball_about(0.5 * (a + b), {a, b}); }

// The centre of the circle through a, b and c, relative to a; empty when they are collinear by
// the geometry layer's test.
std::optional<point3> circumcentre(point3 a, point3 b, point3 c) {
    const point3 u = b - a, v = c - a, w = cross(u, v);
    const double ww = dot(w, w);
    if (!(std::sqrt(ww) > spanto::collinear_tolerance * norm(u) * norm(v))) return std::nullopt;
    return a + (1.0 / (2.0 * ww)) * (dot(u, u) * cross(v, w) + dot(v, v) * cross(w, u));
}

// The centre of the sphere through a, b, c and d; empty when they are coplanar to rounding (the
// triple product of the edges from a below the collinearity tolerance of their lengths).
std::optional<point3> circumcentre(point3 a, point3 b, point3 c, point3 d) {
    const point3 u = b - a, v = c - a, w = d - a;
    const point3 vw = cross(v, w), wu = cross(w, u), uv = cross(u, v);
    const double volume = dot(u, vw);
    if (!(std::abs(volume) > spanto::collinear_tolerance * norm(u) * norm(v) * norm(w)))
        return std::nullopt;
    return a + (0.5 / volume) * (dot(u, u) * vw + dot(v, v) * wu + dot(w, w) * uv);
}

// The smallest ball with a, b and c on its boundary: the ball of their circle, or for
// (nearly) collinear points the diametral ball of the farthest pair.
ball3 boundary_ball(point3 a, point3 b, point3 c) {
    if (const std::optional<point3> centre = circumcentre(a, b, c))
        return ball_about(*centre, {a, b, c});
    const double ab = distance(a, b), ac = distance(a, c), bc = distance(b, c);
    if (ab >= ac && ab >= bc) return diametral_ball(a, b);
    return ac >= bc ? diametral_ball(a, c) : diametral_ball(b, c);
}

// The ball with a, b, c and d on its boundary. Four coplanar points on one sphere lie on one
// circle; when rounding leaves no sphere through them, the smallest of the balls of two or three
// of them that holds all four stands in.
ball3 boundary_ball(point3 a, point3 b, point3 c, point3 d, double tolerance) {
    if (const std::optional<point3> centre = circumcentre(a, b, c, d))
        return ball_about(*centre, {a, b, c, d});
    const point3 q[4] = {a, b, c, d};
    const auto holds_all = [&](const ball3& ball) {
        for (const point3& p : q)
            if (distance(p, ball.centre) > ball.radius + tolerance) return false;
        return true;
    };
    ball3 best{a, std::numeric_limits<double>::infinity()};
    const auto consider = [&](const ball3& ball) {
        if (ball.radius < best.radius && holds_all(ball)) best = ball;
    };
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j) {
            consider(diametral_ball(q[i], q[j]));
            for (int k = j + 1; k < 4; ++k) consider(boundary_ball(q[i], q[j], q[k]));
        }
    return best.radius < std::numeric_limits<double>::infinity()
               ? ball_about(best.centre, {a, b, c, d})
               : ball_about(0.25 * (a + b + c + d), {a, b, c, d});
}

void move_to_front(std::vector<point3>& points, std::size_t index) {
    std::rotate(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(index),
                points.begin() + static_cast<std::ptrdiff_t>(index) + 1);
}

}  // namespace

ball3 smallest_enclosing_ball(const std::vector<point3>& points) {
    if (points.empty()) return {{0.0, 0.0, 0.0}, 0.0};
    // Relative to the middle of the bounding box, whose half diagonal is the extent.
    point3 low = points.front(), high = points.front();
    for (const point3& p : points) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    const point3 middle = 0.5 * (low + high);
    const double extent = 0.5 * distance(low, high);
    std::vector<point3> local;
    local.reserve(points.size());
    for (const point3& p : points) local.push_back(p - middle);

    // Fisher-Yates with a fixed seed; the index is reduced from the engine's output directly so
    // that the order is the same with every standard library: the top 32 bits times (i + 1),
    // shifted down (a multiplication instead of a division; sets beyond 2^32 points would not
    // reach every index, which only weakens the shuffle).
    std::mt19937_64 engine(0x5eed);
    for (std::size_t i = local.size() - 1; i > 0; --i) {
        const std::uint64_t draw = engine() >> 32;
        std::swap(local[i], local[static_cast<std::size_t>((draw * (i + 1)) >> 32)]);
    }

    // Outside by more than the tolerance, compared in squares: no square root per point.
    const double tolerance = 16.0 * std::numeric_limits<double>::epsilon() * extent;
    const auto outside = [tolerance](const point3& p, const ball3& b) {
        const point3 d = p - b.centre;
        const double reach = b.radius + tolerance;
        return dot(d, d) > reach * reach;
    };

    ball3 b{local[0], 0.0};
    for (std::size_t i = 1; i < local.size(); ++i) {
        if (!outside(local[i], b)) continue;
        b = {local[i], 0.0};
        for (std::size_t j = 0; j < i; ++j) {
            if (!outside(local[j], b)) continue;
            b = diametral_ball(local[i], local[j]);
            for (std::size_t k = 0; k < j; ++k) {
                if (!outside(local[k], b)) continue;
                b = boundary_ball(local[i], local[j], local[k]);
                for (std::size_t m = 0; m < k; ++m) {
                    if (!outside(local[m], b)) continue;
                    b = boundary_ball(local[i], local[j], local[k], local[m], tolerance);
                    move_to_front(local, m);
                }
                move_to_front(local, k);
            }
            move_to_front(local, j);
        }
        move_to_front(local, i);
    }
    const point3 centre = b.centre + middle;
    double radius = 0.0;
    for (const point3& p : points) radius = std::max(radius, distance(p, centre));
    return {centre, radius};
}

}  // namespace detail
}  // namespace vantor

// SPDX-License-Identifier: Apache-2.0
#include "numeric/enclosing_sphere.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>

#include <spanto/tolerance.h>

#include "numeric/minimax_models.h"

namespace vantor {
namespace detail {
namespace {

double distance(point3 a, point3 b) { return norm(a - b); }

// The ball about `centre` through the farthest of `on` (one square root: it is monotonic).
ball3 ball_about(point3 centre, std::initializer_list<point3> on) {
    double squared = 0.0;
    for (const point3& p : on) squared = std::max(squared, dot(p - centre, p - centre));
    return {centre, std::sqrt(squared)};
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

// Moves points[index] to the front, keeping the order of the others.
void move_to_front(std::vector<point3>& points, std::size_t index) {
    std::rotate(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(index),
                points.begin() + static_cast<std::ptrdiff_t>(index) + 1);
}

// Outside the ball by more than the tolerance, compared in squares: no square root per point.
bool outside(const point3& p, const ball3& b, double tolerance) {
    const point3 d = p - b.centre;
    const double reach = b.radius + tolerance;
    return dot(d, d) > reach * reach;
}

// The smallest ball of local[0..i] with local[i] on its boundary: Welzl's inner loops, each
// point that forces a rebuild moving to the front of local[0..i).
ball3 ball_through(std::vector<point3>& local, std::size_t i, double tolerance) {
    ball3 b{local[i], 0.0};
    for (std::size_t j = 0; j < i; ++j) {
        if (!outside(local[j], b, tolerance)) continue;
        b = diametral_ball(local[i], local[j]);
        for (std::size_t k = 0; k < j; ++k) {
            if (!outside(local[k], b, tolerance)) continue;
            b = boundary_ball(local[i], local[j], local[k]);
            for (std::size_t m = 0; m < k; ++m) {
                if (!outside(local[m], b, tolerance)) continue;
                b = boundary_ball(local[i], local[j], local[k], local[m], tolerance);
                move_to_front(local, m);
            }
            move_to_front(local, k);
        }
        move_to_front(local, j);
    }
    return b;
}

// The next output of the splitmix64 generator, whose state advances by a fixed odd step.
std::uint64_t splitmix64(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9e3779b97f4a7c15);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
    z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
    return z ^ (z >> 31);
}

// Welzl's list: a random sample of this many points, then the points outside its ball.
constexpr std::size_t welzl_sample = 32;

// The smallest ball of `local` (points relative to the middle of their bounding box, whose half
// diagonal is `extent`), which are reordered in place; in the same coordinates.
//
// Welzl's outer loop runs on a list that starts as a random sample of the points, by a partial
// Fisher-Yates shuffle with a fixed seed (splitmix64, the index reduced from its output directly:
// the same order with every standard library). Scans of the other points then append each point
// outside the current ball to the list and rebuild the ball through it, as the outer loop would,
// until every point lies in it: the ball is then the smallest of the list and holds them all. A
// ball of a random sample leaves few points outside (about 4 n / sample), so the inner loops,
// which rescan the list only, stay short, and a scan is a cheap test per point.
ball3 smallest_enclosing(std::vector<point3>& local, double extent) {
    const std::size_t n = local.size(), sample = std::min(n, welzl_sample);
    std::uint64_t state = 0x5eed;
    for (std::size_t i = 0; i < sample; ++i) {
        // The top 32 bits times the count left, shifted down: a multiplication instead of a
        // division (beyond 2^32 points not every index is reached, which only weakens the draw).
        const std::uint64_t draw = splitmix64(state) >> 32;
        std::swap(local[i], local[i + static_cast<std::size_t>((draw * (n - i)) >> 32)]);
    }

    const double tolerance = 16.0 * std::numeric_limits<double>::epsilon() * extent;
    ball3 b{local[0], 0.0};
    // local[i], outside b, joins the front of the list local[0..i) on the boundary of its ball.
    const auto rebuild = [&](std::size_t i) {
        b = ball_through(local, i, tolerance);
        move_to_front(local, i);
    };
    for (std::size_t i = 1; i < sample; ++i)
        if (outside(local[i], b, tolerance)) rebuild(i);
    // The other points, scanned round and round until as many in a row as there are lie in the
    // ball: those scanned before a rebuild are scanned again, and none more than needed.
    std::size_t end = sample, i = sample, inside = 0;  // the list: local[0..end)
    double reach = b.radius + tolerance;
    while (inside < n - end) {
        if (i == n) i = end;
        const point3 d = local[i] - b.centre;
        if (!(dot(d, d) > reach * reach)) {
            ++i;
            ++inside;
            continue;
        }
        // It joins the list; the point moved into its place is scanned next.
        std::swap(local[i], local[end]);
        rebuild(end++);
        reach = b.radius + tolerance;
        i = std::max(i, end);
        inside = 0;
    }
    return b;
}

// The middle of the bounding box of the points and its half diagonal.
void bounding_middle(const std::vector<point3>& points, point3& middle, double& extent) {
    point3 low = points.front(), high = points.front();
    for (const point3& p : points) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    middle = 0.5 * (low + high);
    extent = 0.5 * distance(low, high);
}

}  // namespace

point3 smallest_enclosing_centre(std::vector<point3>&& points) {
    if (points.empty()) return {0.0, 0.0, 0.0};
    point3 middle;
    double extent = 0.0;
    bounding_middle(points, middle, extent);
    for (point3& p : points) p = p - middle;
    return smallest_enclosing(points, extent).centre + middle;
}

ball3 smallest_enclosing_ball(const std::vector<point3>& points) {
    const point3 centre = smallest_enclosing_centre(std::vector<point3>(points));
    double radius = 0.0;
    for (const point3& p : points) radius = std::max(radius, distance(p, centre));
    return {centre, radius};
}

}  // namespace detail
}  // namespace vantor

// SPDX-License-Identifier: Apache-2.0
// Form evaluations against a given datum, each next to a plain loop that computes the same
// distances into the same extremes on a std::vector of structs without the library. Both report
// ns_per_point; the library should stay within 1.3 times its plain loop.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "vantor/feature.h"

namespace {

using vantor::actual;

struct xyz {
    double x, y, z;
};

// Points near a cone about the z axis (radius 20 + 0.3 z), with noise in every coordinate.
std::vector<xyz> measured(int n) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> noise(-0.01, 0.01);
    std::vector<xyz> pts(n);
    for (int i = 0; i < n; ++i) {
        const double a = 0.001 * i;
        const double z = 50.0 * (i % 997) / 997.0;
        const double r = 20.0 + 0.3 * z;
        pts[i] = {r * std::cos(a) + noise(rng), r * std::sin(a) + noise(rng), z + noise(rng)};
    }
    return pts;
}

actual as_actual(const std::vector<xyz>& pts) {
    actual set(static_cast<int>(pts.size()));
    for (const xyz& p : pts) set.append(p.x, p.y, p.z);
    return set;
}

void per_point(benchmark::State& state) {
    state.counters["ns_per_point"] = benchmark::Counter(
        static_cast<double>(state.range(0)) * 1e-9,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The datums: the z axis, planes and circles about it, a sphere and a cone.
const double radius = 27.5, r0 = 20.0, slope = 0.3;
const spanto::point origin(0, 0, 0);
const spanto::vector up(0, 0, 1);
const spanto::line zline(origin, up);
const spanto::axis zaxis(origin, up);
const spanto::plane floor_plane(origin, up);
const spanto::circle ring(origin, up, radius);
const spanto::sphere ball(origin, radius);
const spanto::cylinder tube(origin, up, radius);
const spanto::cone taper(origin, r0, spanto::point(0, 0, 1), r0 + slope);

// --- Library evaluations.

template <typename Feature, typename Datum>
void library(benchmark::State& state, const Datum& datum) {
    const actual set = as_actual(measured(static_cast<int>(state.range(0))));
    Feature f;
    for (auto _ : state) {
        f.compute(set, datum);
        benchmark::DoNotOptimize(f.value());
    }
    per_point(state);
}

void straightness_line(benchmark::State& s) { library<vantor::straightness>(s, zline); }
void flatness_plane(benchmark::State& s) { library<vantor::flatness>(s, floor_plane); }
void flatness_direction(benchmark::State& s) { library<vantor::flatness>(s, up); }
void roundness_circle(benchmark::State& s) { library<vantor::roundness>(s, ring); }
void roundness_line(benchmark::State& s) { library<vantor::roundness>(s, zline); }
void sphereicity_centre(benchmark::State& s) { library<vantor::sphereicity>(s, origin); }
void sphereicity_sphere(benchmark::State& s) { library<vantor::sphereicity>(s, ball); }
void cylindricity_cylinder(benchmark::State& s) { library<vantor::cylindricity>(s, tube); }
void coneicity_cone(benchmark::State& s) { library<vantor::coneicity>(s, taper); }
void coneicity_axis(benchmark::State& s) { library<vantor::coneicity>(s, zaxis); }

// --- Plain loops. The datum numbers pass through DoNotOptimize so that no loop is specialised
// for the particular datum.

template <typename T>
T hidden(T value) {
    benchmark::DoNotOptimize(value);
    return value;
}

xyz operator-(const xyz& a, const xyz& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double dot(const xyz& a, const xyz& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double length(const xyz& a) { return std::sqrt(dot(a, a)); }
xyz cross(const xyz& a, const xyz& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

struct minmax {
    double low, high;
};

// The extremes of f over pts[first..], starting with m and replaced only on strictly larger or
// smaller values.
template <typename F>
minmax plain_fold(const std::vector<xyz>& pts, std::size_t first, minmax m, F f) {
    for (std::size_t i = first; i < pts.size(); ++i) {
        const double d = f(pts[i]);
        if (d > m.high) m.high = d;
        if (d < m.low) m.low = d;
    }
    return m;
}

template <typename F>
minmax plain_extremes(const std::vector<xyz>& pts, F f) {
    const double first = f(pts[0]);
    return plain_fold(pts, 1, {first, first}, f);
}

double one_sided(const minmax& m) {
    if (m.high > 0 && m.low > 0) return m.high;
    if (m.high < 0 && m.low < 0) return -m.low;
    return m.high - m.low;
}

// Runs body(points) for every iteration on the measured points.
template <typename Body>
void plain(benchmark::State& state, Body body) {
    const std::vector<xyz> pts = measured(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(body(pts));
    per_point(state);
}

void plain_straightness(benchmark::State& state) {
    const xyz o = hidden(xyz{0, 0, 0}), u = hidden(xyz{0, 0, 1});
    plain(state, [=](const std::vector<xyz>& pts) {
        const minmax m = plain_extremes(pts, [=](const xyz& p) { return length(cross(p - o, u)); });
        return minmax{2 * m.low, 2 * m.high};
    });
}

void plain_flatness_plane(benchmark::State& state) {
    const xyz o = hidden(xyz{0, 0, 0}), n = hidden(xyz{0, 0, 1});
    plain(state, [=](const std::vector<xyz>& pts) {
        return one_sided(plain_extremes(pts, [=](const xyz& p) { return dot(p - o, n); }));
    });
}

void plain_flatness_direction(benchmark::State& state) {
    const xyz n = hidden(xyz{0, 0, 1});
    plain(state, [=](const std::vector<xyz>& pts) {
        const xyz o = pts[0];
        const minmax m = plain_fold(pts, 1, {0, 0}, [=](const xyz& p) { return dot(p - o, n); });
        const double mid = (m.high + m.low) * 0.5;
        return xyz{m.high - m.low, o.z + mid * n.z, m.high - mid};
    });
}

void plain_roundness_circle(benchmark::State& state) {
    const xyz c = hidden(xyz{0, 0, 0}), n = hidden(xyz{0, 0, 1});
    const double r = hidden(radius);
    plain(state, [=](const std::vector<xyz>& pts) {
        const minmax m =
            plain_extremes(pts, [=](const xyz& p) { return r - length(cross(p - c, n)); });
        return m.high - m.low;
    });
}

void plain_roundness_line(benchmark::State& state) {
    const xyz o = hidden(xyz{0, 0, 0}), u = hidden(xyz{0, 0, 1});
    plain(state, [=](const std::vector<xyz>& pts) {
        return plain_extremes(pts, [=](const xyz& p) { return length(cross(p - o, u)); });
    });
}

void plain_sphereicity_centre(benchmark::State& state) {
    const xyz c = hidden(xyz{0, 0, 0});
    plain(state, [=](const std::vector<xyz>& pts) {
        return plain_extremes(pts, [=](const xyz& p) { return length(p - c); });
    });
}

void plain_sphereicity_sphere(benchmark::State& state) {
    const xyz c = hidden(xyz{0, 0, 0});
    const double r = hidden(radius);
    plain(state, [=](const std::vector<xyz>& pts) {
        const minmax m = plain_extremes(pts, [=](const xyz& p) { return r - length(p - c); });
        return m.high - m.low;
    });
}

void plain_cylindricity(benchmark::State& state) {
    const xyz o = hidden(xyz{0, 0, 0}), u = hidden(xyz{0, 0, 1});
    const double r = hidden(radius);
    plain(state, [=](const std::vector<xyz>& pts) {
        return plain_extremes(pts,
                              [=](const xyz& p) { return std::fabs(length(cross(p - o, u)) - r); })
            .high;
    });
}

void plain_coneicity_cone(benchmark::State& state) {
    const xyz o = hidden(xyz{0, 0, 0}), u = hidden(xyz{0, 0, 1});
    const double a = hidden(r0), b = hidden(slope), cosine = 1.0 / std::hypot(1.0, b);
    plain(state, [=](const std::vector<xyz>& pts) {
        return one_sided(plain_extremes(pts, [=](const xyz& p) {
            const xyz d = p - o;
            return (length(cross(d, u)) - std::fabs(a + b * dot(d, u))) * cosine;
        }));
    });
}

// The radial profile (axial position, distance from the axis), the least-squares line through
// it and the extremes of its residuals.
void plain_coneicity_axis(benchmark::State& state) {
    const xyz o = hidden(xyz{0, 0, 0}), u = hidden(xyz{0, 0, 1});
    plain(state, [=](const std::vector<xyz>& pts) {
        std::vector<xyz> profile(pts.size());
        for (std::size_t i = 0; i < pts.size(); ++i) {
            const double t = dot(pts[i] - o, u);
            const xyz foot{o.x + t * u.x, o.y + t * u.y, o.z + t * u.z};
            profile[i] = {t, length(pts[i] - foot), 0.0};
        }
        double sx = 0, sxx = 0, sxy = 0, sy = 0;
        for (const xyz& q : profile) {
            sx += q.x;
            sxx += q.x * q.x;
            sxy += q.x * q.y;
            sy += q.y;
        }
        const double n = static_cast<double>(profile.size());
        const double d = n * sxx - sx * sx;
        const double b = (n * sxy - sx * sy) / d, a = (sy * sxx - sx * sxy) / d;
        const minmax m = plain_extremes(profile, [=](const xyz& q) { return q.y - (b * q.x + a); });
        return m.high - m.low;
    });
}

#define FORM_BENCH(plain_loop, evaluation)                       \
    BENCHMARK(plain_loop)->Arg(1000)->Arg(100000)->Arg(1000000); \
    BENCHMARK(evaluation)->Arg(1000)->Arg(100000)->Arg(1000000)

FORM_BENCH(plain_straightness, straightness_line);
FORM_BENCH(plain_flatness_plane, flatness_plane);
FORM_BENCH(plain_flatness_direction, flatness_direction);
FORM_BENCH(plain_roundness_circle, roundness_circle);
FORM_BENCH(plain_roundness_line, roundness_line);
FORM_BENCH(plain_sphereicity_centre, sphereicity_centre);
FORM_BENCH(plain_sphereicity_sphere, sphereicity_sphere);
FORM_BENCH(plain_cylindricity, cylindricity_cylinder);
FORM_BENCH(plain_coneicity_cone, coneicity_cone);
FORM_BENCH(plain_coneicity_axis, coneicity_axis);

}  // namespace

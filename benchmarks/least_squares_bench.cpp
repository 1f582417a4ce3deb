// SPDX-License-Identifier: Apache-2.0
// The least-squares fits of the fitting interface.
//
// line, plane: the fit of 1,000,000 points against one plain pass that computes every point's
// distance from the fitted element and their extremes (counter `ratio`, goal <= 2).
// sphere, cylinder, cone: time per fit, iterations, and the ratio of the fit to iterations x
// one pass that evaluates the residuals and Jacobian rows (the model's evaluation with its
// normal equations) at the solution (goal <= 1.5).
// cylinder_from_start: the numeric fit from the start that benchmarks/scipy_fits.py gives SciPy.
//
// DoNotOptimize is given whole results or const values: with GCC, its form for a modifiable
// double may corrupt the value (google/benchmark issue 903).
// circle: the four criteria on closed profiles along a given direction; `passes` counts the
// passes over the points of a least-squares circle (goal <= 5).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>
#include <vector>

#include "measured_shapes.h"
#include "numeric/circle_fit.h"
#include "numeric/cone_fit.h"
#include "numeric/cylinder_fit.h"
#include "numeric/kasa_circle.h"
#include "numeric/sample.h"
#include "numeric/sphere_fit.h"
#include "vantor/fit.h"

namespace {

using vantor::actual;
using vantor::detail::point3;

// This thread's processor time in seconds: the ratios stay meaningful on a loaded machine.
double cpu_seconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// The least processor time of one call of f, over five batches of at least 50 ms each.
template <class F>
double seconds_per_call(const F& f) {
    f();
    double best = std::numeric_limits<double>::infinity();
    for (int batch = 0; batch < 5; ++batch) {
        int calls = 0;
        const double start = cpu_seconds();
        double elapsed = 0.0;
        do {
            f();
            ++calls;
            elapsed = cpu_seconds() - start;
        } while (elapsed < 0.05);
        best = std::min(best, elapsed / calls);
    }
    return best;
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
}

// --- Line and plane against one pass of distances.

void plane(benchmark::State& state) {
    const actual points = shapes::plane(state.range(0));
    vantor::fit_result<spanto::plane> f;
    for (auto _ : state) {
        f = vantor::fit_plane(points);
        benchmark::DoNotOptimize(f);
    }
    const spanto::plane e = f.element;
    const auto pass = [&] {
        double low = 1e300, high = -1e300;
        for (const spanto::point& p : points) {
            const double d = e.sdistance(p);
            low = std::min(low, d);
            high = std::max(high, d);
        }
        const double width = high - low;
        benchmark::DoNotOptimize(width);
    };
    const double fit =
        seconds_per_call([&] { benchmark::DoNotOptimize(vantor::fit_plane(points)); });
    state.counters["ratio"] = fit / seconds_per_call(pass);
}
BENCHMARK(plane)->Arg(1000000)->Unit(benchmark::kMillisecond);

void line(benchmark::State& state) {
    const actual points = shapes::line(state.range(0));
    vantor::fit_result<spanto::line> f;
    for (auto _ : state) {
        f = vantor::fit_line(points);
        benchmark::DoNotOptimize(f);
    }
    const spanto::line e = f.element;
    const auto pass = [&] {
        double high = 0.0;
        for (const spanto::point& p : points) high = std::max(high, e.distance(p));
        const double largest = high;
        benchmark::DoNotOptimize(largest);
    };
    const double fit =
        seconds_per_call([&] { benchmark::DoNotOptimize(vantor::fit_line(points)); });
    state.counters["ratio"] = fit / seconds_per_call(pass);
}
BENCHMARK(line)->Arg(1000000)->Unit(benchmark::kMillisecond);

// --- Sphere, cylinder, cone: iterations and the cost of an iteration.

// The valid points relative to their centroid, as the fits see them.
std::vector<point3> centred(const actual& points, point3& centroid) {
    centroid = {0, 0, 0};
    for (const spanto::point& p : points) centroid = centroid + point3{p.x, p.y, p.z};
    centroid = (1.0 / points.numpoints()) * centroid;
    std::vector<point3> local;
    for (const spanto::point& p : points) local.push_back(point3{p.x, p.y, p.z} - centroid);
    return local;
}

point3 as_point3(const spanto::point& p) { return {p.x, p.y, p.z}; }
point3 as_point3(const spanto::vector& v) { return {v.x, v.y, v.z}; }

// Times the fit, then one evaluation of `Model` at the state `state_of` makes of the result.
template <class Model, class Fit, class StateOf>
void quadric(benchmark::State& state, actual (*shape)(long), const Fit& fit,
             const StateOf& state_of) {
    const actual points = shape(state.range(0));
    vantor::fit_report report;
    for (auto _ : state) {
        const auto r = fit(points);
        report = r;
        benchmark::DoNotOptimize(report);
    }
    point3 centroid;
    const std::vector<point3> local = centred(points, centroid);
    const auto r = fit(points);
    const typename Model::state at = state_of(r, centroid);
    const Model model(local, 1.0);
    vantor::detail::normal_equations<Model::size> ne;
    const double pass = seconds_per_call([&] {
        model.evaluate(at, ne);
        benchmark::DoNotOptimize(ne);
    });
    const double time = seconds_per_call([&] { benchmark::DoNotOptimize(fit(points)); });
    state.counters["iterations"] = report.iterations;
    state.counters["pass_ms"] = 1e3 * pass;
    state.counters["ratio"] = time / (report.iterations * pass);
}

void sphere(benchmark::State& state) {
    quadric<vantor::detail::sphere_model>(
        state, shapes::sphere, [](const actual& a) { return vantor::fit_sphere(a); },
        [](const vantor::fit_result<spanto::sphere>& r, point3 c) {
            return vantor::detail::sphere_state{as_point3(r.element.centre) - c, r.element.radius};
        });
}
BENCHMARK(sphere)->Apply(sizes);

void cylinder(benchmark::State& state) {
    quadric<vantor::detail::cylinder_model>(
        state, shapes::cylinder, [](const actual& a) { return vantor::fit_cylinder(a); },
        [](const vantor::fit_result<spanto::cylinder>& r, point3 c) {
            return vantor::detail::cylinder_state{
                vantor::detail::frame_about(as_point3(r.element.direction)),
                as_point3(r.element.origin) - c, r.element.radius};
        });
}
BENCHMARK(cylinder)->Apply(sizes);

void cone(benchmark::State& state) {
    quadric<vantor::detail::cone_model>(
        state, shapes::cone, [](const actual& a) { return vantor::fit_cone(a); },
        [](const vantor::fit_result<spanto::cone>& r, point3 c) {
            return vantor::detail::cone_state{
                vantor::detail::frame_about(as_point3(r.element.rotaxis().direction)),
                as_point3(r.element.point0()) - c, r.element.radius0(),
                r.parameters[2].value[0] / 180.0 * 3.141592653589793};
        });
}
BENCHMARK(cone)->Apply(sizes);

// The cylinder fit from the start scipy_fits.py gives SciPy: the axis through (10.5, 19.7, 30)
// along (0.12, -0.17, 1), radius 12.4; the points already centred, as a NumPy array would be.
void cylinder_from_start(benchmark::State& state) {
    point3 c;
    const std::vector<point3> local = centred(shapes::cylinder(state.range(0)), c);
    const point3 direction = vantor::detail::unit({0.12, -0.17, 1});
    const point3 through = point3{10.5, 19.7, 30} - c;
    const vantor::detail::cylinder_state start{vantor::detail::frame_about(direction),
                                               through - dot(through, direction) * direction, 12.4};
    vantor::detail::cylinder_solution s;
    for (auto _ : state) {
        s = vantor::detail::least_squares_cylinder(local, start);
        benchmark::DoNotOptimize(s);
    }
    state.counters["iterations"] = s.iterations;
    state.counters["radius"] = s.state.radius;
}
BENCHMARK(cylinder_from_start)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// --- Circles on closed profiles, fitted along z.

void circle(benchmark::State& state, vantor::criterion c) {
    const actual points = shapes::profile(state.range(0));
    vantor::fit_result<spanto::circle> f;
    for (auto _ : state) {
        f = vantor::fit_circle(points, spanto::vector(0, 0, 1), c);
        benchmark::DoNotOptimize(f);
    }
    state.counters["deviation_um"] = 1e3 * f.deviation;
    state.counters["iterations"] = f.iterations;
    if (c != vantor::criterion::gauss) return;
    // The passes of the least-squares circle, as the fit makes them: one that projects the
    // points, those of the iteration from the Kasa circle of a sample, one that measures.
    std::vector<vantor::detail::point2> traces;
    double extent = 0.0;
    for (const spanto::point& p : points) {
        traces.push_back({p.x - points[0].x, p.y - points[0].y});
        extent = std::max(extent, std::hypot(traces.back().x, traces.back().y));
    }
    vantor::detail::circle_moments moments;
    for (const auto& p : vantor::detail::strided_sample(traces, 4096)) moments.add(p);
    const auto start = vantor::detail::kasa_circle(moments);
    state.counters["passes"] =
        2 + vantor::detail::least_squares_circle_fit(traces, extent, *start).passes;
}
BENCHMARK_CAPTURE(circle, gauss, vantor::criterion::gauss)->Apply(sizes);
BENCHMARK_CAPTURE(circle, zone, vantor::criterion::zone)->Apply(sizes);
BENCHMARK_CAPTURE(circle, inscribed, vantor::criterion::inscribed)->Apply(sizes);
BENCHMARK_CAPTURE(circle, circumscribed, vantor::criterion::circumscribed)->Apply(sizes);

}  // namespace

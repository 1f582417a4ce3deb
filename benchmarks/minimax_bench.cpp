// SPDX-License-Identifier: Apache-2.0
// The minimax fits of the fitting interface on the measured shapes of measured_shapes.h, 1,000 to
// 1,000,000 points.
//
// minimax/<element>_<criterion>: the time of the whole fit as an application calls it (the
// least-squares element, the minimax solver from it, the pass that measures the result and
// finds the contacts). Counters, from one run of the solver from the same least-squares
// element: `iterations` (the trust-region steps of the start kept), `rounds` (of candidates
// checked against all points), `passes` (over all points by the solver, both starts),
// `candidates` (the points of the last round: the working set the SLP saw), `lp_rows` (the most
// rows of a step LP), `second_start` (1 when the perturbed start gave the better optimum),
// `deviation_um`.
// minimax_from_gauss/cylinder_zone: the solver alone from the least-squares cylinder.
#include <benchmark/benchmark.h>

#include <functional>
#include <vector>

#include "measured_shapes.h"
#include "numeric/cone_fit.h"
#include "numeric/cylinder_fit.h"
#include "numeric/enclosing_sphere.h"
#include "numeric/linear_fit.h"
#include "numeric/minimax_models.h"
#include "numeric/sphere_fit.h"
#include "vantor/fit.h"

namespace {

using vantor::actual;
using vantor::criterion;
using namespace vantor::detail;

// The valid points about their centroid with their principal axes, as the fits see them.
struct centred_points {
    std::vector<point3> offsets;
    principal_axes axes;
    double extent;

    explicit centred_points(const actual& points) {
        std::vector<point3> raw;
        for (const spanto::point& p : points) raw.push_back({p.x, p.y, p.z});
        const scatter3 s = scatter_of(raw.data(), raw.data() + raw.size());
        axes = principal_axes_of(s);
        extent = extent_of(axes, s.count);
        for (const point3& p : raw) offsets.push_back(p - s.centroid);
    }
};

// The solver's report for the element and criterion, from its least-squares start.
minimax_report solve(const char* element, criterion c, const centred_points& p) {
    const minimax_sides sides = c == criterion::circumscribed ? minimax_sides::outer
                                : c == criterion::inscribed   ? minimax_sides::inner
                                                              : minimax_sides::both;
    const std::string e = element;
    if (e == "line") {
        const scatter3 s = scatter_of(p.offsets.data(), p.offsets.data() + p.offsets.size());
        const linear_fit f = least_squares_line(s, p.axes);
        return solve_minimax(axis_distance_model(p.extent), p.offsets,
                             cylinder_state{frame_about(f.direction), {0, 0, 0}, 0},
                             minimax_sides::outer, true);
    }
    if (e == "plane") {
        const scatter3 s = scatter_of(p.offsets.data(), p.offsets.data() + p.offsets.size());
        const linear_fit f = least_squares_plane(s, p.axes);
        return solve_minimax(plane_height_model(p.extent), p.offsets, frame_about(f.direction),
                             sides, true);
    }
    if (e == "sphere") {
        const sphere_solution f = least_squares_sphere(p.offsets, p.axes);
        if (c == criterion::circumscribed)
            return circumscribed_sphere(p.offsets, f.state.centre, p.extent);
        return solve_minimax(sphere_distance_model(p.extent), p.offsets, f.state.centre, sides,
                             true);
    }
    if (e == "cylinder") {
        const cylinder_solution f = least_squares_cylinder(p.offsets, p.axes);
        return solve_minimax(axis_distance_model(p.extent), p.offsets, f.state, sides, true);
    }
    const cone_solution f = least_squares_cone(p.offsets, p.axes);
    return solve_minimax(cone_surface_model(p.extent), p.offsets, f.state, sides, true);
}

using fit_function = std::function<vantor::fit_report(const actual&, criterion)>;

void minimax(benchmark::State& state, const char* element, criterion c, actual (*shape)(long),
             fit_function fit) {
    const actual points = shape(state.range(0));
    vantor::fit_report r;
    for (auto _ : state) {
        r = fit(points, c);
        benchmark::DoNotOptimize(r);
    }
    if (!r.valid()) state.SkipWithError(r.error.c_str());
    const minimax_report m = solve(element, c, centred_points(points));
    state.counters["iterations"] = m.steps;
    state.counters["rounds"] = m.rounds;
    state.counters["passes"] = m.passes;
    state.counters["candidates"] = static_cast<double>(m.candidates);
    state.counters["lp_rows"] = static_cast<double>(m.largest_lp);
    state.counters["second_start"] = m.second_start;
    state.counters["deviation_um"] = 1e3 * r.deviation;
}

const fit_function line_fit = [](const actual& a, criterion c) { return vantor::fit_line(a, c); };
const fit_function plane_fit = [](const actual& a, criterion c) { return vantor::fit_plane(a, c); };
const fit_function sphere_fit = [](const actual& a, criterion c) {
    return vantor::fit_sphere(a, c);
};
const fit_function cylinder_fit = [](const actual& a, criterion c) {
    return vantor::fit_cylinder(a, c);
};
const fit_function cone_fit = [](const actual& a, criterion c) { return vantor::fit_cone(a, c); };

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(minimax, line_zone, "line", criterion::zone, shapes::line, line_fit)
    ->Apply(sizes);
BENCHMARK_CAPTURE(minimax, plane_zone, "plane", criterion::zone, shapes::plane, plane_fit)
    ->Apply(sizes);
BENCHMARK_CAPTURE(minimax, sphere_zone, "sphere", criterion::zone, shapes::sphere, sphere_fit)
    ->Apply(sizes);
BENCHMARK_CAPTURE(minimax, sphere_inscribed, "sphere", criterion::inscribed, shapes::sphere,
                  sphere_fit)
    ->Apply(sizes);
BENCHMARK_CAPTURE(minimax, sphere_circumscribed, "sphere", criterion::circumscribed, shapes::sphere,
                  sphere_fit)
    ->Apply(sizes);
BENCHMARK_CAPTURE(minimax, cylinder_zone, "cylinder", criterion::zone, shapes::cylinder,
                  cylinder_fit)
    ->Apply(sizes);
BENCHMARK_CAPTURE(minimax, cylinder_inscribed, "cylinder", criterion::inscribed, shapes::cylinder,
                  cylinder_fit)
    ->Apply(sizes);
BENCHMARK_CAPTURE(minimax, cylinder_circumscribed, "cylinder", criterion::circumscribed,
                  shapes::cylinder, cylinder_fit)
    ->Apply(sizes);
BENCHMARK_CAPTURE(minimax, cone_zone, "cone", criterion::zone, shapes::cone, cone_fit)
    ->Apply(sizes);

void minimax_from_gauss(benchmark::State& state) {
    const centred_points p(shapes::cylinder(state.range(0)));
    const cylinder_solution start = least_squares_cylinder(p.offsets, p.axes);
    const axis_distance_model model(p.extent);
    minimax_solution<cylinder_state> m;
    for (auto _ : state) {
        m = solve_minimax(model, p.offsets, start.state, minimax_sides::both, true);
        benchmark::DoNotOptimize(m);
    }
    state.counters["iterations"] = m.steps;
    state.counters["passes"] = m.passes;
    state.counters["candidates"] = static_cast<double>(m.candidates);
}
BENCHMARK(minimax_from_gauss)->Name("minimax_from_gauss/cylinder_zone")->Apply(sizes);

}  // namespace

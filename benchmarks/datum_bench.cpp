// SPDX-License-Identifier: Apache-2.0
// The datums of vantor/datum.h on the measured shapes of measured_shapes.h, 1,000 to 1,000,000
// points: datum/plane (the face, outward along its axis), datum/shaft_axis (the circumscribed
// cylinder's axis), datum/face_shaft (the system A|B of the face and the shaft, B's circle seen
// along A's normal), datum/common_axis (A-B of two seats, n/2 points each); the location
// tolerances of vantor/location.h about true positions off the shapes' own by a few um:
// location/point (the ball), location/circle (the profile), location/axis (the shaft measured as
// 10 sections), location/plane (the face), location/symmetry (two faces 10 apart, n/2 points
// each); coaxiality and concentricity are the axis and circle cases about a datum axis.
#include <benchmark/benchmark.h>

#include <cmath>

#include "measured_shapes.h"
#include "vantor/datum.h"
#include "vantor/location.h"

namespace {

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
}

void datum_plane(benchmark::State& state) {
    const vantor::actual face = shapes::plane(state.range(0));
    vantor::datum_result<spanto::plane> d;
    for (auto _ : state) {
        d = vantor::datum_plane(face, shapes::frame().a);
        benchmark::DoNotOptimize(d);
    }
    if (!d.valid()) state.SkipWithError(d.error.c_str());
}
BENCHMARK(datum_plane)->Name("datum/plane")->Apply(sizes);

void datum_axis(benchmark::State& state) {
    const vantor::actual shaft = shapes::cylinder(state.range(0));
    vantor::datum_result<spanto::line> d;
    for (auto _ : state) {
        d = vantor::datum_axis(shaft, vantor::feature_side::shaft);
        benchmark::DoNotOptimize(d);
    }
    if (!d.valid()) state.SkipWithError(d.error.c_str());
}
BENCHMARK(datum_axis)->Name("datum/shaft_axis")->Apply(sizes);

void datum_system(benchmark::State& state) {
    const vantor::actual face = shapes::plane(state.range(0));
    const vantor::actual shaft = shapes::cylinder(state.range(0));
    vantor::datum_frame f;
    for (auto _ : state) {
        f = vantor::datum_system(vantor::datum_feature::face(face, shapes::frame().a),
                                 vantor::datum_feature::round(shaft, vantor::feature_side::shaft));
        benchmark::DoNotOptimize(f);
    }
    if (!f.valid()) state.SkipWithError(f.error.c_str());
}
BENCHMARK(datum_system)->Name("datum/face_shaft")->Apply(sizes);

// The points moved by `distance` along the shapes' axis a.
vantor::actual seat_moved(const vantor::actual& points, double distance) {
    vantor::actual moved(points.numpoints());
    for (const spanto::point& p : points) moved.append(p + distance * shapes::frame().a);
    return moved;
}

void common_datum_axis(benchmark::State& state) {
    const vantor::actual a = shapes::cylinder(state.range(0) / 2);
    const vantor::actual b = seat_moved(a, 100.0);
    vantor::datum_result<spanto::line> d;
    for (auto _ : state) {
        d = vantor::common_datum_axis(a, vantor::feature_side::shaft, b,
                                      vantor::feature_side::shaft);
        benchmark::DoNotOptimize(d);
    }
    if (!d.valid()) state.SkipWithError(d.error.c_str());
}
BENCHMARK(common_datum_axis)->Name("datum/common_axis")->Apply(sizes);

// Runs a location evaluation on the points made for the size.
template <class Make, class Evaluate>
void location(benchmark::State& state, Make make, Evaluate evaluate) {
    const vantor::actual points = make(state.range(0));
    vantor::location_result r;
    for (auto _ : state) {
        r = evaluate(points);
        benchmark::DoNotOptimize(r);
    }
    if (!r.valid()) state.SkipWithError(r.error.c_str());
}

void point_position(benchmark::State& state) {
    location(state, shapes::sphere, [](const vantor::actual& p) {
        return vantor::point_position(p, spanto::point(150, 80, 35.002));
    });
}
BENCHMARK(point_position)->Name("location/point")->Apply(sizes);

void circle_position(benchmark::State& state) {
    location(state, shapes::profile, [](const vantor::actual& p) {
        return vantor::circle_position(
            p, spanto::line(spanto::point(40.003, -15, 0), spanto::vector(0, 0, 1)));
    });
}
BENCHMARK(circle_position)->Name("location/circle")->Apply(sizes);

void axis_position(benchmark::State& state) {
    const vantor::section_request gaps{vantor::section_request::rule::gaps, 0, {}};
    location(state, shapes::shaft_sections, [&](const vantor::actual& p) {
        return vantor::axis_position(
            p, spanto::line(spanto::point(10.002, 20, 30), shapes::frame().a), gaps);
    });
}
BENCHMARK(axis_position)->Name("location/axis")->Apply(sizes);

void plane_position(benchmark::State& state) {
    location(state, shapes::plane, [](const vantor::actual& p) {
        return vantor::plane_position(
            p, spanto::plane(spanto::point(10, 20, 30) + 0.002 * shapes::frame().a,
                             shapes::frame().a));
    });
}
BENCHMARK(plane_position)->Name("location/plane")->Apply(sizes);

void symmetry(benchmark::State& state) {
    const vantor::actual first = shapes::plane(state.range(0) / 2);
    const vantor::actual second = seat_moved(first, 10.0);
    const spanto::plane datum(spanto::point(10, 20, 30) + 5.002 * shapes::frame().a,
                              shapes::frame().a);
    vantor::location_result r;
    for (auto _ : state) {
        r = vantor::symmetry(first, second, datum);
        benchmark::DoNotOptimize(r);
    }
    if (!r.valid()) state.SkipWithError(r.error.c_str());
}
BENCHMARK(symmetry)->Name("location/symmetry")->Apply(sizes);

}  // namespace

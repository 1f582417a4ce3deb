// SPDX-License-Identifier: Apache-2.0
// The orientation tolerances and runouts of vantor/orientation.h on the measured shapes of
// measured_shapes.h, 1,000 to 1,000,000 points, about datums a few mrad off the shapes' own:
// orientation/parallelism, /perpendicularity (the shaft's surface to a plane along its axis),
// /angularity (the face at 30 degrees), /axis_perpendicularity (the shaft as 10 sections);
// runout/circular_radial (10 sections), /total_radial (the shaft), /circular_axial (the face,
// 3 radii), /total_axial (the face).
#include <benchmark/benchmark.h>

#include <cmath>

#include "measured_shapes.h"
#include "vantor/orientation.h"

namespace {

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
}

const spanto::vector tilted = (shapes::frame().a + 0.002 * shapes::frame().b).unit();

template <class Result, class Make, class Evaluate>
void run(benchmark::State& state, Make make, Evaluate evaluate) {
    const vantor::actual points = make(state.range(0));
    Result r;
    for (auto _ : state) {
        r = evaluate(points);
        benchmark::DoNotOptimize(r);
    }
    if (!r.valid()) state.SkipWithError(r.error.c_str());
}

const spanto::plane across(spanto::point(0, 0, 0), tilted);            // the face's datum
const spanto::plane along(spanto::point(0, 0, 0), shapes::frame().b);  // along the shaft
const spanto::line axis(spanto::point(10.001, 20, 30), tilted);        // the shaft's datum
const vantor::section_request gaps{vantor::section_request::rule::gaps, 0, {}};

void parallelism(benchmark::State& state) {
    run<vantor::orientation_result>(state, shapes::plane, [](const vantor::actual& p) {
        return vantor::parallelism(p, across);
    });
}
BENCHMARK(parallelism)->Name("orientation/parallelism")->Apply(sizes);

void perpendicularity(benchmark::State& state) {
    run<vantor::orientation_result>(state, shapes::cylinder, [](const vantor::actual& p) {
        return vantor::perpendicularity(p, across);
    });
}
BENCHMARK(perpendicularity)->Name("orientation/perpendicularity")->Apply(sizes);

void angularity(benchmark::State& state) {
    run<vantor::orientation_result>(state, shapes::plane, [](const vantor::actual& p) {
        return vantor::angularity(p, along, 30.0);
    });
}
BENCHMARK(angularity)->Name("orientation/angularity")->Apply(sizes);

void axis_perpendicularity(benchmark::State& state) {
    run<vantor::orientation_result>(state, shapes::shaft_sections, [](const vantor::actual& p) {
        return vantor::axis_perpendicularity(p, across, gaps);
    });
}
BENCHMARK(axis_perpendicularity)->Name("orientation/axis_perpendicularity")->Apply(sizes);

void circular_radial(benchmark::State& state) {
    run<vantor::runout_result>(state, shapes::shaft_sections, [](const vantor::actual& p) {
        return vantor::circular_radial_runout(p, axis, gaps);
    });
}
BENCHMARK(circular_radial)->Name("runout/circular_radial")->Apply(sizes);

void total_radial(benchmark::State& state) {
    run<vantor::runout_result>(state, shapes::cylinder, [](const vantor::actual& p) {
        return vantor::total_radial_runout(p, axis);
    });
}
BENCHMARK(total_radial)->Name("runout/total_radial")->Apply(sizes);

void circular_axial(benchmark::State& state) {
    const spanto::line face_axis(spanto::point(10, 20, 30), tilted);
    run<vantor::runout_result>(state, shapes::plane, [&](const vantor::actual& p) {
        return vantor::circular_axial_runout(p, face_axis, {10.0, 25.0, 40.0}, 0.5);
    });
}
BENCHMARK(circular_axial)->Name("runout/circular_axial")->Apply(sizes);

void total_axial(benchmark::State& state) {
    run<vantor::runout_result>(state, shapes::plane, [](const vantor::actual& p) {
        return vantor::total_axial_runout(p, axis);
    });
}
BENCHMARK(total_axial)->Name("runout/total_axial")->Apply(sizes);

}  // namespace

// SPDX-License-Identifier: Apache-2.0
// The datums of vantor/datum.h on the measured shapes of measured_shapes.h, 1,000 to 1,000,000
// points: datum/plane (the face, outward along its axis), datum/shaft_axis (the circumscribed
// cylinder's axis), datum/face_shaft (the system A|B of the face and the shaft, B's circle seen
// along A's normal).
#include <benchmark/benchmark.h>

#include "measured_shapes.h"
#include "vantor/datum.h"

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

}  // namespace

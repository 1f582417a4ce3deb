// SPDX-License-Identifier: Apache-2.0
// The sizes of vantor/size.h on 10,000 and 1,000,000 points: size/global_* (the diameters of the
// least-squares and maximum-inscribed cylinders of the shaft of measured_shapes.h, a scan along
// its axis), size/two_point_shaft and size/sections_inscribed (the same shaft measured as 10
// sections), size/two_point_sphere (the reference ball).
#include <benchmark/benchmark.h>

#include "measured_shapes.h"
#include "vantor/size.h"

namespace {

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);
}

// The shaft of shapes::cylinder as 10 sections 4 apart along its axis.
vantor::actual sectioned_shaft(long n) {
    const shapes::frame f;
    const spanto::point o(10, 20, 30);
    vantor::actual points(static_cast<int>(n));
    for (long i = 0; i < n; ++i) {
        const double t = shapes::two_pi * shapes::golden(i), z = 4.0 * static_cast<double>(i % 10);
        const double r = 12 + 0.004 * std::cos(3 * t) + 0.002 * shapes::wobble(i);
        points.append(o + (r * std::cos(t)) * f.b + (r * std::sin(t)) * f.c + z * f.a);
    }
    return points;
}

const vantor::section_request gaps{vantor::section_request::rule::gaps, 0, {}};

template <class Evaluate>
void run(benchmark::State& state, const vantor::actual& points, Evaluate evaluate) {
    vantor::size_result r;
    for (auto _ : state) {
        r = evaluate(points);
        benchmark::DoNotOptimize(r);
    }
    if (!r.valid()) state.SkipWithError(r.error.c_str());
}

void global_gauss(benchmark::State& state) {
    run(state, shapes::cylinder(state.range(0)), [](const vantor::actual& p) {
        return vantor::global_size(p, vantor::element_kind::cylinder, vantor::criterion::gauss);
    });
}
BENCHMARK(global_gauss)->Name("size/global_gauss")->Apply(sizes);

void global_inscribed(benchmark::State& state) {
    run(state, shapes::cylinder(state.range(0)), [](const vantor::actual& p) {
        return vantor::global_size(p, vantor::element_kind::cylinder, vantor::criterion::inscribed);
    });
}
BENCHMARK(global_inscribed)->Name("size/global_inscribed")->Apply(sizes);

void two_point_shaft(benchmark::State& state) {
    run(state, sectioned_shaft(state.range(0)), [](const vantor::actual& p) {
        return vantor::two_point_sizes(p, vantor::element_kind::cylinder, gaps);
    });
}
BENCHMARK(two_point_shaft)->Name("size/two_point_shaft")->Apply(sizes);

void two_point_sphere(benchmark::State& state) {
    run(state, shapes::sphere(state.range(0)), [](const vantor::actual& p) {
        return vantor::two_point_sizes(p, vantor::element_kind::sphere);
    });
}
BENCHMARK(two_point_sphere)->Name("size/two_point_sphere")->Apply(sizes);

void sections_inscribed(benchmark::State& state) {
    run(state, sectioned_shaft(state.range(0)), [](const vantor::actual& p) {
        return vantor::section_sizes(p, vantor::criterion::inscribed, gaps);
    });
}
BENCHMARK(sections_inscribed)->Name("size/sections_inscribed")->Apply(sizes);

}  // namespace

// SPDX-License-Identifier: Apache-2.0
// The circumscribed sphere of the fitting interface against CGAL's Min_sphere_of_spheres_d with
// a double kernel and square roots (points as spheres of radius 0), on the sphere patch of
// measured_shapes.h.
// Built only with -DVANTOR_BUILD_PEER_BENCHMARKS=ON (needs Debian's libcgal-dev).
#include <benchmark/benchmark.h>

#include <CGAL/Min_sphere_of_spheres_d.h>
#include <CGAL/Min_sphere_of_spheres_d_traits_3.h>
#include <CGAL/Simple_cartesian.h>

#include <vector>

#include "measured_shapes.h"
#include "vantor/fit.h"

namespace {

using kernel = CGAL::Simple_cartesian<double>;
using traits = CGAL::Min_sphere_of_spheres_d_traits_3<kernel, double, CGAL::Tag_true>;
using min_sphere = CGAL::Min_sphere_of_spheres_d<traits>;

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
}

void cgal_min_sphere(benchmark::State& state) {
    const vantor::actual points = shapes::sphere(state.range(0));
    std::vector<traits::Sphere> spheres;
    for (const spanto::point& p : points) spheres.emplace_back(kernel::Point_3(p.x, p.y, p.z), 0.0);
    double radius = 0.0;
    for (auto _ : state) {
        min_sphere sphere(spheres.begin(), spheres.end());
        radius = sphere.radius();
        benchmark::DoNotOptimize(radius);
    }
    state.counters["radius"] = radius;
}
BENCHMARK(cgal_min_sphere)->Apply(sizes);

void vantor_circumscribed_sphere(benchmark::State& state) {
    const vantor::actual points = shapes::sphere(state.range(0));
    vantor::fit_result<spanto::sphere> f;
    for (auto _ : state) {
        f = vantor::fit_sphere(points, vantor::criterion::circumscribed);
        benchmark::DoNotOptimize(f);
    }
    state.counters["radius"] = f.element.radius;
}
BENCHMARK(vantor_circumscribed_sphere)->Apply(sizes);

}  // namespace

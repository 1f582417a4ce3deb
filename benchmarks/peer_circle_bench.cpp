// SPDX-License-Identifier: Apache-2.0
// The circles of the fitting interface against CGAL on the closed profiles of
// measured_shapes.h: the minimum circumscribed circle against Min_circle_2 with a double
// kernel, the minimum-zone circle against Min_annulus_d (exact arithmetic by Gmpzf on double
// input). Min_annulus_d minimises the annulus' area, not its width: the counter width_um gives
// each annulus' width, to be compared by eye. Built only with -DVANTOR_BUILD_PEER_BENCHMARKS=ON
// (needs Debian's libcgal-dev).
#include <benchmark/benchmark.h>

#include <CGAL/Gmpzf.h>
#include <CGAL/Min_annulus_d.h>
#include <CGAL/Min_circle_2.h>
#include <CGAL/Min_circle_2_traits_2.h>
#include <CGAL/Min_sphere_annulus_d_traits_2.h>
#include <CGAL/Simple_cartesian.h>

#include <cmath>
#include <vector>

#include "measured_shapes.h"
#include "vantor/fit.h"

namespace {

using kernel = CGAL::Simple_cartesian<double>;
using min_circle = CGAL::Min_circle_2<CGAL::Min_circle_2_traits_2<kernel>>;
using min_annulus =
    CGAL::Min_annulus_d<CGAL::Min_sphere_annulus_d_traits_2<kernel, CGAL::Gmpzf, double>>;

std::vector<kernel::Point_2> plane_profile(long n) {
    const vantor::actual points = shapes::profile(n);
    std::vector<kernel::Point_2> planar;
    for (const spanto::point& p : points) planar.emplace_back(p.x, p.y);
    return planar;
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
}

void cgal_min_circle(benchmark::State& state) {
    const std::vector<kernel::Point_2> points = plane_profile(state.range(0));
    double radius = 0.0;
    for (auto _ : state) {
        const min_circle circle(points.begin(), points.end(), true);
        radius = std::sqrt(circle.circle().squared_radius());
        benchmark::DoNotOptimize(circle);
    }
    state.counters["radius"] = radius;
}
BENCHMARK(cgal_min_circle)->Apply(sizes);

void cgal_min_annulus(benchmark::State& state) {
    const std::vector<kernel::Point_2> points = plane_profile(state.range(0));
    double width = 0.0;
    for (auto _ : state) {
        const min_annulus annulus(points.begin(), points.end());
        const double denominator = CGAL::to_double(annulus.squared_radii_denominator());
        width = std::sqrt(CGAL::to_double(annulus.squared_outer_radius_numerator()) / denominator) -
                std::sqrt(CGAL::to_double(annulus.squared_inner_radius_numerator()) / denominator);
        benchmark::DoNotOptimize(annulus);
    }
    state.counters["width_um"] = 1e3 * width;
}
BENCHMARK(cgal_min_annulus)->Apply(sizes);

void vantor_circle(benchmark::State& state, vantor::criterion c) {
    const vantor::actual points = shapes::profile(state.range(0));
    vantor::fit_result<spanto::circle> f;
    for (auto _ : state) {
        f = vantor::fit_circle(points, spanto::vector(0, 0, 1), c);
        benchmark::DoNotOptimize(f);
    }
    state.counters["radius"] = f.element.radius;
    state.counters["width_um"] = 1e3 * f.deviation;
}
BENCHMARK_CAPTURE(vantor_circle, circumscribed, vantor::criterion::circumscribed)->Apply(sizes);
BENCHMARK_CAPTURE(vantor_circle, zone, vantor::criterion::zone)->Apply(sizes);

}  // namespace

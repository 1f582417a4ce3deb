// SPDX-License-Identifier: Apache-2.0
// Point-set queries, extremum points and thinning on 1,000 to 1,000,000 points, with plain loops
// (no library, the same arithmetic inline) as the reference for the plane sums and the box.
#include <benchmark/benchmark.h>

#include <cmath>
#include <map>
#include <random>
#include <vector>

#include "vantor/actual.h"

namespace {

using spanto::point;
using spanto::vector;

// The same cloud of n points, uniform in a cube of edge 20, for every benchmark of that size.
const std::vector<point>& cloud(int n) {
    static std::map<int, std::vector<point>> clouds;
    std::vector<point>& pts = clouds[n];
    if (pts.empty()) {
        std::mt19937_64 random(20240601);
        std::uniform_real_distribution<double> coordinate(-10.0, 10.0);
        pts.reserve(n);
        for (int i = 0; i < n; ++i) {
            pts.emplace_back(coordinate(random), coordinate(random), coordinate(random));
        }
    }
    return pts;
}

vantor::actual cloud_set(int n) { return vantor::actual(cloud(n).data(), n, n); }

void point_counts(benchmark::internal::Benchmark* b) { b->Arg(1000)->Arg(100000)->Arg(1000000); }

void per_point(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

const spanto::line test_line(point(0, 0, 0), vector(1, 2, 3));
const spanto::plane test_plane(point(0, 0, 1), vector(0.2, 0.3, 1));
const spanto::circle test_circle(point(0, 0, 0), vector(0, 0, 1), 5.0);
const spanto::cylinder test_cylinder(point(0, 0, 0), vector(0, 0, 1), 5.0);
const spanto::sphere test_sphere(point(0, 0, 0), 8.0);

template <typename Geometry>
void gaussdistance_sum(benchmark::State& state, const Geometry& g) {
    const vantor::actual set = cloud_set(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(set.gaussdistance(g));
    per_point(state);
}

template <typename Geometry>
void gaussdistance_spread(benchmark::State& state, const Geometry& g) {
    const vantor::actual set = cloud_set(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        double spread = 0.0;
        benchmark::DoNotOptimize(set.gaussdistance(g, spread));
        benchmark::DoNotOptimize(spread);
    }
    per_point(state);
}

BENCHMARK_CAPTURE(gaussdistance_sum, line, test_line)->Apply(point_counts);
BENCHMARK_CAPTURE(gaussdistance_sum, plane, test_plane)->Apply(point_counts);
BENCHMARK_CAPTURE(gaussdistance_sum, circle, test_circle)->Apply(point_counts);
BENCHMARK_CAPTURE(gaussdistance_sum, cylinder, test_cylinder)->Apply(point_counts);
BENCHMARK_CAPTURE(gaussdistance_sum, sphere, test_sphere)->Apply(point_counts);
BENCHMARK_CAPTURE(gaussdistance_spread, line, test_line)->Apply(point_counts);
BENCHMARK_CAPTURE(gaussdistance_spread, plane, test_plane)->Apply(point_counts);
BENCHMARK_CAPTURE(gaussdistance_spread, circle, test_circle)->Apply(point_counts);
BENCHMARK_CAPTURE(gaussdistance_spread, cylinder, test_cylinder)->Apply(point_counts);
BENCHMARK_CAPTURE(gaussdistance_spread, sphere, test_sphere)->Apply(point_counts);

// Reference for gaussdistance(plane): the sum of squared distances, written out.
void plain_loop_plane_sum(benchmark::State& state) {
    const std::vector<point>& pts = cloud(static_cast<int>(state.range(0)));
    const point o = test_plane.origin;
    const vector n = test_plane.normal;
    for (auto _ : state) {
        double sum = 0.0;
        for (const point& p : pts) {
            const double d = std::fabs((p.x - o.x) * n.x + (p.y - o.y) * n.y + (p.z - o.z) * n.z);
            sum += d * d;
        }
        benchmark::DoNotOptimize(sum);
    }
    per_point(state);
}
BENCHMARK(plain_loop_plane_sum)->Apply(point_counts);

// Reference for gaussdistance(plane, spread): sum and signed extremes from -+1e9, written out.
void plain_loop_plane_spread(benchmark::State& state) {
    const std::vector<point>& pts = cloud(static_cast<int>(state.range(0)));
    const point o = test_plane.origin;
    const vector n = test_plane.normal;
    for (auto _ : state) {
        double sum = 0.0, high = -1e9, low = 1e9;
        for (const point& p : pts) {
            const double d = (p.x - o.x) * n.x + (p.y - o.y) * n.y + (p.z - o.z) * n.z;
            sum += d * d;
            if (d > high) high = d;
            if (d < low) low = d;
        }
        double spread = high - low;
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(spread);
    }
    per_point(state);
}
BENCHMARK(plain_loop_plane_spread)->Apply(point_counts);

void bbox(benchmark::State& state) {
    const vantor::actual set = cloud_set(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        point lo, hi;
        benchmark::DoNotOptimize(set.bbox(lo, hi, false));
        benchmark::DoNotOptimize(lo);
        benchmark::DoNotOptimize(hi);
    }
    per_point(state);
}
BENCHMARK(bbox)->Apply(point_counts);

// Reference for bbox: one point at a time from the first point, strict comparisons.
void plain_loop_bbox(benchmark::State& state) {
    const std::vector<point>& pts = cloud(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        point lo = pts[0], hi = pts[0];
        for (std::size_t i = 1; i < pts.size(); ++i) {
            const point& p = pts[i];
            if (p.x < lo.x) lo.x = p.x;
            if (p.y < lo.y) lo.y = p.y;
            if (p.z < lo.z) lo.z = p.z;
            if (p.x > hi.x) hi.x = p.x;
            if (p.y > hi.y) hi.y = p.y;
            if (p.z > hi.z) hi.z = p.z;
        }
        benchmark::DoNotOptimize(lo);
        benchmark::DoNotOptimize(hi);
    }
    per_point(state);
}
BENCHMARK(plain_loop_bbox)->Apply(point_counts);

void extremum_points_2(benchmark::State& state) {
    const vantor::actual set = cloud_set(static_cast<int>(state.range(0)));
    point p1, p2;
    for (auto _ : state) benchmark::DoNotOptimize(set.ExtremumPoints(p1, p2));
    per_point(state);
}
BENCHMARK(extremum_points_2)->Apply(point_counts);

void extremum_points_3(benchmark::State& state) {
    const vantor::actual set = cloud_set(static_cast<int>(state.range(0)));
    point p1, p2, p3;
    for (auto _ : state) benchmark::DoNotOptimize(set.ExtremumPoints(p1, p2, p3));
    per_point(state);
}
BENCHMARK(extremum_points_3)->Apply(point_counts);

void extremum_points_4(benchmark::State& state) {
    const vantor::actual set = cloud_set(static_cast<int>(state.range(0)));
    point p1, p2, p3, p4;
    for (auto _ : state) benchmark::DoNotOptimize(set.ExtremumPoints(p1, p2, p3, p4));
    per_point(state);
}
BENCHMARK(extremum_points_4)->Apply(point_counts);

void simplify(benchmark::State& state) {
    const vantor::actual set = cloud_set(static_cast<int>(state.range(0)));
    vantor::actual target(200);
    for (auto _ : state) benchmark::DoNotOptimize(set.simplify(target));
    per_point(state);
}
BENCHMARK(simplify)->Apply(point_counts);

}  // namespace

// SPDX-License-Identifier: Apache-2.0
// Form evaluations and fits on the points of the element file that VANTOR_BENCH_POINTS names
// (the cylinder fit on those of VANTOR_BENCH_CYLINDER), as the same calls from Python:
// benchmarks/python_bench.py writes the files, runs these and times its own calls on the same
// points. The datums and fits are the script's (keep them equal). Each runs on the loaded point
// set, and, as "<name>/fill", on a new point set filled from a plain array of x, y, z doubles in
// every iteration, as an application holding its points in an array does (and the package does
// with a NumPy array). Registered only when the variables are set.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "vantor/feature.h"
#include "vantor/fit.h"

namespace {

using vantor::actual;

// A new point set filled from an array of x, y, z doubles, as the package fills one.
actual filled(const std::vector<double>& xyz) {
    const int n = static_cast<int>(xyz.size() / 3);
    actual set(n);
    for (int i = 0; i < n; ++i) set.append(xyz[3 * i], xyz[3 * i + 1], xyz[3 * i + 2]);
    return set;
}

// A call returns the form value or the fit's deviation, NaN when it failed.
template <typename Call>
void run(benchmark::State& state, const actual* points, Call call) {
    double value = 0.0;
    for (auto _ : state) {
        value = call(*points);
        benchmark::DoNotOptimize(value);
    }
    if (std::isnan(value)) state.SkipWithError("the call failed");
}

template <typename Call>
void fill_and_run(benchmark::State& state, const std::vector<double>* xyz, Call call) {
    double value = 0.0;
    for (auto _ : state) {
        value = call(filled(*xyz));
        benchmark::DoNotOptimize(value);
    }
    if (std::isnan(value)) state.SkipWithError("the call failed");
}

template <typename Feature>
double value_of(const Feature& f) {
    return f.invalid() ? std::nan("") : f.value();
}

template <typename Element>
double deviation_of(const vantor::fit_result<Element>& r) {
    return r ? r.deviation : std::nan("");
}

// The point set of the element file that the variable names, and its coordinates as an array;
// kept for the whole run. Null when the variable is not set.
struct bench_points {
    std::unique_ptr<actual> set;
    std::vector<double> xyz;
};

const bench_points* load_points(const char* variable) {
    const char* path = std::getenv(variable);
    if (path == nullptr) return nullptr;
    auto* loaded = new bench_points{std::unique_ptr<actual>(actual::load(path)), {}};
    if (!loaded->set) {
        std::fprintf(stderr, "%s: %s holds no point set\n", variable, path);
        std::exit(2);
    }
    for (const spanto::point& q : *loaded->set)
        loaded->xyz.insert(loaded->xyz.end(), {q.x, q.y, q.z});
    return loaded;
}

// "python_compare/<name>" on the loaded set and "python_compare/<name>/fill" on a filled one.
template <typename Call>
void add(const std::string& name, const bench_points* on, Call call) {
    benchmark::RegisterBenchmark(("python_compare/" + name).c_str(), [=](benchmark::State& s) {
        run(s, on->set.get(), call);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("python_compare/" + name + "/fill").c_str(),
                                 [=](benchmark::State& s) { fill_and_run(s, &on->xyz, call); })
        ->Unit(benchmark::kMillisecond);
}

[[maybe_unused]] const bool registered = [] {
    const bench_points* points = load_points("VANTOR_BENCH_POINTS");
    const bench_points* shaft = load_points("VANTOR_BENCH_CYLINDER");
    if (points == nullptr || shaft == nullptr) return false;
    const spanto::point origin(0, 0, 0);
    const spanto::vector up(0, 0, 1);
    const spanto::plane plane(origin, up);
    const spanto::cylinder cylinder(origin, up, 27.5);
    const spanto::axis axis(origin, up);
    add("flatness_plane", points,
        [=](const actual& p) { return value_of(vantor::flatness(p, plane)); });
    add("cylindricity_cylinder", points,
        [=](const actual& p) { return value_of(vantor::cylindricity(p, cylinder)); });
    add("conicity_axis", points,
        [=](const actual& p) { return value_of(vantor::coneicity(p, axis)); });
    // As the package measures roundness along a direction: about the axis of the minimum-zone
    // circle fitted along it.
    add("roundness_direction", points, [=](const actual& p) {
        const vantor::fit_result<spanto::circle> c =
            vantor::fit_circle(p, up, vantor::criterion::zone);
        return c ? value_of(vantor::roundness(p, c.element.axisline())) : std::nan("");
    });
    add("fit_line", points, [](const actual& p) { return deviation_of(vantor::fit_line(p)); });
    add("fit_plane", points, [](const actual& p) { return deviation_of(vantor::fit_plane(p)); });
    add("fit_circle", points, [](const actual& p) { return deviation_of(vantor::fit_circle(p)); });
    add("fit_cone", points, [](const actual& p) { return deviation_of(vantor::fit_cone(p)); });
    add("fit_cylinder", shaft,
        [](const actual& p) { return deviation_of(vantor::fit_cylinder(p)); });
    return true;
}();

}  // namespace

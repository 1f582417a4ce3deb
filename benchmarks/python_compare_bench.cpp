// Form evaluations on the points of the element file that VANTOR_BENCH_POINTS names, as the
// same evaluations called from Python: benchmarks/python_bench.py writes the file, runs these
// and times its own calls on the same points. The datums are the script's (keep them equal).
// Each evaluation runs on the loaded point set, and, as "<name>/fill", on a new point set filled
// from a plain array of x, y, z doubles in every iteration, as an application holding its points
// in an array does (and the package does with a NumPy array). Registered only when the variable
// is set.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "vantor/feature.h"

namespace {

using vantor::actual;

template <typename Feature, typename Datum>
void evaluate(benchmark::State& state, const actual* points, Datum datum) {
    Feature f;
    for (auto _ : state) {
        f.compute(*points, datum);
        benchmark::DoNotOptimize(f.value());
    }
    if (f.invalid()) state.SkipWithError("the evaluation failed");
}

template <typename Feature, typename Datum>
void fill_and_evaluate(benchmark::State& state, const std::vector<double>* xyz, Datum datum) {
    const int n = static_cast<int>(xyz->size() / 3);
    Feature f;
    for (auto _ : state) {
        actual set(n);
        for (int i = 0; i < n; ++i) set.append((*xyz)[3 * i], (*xyz)[3 * i + 1], (*xyz)[3 * i + 2]);
        f.compute(set, datum);
        benchmark::DoNotOptimize(f.value());
    }
    if (f.invalid()) state.SkipWithError("the evaluation failed");
}

[[maybe_unused]] const bool registered = [] {
    const char* path = std::getenv("VANTOR_BENCH_POINTS");
    if (path == nullptr) return false;
    // Kept for the whole run.
    static const std::unique_ptr<actual> points(actual::load(path));
    if (!points) {
        std::fprintf(stderr, "VANTOR_BENCH_POINTS: %s holds no point set\n", path);
        std::exit(2);
    }
    static std::vector<double> xyz;
    for (const spanto::point& q : *points) xyz.insert(xyz.end(), {q.x, q.y, q.z});
    const actual* p = points.get();
    const std::vector<double>* array = &xyz;
    const spanto::point origin(0, 0, 0);
    const spanto::vector up(0, 0, 1);
    // `feature` names the feature type only.
    const auto add = [p, array](const std::string& name, auto feature, auto datum) {
        using Feature = decltype(feature);
        benchmark::RegisterBenchmark(("python_compare/" + name).c_str(), [=](benchmark::State& s) {
            evaluate<Feature>(s, p, datum);
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(
            ("python_compare/" + name + "/fill").c_str(),
            [=](benchmark::State& s) { fill_and_evaluate<Feature>(s, array, datum); })
            ->Unit(benchmark::kMillisecond);
    };
    add("flatness_plane", vantor::flatness(), spanto::plane(origin, up));
    add("cylindricity_cylinder", vantor::cylindricity(), spanto::cylinder(origin, up, 27.5));
    add("conicity_axis", vantor::coneicity(), spanto::axis(origin, up));
    add("roundness_direction", vantor::roundness(), up);
    return true;
}();

}  // namespace

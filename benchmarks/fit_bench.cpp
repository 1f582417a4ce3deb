// SPDX-License-Identifier: Apache-2.0
// Circle fitting: time per fit for each criterion, the objective evaluations a fit makes, and
// the time of one evaluation (a roundness evaluation about a line, or a least-squares sum about
// a cylinder), so that the minimiser's own share shows as
//     fit time / (evaluations x one evaluation).
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "fit/circle_fit.h"
#include "vantor/feature.h"
#include "vantor/substitute.h"

namespace {

using vantor::actual;
using vantor::substitute;

// A bore of radius 25 with three lobes and noise, off the origin.
actual bore(int n) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> noise(-0.002, 0.002);
    actual set(n);
    const double pi = std::acos(-1.0);
    for (int k = 0; k < n; ++k) {
        const double a = 2 * pi * k / n;
        const double r = 25.0 + 0.01 * std::cos(3 * a) + noise(rng);
        set.append(40 + r * std::cos(a), -15 + r * std::sin(a), 3.0);
    }
    return set;
}

void fit(benchmark::State& state, substitute::subtype s, bool refine) {
    const actual set = bore(static_cast<int>(state.range(0)));
    vantor::detail::circle_refinement(refine);
    for (auto _ : state) {
        substitute fitter;
        benchmark::DoNotOptimize(fitter.circle(set, spanto::vector(0, 0, 1), s));
    }
    vantor::detail::circle_refinement(true);
    state.counters["evaluations"] = vantor::detail::last_fit_evaluations();
    state.counters["points"] = static_cast<double>(state.range(0));
}

void one_evaluation_about_a_line(benchmark::State& state) {
    const actual set = bore(static_cast<int>(state.range(0)));
    vantor::roundness r;
    const spanto::line axis(spanto::point(40, -15, 0), spanto::vector(0, 0, 1));
    for (auto _ : state) {
        r.compute(set, axis);
        benchmark::DoNotOptimize(r.value());
    }
}

void one_least_squares_evaluation(benchmark::State& state) {
    const actual set = bore(static_cast<int>(state.range(0)));
    const spanto::cylinder z(spanto::point(40, -15, 0), spanto::vector(0, 0, 1), 25);
    for (auto _ : state) {
        double spread = 0;
        benchmark::DoNotOptimize(set.gaussdistance(z, spread));
        benchmark::DoNotOptimize(spread);
    }
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(100)->Arg(500)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
}

BENCHMARK_CAPTURE(fit, gauss_minimiser, substitute::gauss, false)->Apply(sizes);
BENCHMARK_CAPTURE(fit, gauss_refined, substitute::gauss, true)->Apply(sizes);
BENCHMARK_CAPTURE(fit, zone_minimiser, substitute::zone, false)->Apply(sizes);
BENCHMARK_CAPTURE(fit, zone_refined, substitute::zone, true)->Apply(sizes);
BENCHMARK_CAPTURE(fit, inscribed_minimiser, substitute::inscribed, false)->Apply(sizes);
BENCHMARK_CAPTURE(fit, inscribed_refined, substitute::inscribed, true)->Apply(sizes);
BENCHMARK_CAPTURE(fit, circumscribed_minimiser, substitute::circumscribed, false)->Apply(sizes);
BENCHMARK_CAPTURE(fit, circumscribed_refined, substitute::circumscribed, true)->Apply(sizes);
BENCHMARK(one_evaluation_about_a_line)->Apply(sizes);
BENCHMARK(one_least_squares_evaluation)->Apply(sizes);

}  // namespace

// SPDX-License-Identifier: Apache-2.0
// The full roundness analysis (profile, Gaussian filter at 50 UPR, spectrum, the four reference
// circles with their parameters) of a bore with lobes and noise: as a roundness tester records
// it (equal angles about the axis analysed) and as a scan with unequal angles (resampled).
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "vantor/roundness_analysis.h"

namespace {

constexpr double pi = 3.14159265358979323846;

vantor::actual bore(int n, bool equal) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    std::normal_distribution<double> noise(0.0, 0.0004);
    vantor::actual points(n);
    for (int i = 0; i < n; ++i) {
        const double a = 2 * pi * (i + (equal ? 0.0 : jitter(rng))) / n;
        const double r =
            25.0 + 0.003 * std::cos(3 * a + 0.4) + 0.0008 * std::cos(5 * a + 1.9) + noise(rng);
        points.append(40.0 + r * std::cos(a), 30.0 + r * std::sin(a), -12.5);
    }
    return points;
}

void analysis(benchmark::State& state, bool equal) {
    const vantor::actual points = bore(static_cast<int>(state.range(0)), equal);
    const spanto::line axis(spanto::point(40, 30, 0), spanto::vector(0, 0, 1));
    for (auto _ : state) {
        const vantor::roundness_analysis a(points, axis, 50.0);
        benchmark::DoNotOptimize(a.parameters(vantor::criterion::zone).ront);
    }
}

void roundness_analysis_equal_angles(benchmark::State& s) { analysis(s, true); }
void roundness_analysis_resampled(benchmark::State& s) { analysis(s, false); }

}  // namespace

BENCHMARK(roundness_analysis_equal_angles)->Arg(3600)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(roundness_analysis_resampled)->Arg(3600)->Arg(100000)->Unit(benchmark::kMillisecond);

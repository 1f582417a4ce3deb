// SPDX-License-Identifier: Apache-2.0
// Fits and form evaluations run from eight threads at once give exactly the results they give on
// one thread: the library keeps no state that work on one thread could disturb on another. The
// jobs form a table; a new fit or evaluation joins it in one line.
#include <cmath>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <vantor/vantor.h>

namespace vantor {
namespace {

using spanto::point;
using spanto::vector;

const double pi = std::acos(-1.0);

// A deterministic measurement error of a few microns for point k.
double error(int k) { return 0.003 * std::sin(12.9898 * k) * std::cos(78.233 * k); }

// The inputs, built once before any thread starts and then read by all of them at once.
struct inputs {
    actual bore{360}, open_arc{120}, face{100}, edge{50}, ball{200}, shaft{300}, cone{240};

    inputs() {
        for (int k = 0; k < 360; ++k) {
            const double a = 2 * pi * k / 360, r = 25 + 0.004 * std::cos(3 * a) + error(k);
            bore.append(40 + r * std::cos(a), 30 + r * std::sin(a), -12.5 + error(k + 1));
        }
        for (int k = 0; k < 120; ++k) {
            const double a = pi / 3 + k * pi / 180, r = 80 + error(k);
            open_arc.append(r * std::cos(a), r * std::sin(a), 0);
        }
        for (int k = 0; k < 100; ++k) face.append(k % 10, k / 10, error(k));
        for (int k = 0; k < 50; ++k) edge.append(k, 10 + error(k), 5 + error(k + 50));
        for (int k = 0; k < 200; ++k) {
            const double a = 2 * pi * k / 200, b = pi * (k % 20) / 20, r = 12.7 + error(k);
            ball.append(r * std::sin(b) * std::cos(a), r * std::sin(b) * std::sin(a),
                        r * std::cos(b));
        }
        for (int k = 0; k < 300; ++k) {
            const double a = 2 * pi * k / 30, r = 12 + error(k);
            shaft.append(r * std::cos(a), r * std::sin(a), k / 30);
        }
        for (int k = 0; k < 240; ++k) {
            const double a = 2 * pi * k / 24, z = k / 24, r = 20 - 0.25 * z + error(k);
            cone.append(r * std::cos(a), r * std::sin(a), z);
        }
    }
};

const inputs& in() {
    static const inputs shared;
    return shared;
}

using numbers = std::vector<double>;

numbers ron(const roundness_analysis& a, criterion c) {
    const ron_parameters& p = a.parameters(c);
    return {p.ront, p.ronp, p.ronv, p.ronq, p.circle.centre.x, p.circle.centre.y, p.circle.radius};
}

numbers circle_fit(const actual& points, substitute::subtype s) {
    substitute fit;
    const spanto::circle c = fit.circle(points, vector(0, 0, 1), s);
    return {c.centre.x, c.centre.y, c.centre.z, c.normal.x,
            c.normal.y, c.normal.z, c.radius,   fit.deviation()};
}

template <typename Feature>
numbers form(const Feature& f) {
    return {f.value(), f.minvalue(), f.maxvalue()};
}

// A fit's form value and parameters (NaN when it failed, which the table's check reports).
numbers fitted(const fit_report& r) {
    numbers n{r.valid() ? r.deviation : NAN};
    for (const fit_parameter& p : r.parameters) n.insert(n.end(), p.value, p.value + p.size);
    return n;
}

// The minimax fits prove their optimum on a short budget: a proof's work is fixed, so the
// threads must agree to the bit whatever the budget, and the sanitizer build runs the table in
// time.
fit_options brief_proofs() {
    fit_options o;
    o.time_budget = 0.05;
    return o;
}
const fit_options brief = brief_proofs();

struct job {
    const char* name;
    numbers (*run)();
};

const job jobs[] = {
    {"gauss circle", [] { return circle_fit(in().bore, substitute::gauss); }},
    {"zone circle", [] { return circle_fit(in().bore, substitute::zone); }},
    {"inscribed circle", [] { return circle_fit(in().bore, substitute::inscribed); }},
    {"circumscribed circle", [] { return circle_fit(in().bore, substitute::circumscribed); }},
    {"circumscribed circle of an arc",
     [] { return circle_fit(in().open_arc, substitute::circumscribed); }},
    {"roundness about a fitted circle", [] { return form(roundness(in().bore, vector(0, 0, 1))); }},
    {"roundness about an axis",
     [] { return form(roundness(in().bore, spanto::line(point(40, 30, 0), vector(0, 0, 1)))); }},
    {"flatness", [] { return form(flatness(in().face, vector(0, 0, 1))); }},
    {"straightness",
     [] { return form(straightness(in().edge, spanto::line(point(0, 10, 5), vector(1, 0, 0)))); }},
    {"sphericity",
     [] { return form(sphereicity(in().ball, spanto::sphere(point(0, 0, 0), 12.7))); }},
    {"cylindricity",
     [] {
         return form(
             cylindricity(in().shaft, spanto::cylinder(point(0, 0, 0), vector(0, 0, 1), 12)));
     }},
    {"conicity",
     [] { return form(coneicity(in().cone, spanto::axis(point(0, 0, 0), vector(0, 0, 1)))); }},
    {"zone line", [] { return fitted(fit_line(in().edge, criterion::zone, brief)); }},
    {"zone plane", [] { return fitted(fit_plane(in().face, criterion::zone, brief)); }},
    {"zone sphere", [] { return fitted(fit_sphere(in().ball, criterion::zone, brief)); }},
    {"inscribed sphere", [] { return fitted(fit_sphere(in().ball, criterion::inscribed, brief)); }},
    {"circumscribed sphere",
     [] { return fitted(fit_sphere(in().ball, criterion::circumscribed, brief)); }},
    {"zone cylinder", [] { return fitted(fit_cylinder(in().shaft, criterion::zone, brief)); }},
    {"inscribed cylinder",
     [] { return fitted(fit_cylinder(in().shaft, criterion::inscribed, brief)); }},
    {"circumscribed cylinder",
     [] { return fitted(fit_cylinder(in().shaft, criterion::circumscribed, brief)); }},
    {"zone cone", [] { return fitted(fit_cone(in().cone, criterion::zone, brief)); }},
    {"filtered roundness analysis about the minimum-zone circle",
     [] {
         const spanto::line axis(point(40, 30, 0), vector(0, 0, 1));
         return ron(roundness_analysis(in().bore, axis, 50), criterion::zone);
     }},
};
constexpr std::size_t job_count = sizeof jobs / sizeof jobs[0];

bool same_bits(const numbers& a, const numbers& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

// Counts the trace lines; the library hands a sink one line at a time.
void count_line(const char*, void* count) { ++*static_cast<long*>(count); }

TEST(Threads, EightThreadsAtOnceGetTheSingleThreadResults) {
    constexpr int threads = 8, rounds = 2;
    // Tracing on, into a sink, so that the trace is exercised from all threads as well; it must
    // not change a result.
    long lines = 0;
    const int saved = tracelevel();
    tracesink(count_line, &lines);
    tracelevel(5);

    std::vector<numbers> expected;
    for (const job& j : jobs) {
        expected.push_back(j.run());
        // A real result: its leading number (a fitted coordinate or a form value) is finite.
        EXPECT_TRUE(std::isfinite(expected.back()[0]) &&
                    expected.back()[0] != feature::invalidmarker)
            << j.name;
    }
    const long lines_of_one_pass = lines;

    std::vector<std::vector<numbers>> got(threads, std::vector<numbers>(rounds * job_count));
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t) {
        // Each thread starts at another job, so that different jobs overlap.
        pool.emplace_back([t, &got] {
            for (std::size_t i = 0; i < rounds * job_count; ++i) {
                const std::size_t k = (i + static_cast<std::size_t>(t)) % job_count;
                got[static_cast<std::size_t>(t)][i] = jobs[k].run();
            }
        });
    }
    for (std::thread& t : pool) t.join();
    tracelevel(saved);
    tracesink(nullptr, nullptr);

    for (int t = 0; t < threads; ++t) {
        for (std::size_t i = 0; i < rounds * job_count; ++i) {
            const std::size_t k = (i + static_cast<std::size_t>(t)) % job_count;
            EXPECT_TRUE(same_bits(got[static_cast<std::size_t>(t)][i], expected[k]))
                << jobs[k].name << " on thread " << t;
        }
    }
    EXPECT_GT(lines_of_one_pass, 0);
    EXPECT_EQ(lines, lines_of_one_pass * (1 + threads * rounds));
}

}  // namespace
}  // namespace vantor

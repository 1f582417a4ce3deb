// SPDX-License-Identifier: Apache-2.0
// A seeded property campaign of the fitting interface: every element under every criterion on
// the samplings measuring machines take (sections, bands, sectors, caps, sparse points, thick
// clouds, lobed and noisy parts), in random poses near the origin and near 1e4, each result
// checked against what must hold whatever the algorithm:
//
//   basin       least squares: no larger sum of squares than the generating element's
//   bound       a zone or circumscribed bound no larger (an inscribed one no smaller) than the
//               generating element's value, which lies in every fit's domain
//   proof       the bound on the right side of the objective; a proved result no worse than
//               the generating element
//   order       zone width <= the deviation of the other criteria's elements; inscribed radius
//               >= the least-squares element's smallest distance, circumscribed <= its largest
//   contacts    a minimax result has contacts
//   status      failures carry a failure's code, valid results ok (not_proved when unproved)
//   pose        a rotated and translated copy gives the same validity and deviation
//   nan         a NaN row added anywhere changes neither
//
// Usage: fit_campaign SETS [FIRST_SEED [TIME_BUDGET]]. Prints the counts by element, criterion and
// check, and exits 1 when any valid result broke a check. CTest runs a small slice.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "vantor/fit.h"

namespace vantor {
namespace {

using spanto::point;
using spanto::vector;
constexpr double pi = 3.14159265358979323846;

double uniform(std::mt19937_64& rng, double a, double b) {
    return std::uniform_real_distribution<double>(a, b)(rng);
}

// A random right-handed frame at a random place near `distance` (on every axis).
struct pose {
    point origin;
    vector x, y, z;
    pose(std::mt19937_64& rng, double distance) {
        z = vector(uniform(rng, -1, 1), uniform(rng, -1, 1), uniform(rng, -1, 1)).unit();
        x = z.orthogonal();
        y = z ^ x;
        origin = point(distance + uniform(rng, -50, 50), distance + uniform(rng, -50, 50),
                       distance + uniform(rng, -50, 50));
    }
    point at(double a, double b, double c) const { return origin + a * x + b * y + c * z; }
};

enum class kind { line, plane, circle, sphere, cylinder, cone };
const char* const kind_names[] = {"line", "plane", "circle", "sphere", "cylinder", "cone"};

// A generated part: its points and the element that generated them, as a function giving a
// point's signed distance from it (radius free: distances from the axis or centre, heights).
struct part {
    kind element;
    std::string family;
    std::vector<point> points;
    std::function<double(const point&)> measure;  // distance from the generating axis/centre
    vector normal;                                // a circle's true axis direction
    double extent = 1.0;
};

// Angles and heights of the axial samplings.
void axial_positions(std::mt19937_64& rng, int family, double r, double l,
                     std::vector<std::pair<double, double>>& at, std::string& name) {
    const auto scattered = [&](int n, double sector, double length) {
        for (int i = 0; i < n; ++i)
            at.push_back({uniform(rng, 0, sector), uniform(rng, 0, length)});
    };
    const auto sections = [&](int count) {
        const int n = static_cast<int>(uniform(rng, 12, 32));
        for (int s = 0; s < count; ++s)
            for (int i = 0; i < n; ++i)
                at.push_back({uniform(rng, 0, 2 * pi), l * s / (count - 1)});
    };
    switch (family % 8) {
        case 0:
            name = "two sections";
            sections(2);
            break;
        case 1:
            name = "three sections";
            sections(3);
            break;
        case 2:
            name = "band r/20";
            scattered(120, 2 * pi, r / 20);
            break;
        case 3:
            name = "sector 30";
            scattered(150, pi / 6, l);
            break;
        case 4:
            name = "sector 120";
            scattered(150, 2 * pi / 3, l);
            break;
        case 5:
            name = "sparse";
            scattered(static_cast<int>(uniform(rng, 15, 21)), 2 * pi, l);
            break;
        case 6:
            name = "thick cloud";
            scattered(300, 2 * pi, l);
            break;
        default:
            name = "lobed scan";
            scattered(600, 2 * pi, l);
            break;
    }
}

part generate(kind element, std::uint64_t seed) {
    std::mt19937_64 rng(seed);
    const pose f(rng, seed % 2 ? 1e4 : 0.0);
    const double r = uniform(rng, 5, 20), l = uniform(rng, 10, 100);
    const int family = static_cast<int>(seed / 2 % 8);
    part p;
    p.element = element;
    std::normal_distribution<double> gauss(0.0, 1.0);
    const point o = f.origin;
    const vector z = f.z;
    switch (element) {
        case kind::cylinder:
        case kind::cone: {
            std::vector<std::pair<double, double>> at;
            axial_positions(rng, family, r, l, at, p.family);
            const double slope =
                element == kind::cone ? std::tan(uniform(rng, 3, 30) * pi / 180) : 0;
            const double noise = 0.0005 + (family % 8 == 6 ? r / 40 : 0.0);
            for (const auto& [a, h] : at) {
                const double rho = r + slope * h + 0.002 * std::cos(3 * a) + noise * gauss(rng);
                p.points.push_back(f.at(rho * std::cos(a), rho * std::sin(a), h));
            }
            // For a cone the radius-free distance is measured along the generator's normal:
            // (rho - slope h) cos(half angle), whose spread is the cone's zone.
            const double c = 1.0 / std::sqrt(1.0 + slope * slope);
            p.measure = [o, z, slope, c](const point& q) {
                const double h = spanto::dot(q - o, z);
                return (((q - o) ^ z).length() - slope * h) * c;
            };
            p.extent = std::max(r, l);
            break;
        }
        case kind::sphere: {
            const double caps[] = {pi, pi, 2 * pi / 3, pi / 3};
            const double cap = caps[family % 4];
            const int n = family % 4 == 1 ? 20 : 300;
            p.family = family % 4 == 1 ? "sparse" : "cap " + std::to_string(int(cap * 180 / pi));
            for (int i = 0; i < n; ++i) {
                const double polar = std::acos(1 - (1 - std::cos(cap)) * uniform(rng, 0, 1));
                const double a = uniform(rng, 0, 2 * pi);
                const double rho = r + 0.002 * std::cos(3 * a) + 0.0005 * gauss(rng);
                p.points.push_back(f.at(rho * std::sin(polar) * std::cos(a),
                                        rho * std::sin(polar) * std::sin(a),
                                        rho * std::cos(polar)));
            }
            p.measure = [o](const point& q) { return q.distance(o); };
            p.extent = r;
            break;
        }
        case kind::circle: {
            const double arcs[] = {2 * pi, 2 * pi, 2 * pi / 3, pi / 2};
            const double arc = arcs[family % 4];
            const int n = family % 4 == 1 ? 12 : 360;
            p.family = family % 4 == 1 ? "sparse" : "arc " + std::to_string(int(arc * 180 / pi));
            for (int i = 0; i < n; ++i) {
                const double a = uniform(rng, 0, arc);
                const double rho = r + 0.003 * std::cos(5 * a) + 0.0005 * gauss(rng);
                p.points.push_back(f.at(rho * std::cos(a), rho * std::sin(a), 0.001 * gauss(rng)));
            }
            p.measure = [o, z](const point& q) { return ((q - o) ^ z).length(); };
            p.normal = z;
            p.extent = r;
            break;
        }
        case kind::plane: {
            const int n = family % 4 == 1 ? 14 : 400;
            const double thick = family % 4 == 2 ? 0.3 * l : 0.0;
            p.family = family % 4 == 1 ? "sparse" : thick > 0 ? "thick cloud" : "crowned face";
            for (int i = 0; i < n; ++i) {
                const double a = uniform(rng, -l / 2, l / 2), b = uniform(rng, -l / 2, l / 2);
                const double h = 0.003 * std::cos(a / 7) * std::cos(b / 5) + 0.0005 * gauss(rng) +
                                 uniform(rng, -thick / 2, thick / 2);
                p.points.push_back(f.at(a, b, h));
            }
            p.measure = [o, z](const point& q) { return spanto::dot(q - o, z); };
            p.extent = l;
            break;
        }
        case kind::line: {
            const int n = family % 2 ? 15 : 300;
            p.family = family % 2 ? "sparse" : "rod";
            for (int i = 0; i < n; ++i)
                p.points.push_back(
                    f.at(0.002 * gauss(rng), 0.002 * gauss(rng), uniform(rng, 0, l)));
            p.measure = [o, z](const point& q) { return ((q - o) ^ z).length(); };
            p.extent = l;
            break;
        }
    }
    return p;
}

actual set_of(const std::vector<point>& points) {
    actual a(static_cast<int>(points.size()) + 1);
    for (const point& q : points) a.append(q);
    return a;
}

// The options of every fit: the default ones but for the time budget, which the command line
// may shorten (CTest's slice does, for the sanitizer build).
fit_options options;

fit_report fit_of(kind element, const actual& points, criterion c, const vector* normal,
                  double& radius) {
    const auto take = [&radius](auto&& r, double value) {
        radius = value;
        return static_cast<fit_report>(r);
    };
    switch (element) {
        case kind::line: {
            auto r = fit_line(points, c, options);
            return take(r, 0.0);
        }
        case kind::plane: {
            auto r = fit_plane(points, c, options);
            return take(r, 0.0);
        }
        case kind::circle: {
            auto r = fit_circle(points, *normal, c, options);
            return take(r, r.element.radius);
        }
        case kind::sphere: {
            auto r = fit_sphere(points, c, options);
            return take(r, r.element.radius);
        }
        case kind::cylinder: {
            auto r = fit_cylinder(points, c, options);
            return take(r, r.element.radius);
        }
        case kind::cone: {
            auto r = fit_cone(points, c, options);
            return take(r, 0.0);
        }
    }
    return {};
}

struct tally {
    long fits = 0, valid = 0, proved = 0;
    double slowest = 0.0;  // seconds, of the fits of the original points
    std::map<std::string, long> broken;
};

}  // namespace
}  // namespace vantor

int main(int argc, char** argv) {
    using namespace vantor;
    const long sets = argc > 1 ? std::atol(argv[1]) : 100;
    const std::uint64_t first = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    if (argc > 3) options.time_budget = std::atof(argv[3]);
    std::map<std::string, tally> tallies;
    std::map<std::string, long> wrong_by_family, unproved_by_family;
    long total_fits = 0, wrong = 0, ties = 0;
    const criterion all[] = {criterion::gauss, criterion::zone, criterion::inscribed,
                             criterion::circumscribed};
    for (long k = 0; k < sets; ++k) {
        const std::uint64_t seed = first + static_cast<std::uint64_t>(k);
        const kind element = static_cast<kind>(seed % 6);
        const part p = generate(element, seed * 7919);
        const actual points = set_of(p.points);
        const vector* normal = &p.normal;
        // The moved copy and the copy with a NaN row.
        std::mt19937_64 rng(seed);
        const pose move(rng, 500.0);
        std::vector<point> moved;
        for (const point& q : p.points) {
            const vector d = q - point(0, 0, 0);
            moved.push_back(move.origin + d.x * move.x + d.y * move.y + d.z * move.z);
        }
        const vector moved_normal = p.normal.x * move.x + p.normal.y * move.y + p.normal.z * move.z;
        std::vector<point> holed = p.points;
        holed.insert(holed.begin() + static_cast<long>(seed % holed.size()),
                     point(std::nan(""), 0.0, 0.0));
        // The generating element's values: zone width, smallest and largest distance.
        double low = INFINITY, high = -INFINITY, mean = 0.0;
        for (const point& q : p.points) {
            const double d = p.measure(q);
            low = std::min(low, d);
            high = std::max(high, d);
            mean += d / static_cast<double>(p.points.size());
        }
        // Least squares places a radius, offset or height at the mean distance; a line has none.
        if (element == kind::line) mean = 0.0;
        double squares = 0.0;
        for (const point& q : p.points) squares += (p.measure(q) - mean) * (p.measure(q) - mean);
        const double truth_rms = std::sqrt(squares / static_cast<double>(p.points.size()));
        std::map<criterion, fit_report> reports;
        std::map<criterion, double> radii;
        for (const criterion c : all) {
            double radius = 0.0;
            const auto start = std::chrono::steady_clock::now();
            const fit_report r = fit_of(element, points, c, normal, radius);
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            if (!r.valid() && r.error.find("not defined") != std::string::npos) continue;
            const std::string key = std::string(kind_names[int(element)]) + " " + criterion_name(c);
            tally& t = tallies[key];
            ++t.fits;
            t.slowest = std::max(t.slowest, seconds);
            ++total_fits;
            const auto broke = [&](const char* check) {
                ++t.broken[check];
                ++wrong;
                ++wrong_by_family[key + ", " + p.family];
            };
            double moved_radius = 0.0, holed_radius = 0.0;
            const fit_report m = fit_of(element, set_of(moved), c, &moved_normal, moved_radius);
            const fit_report h = fit_of(element, set_of(holed), c, normal, holed_radius);
            total_fits += 2;
            const double scale = 1e-9 * p.extent;
            // The same result: the same least-squares element, or the same optimal value of a
            // minimax criterion (within the proofs' tolerances). Where the optimum is not
            // unique (the circumscribed cylinder of two sections may pivot about the section
            // that sets its radius) the element returned may differ; that is counted apart.
            const auto differs = [&](const char* check, const fit_report& other, double allowed) {
                if (other.valid() == r.valid() && !r.valid()) return;
                const bool deviation_agrees = std::abs(other.deviation - r.deviation) <= allowed;
                if (other.valid() == r.valid() && c == criterion::gauss && deviation_agrees) return;
                if (other.valid() == r.valid() && c != criterion::gauss &&
                    std::abs(other.objective - r.objective) <=
                        allowed + r.proof_tolerance + other.proof_tolerance) {
                    if (!deviation_agrees) ++ties;
                    return;
                }
                ++t.broken[check];
                std::fprintf(stderr,
                             "%s: %s, %s, seed %llu: %.12g (%s, objective %.12g%s) against %.12g "
                             "(%s, objective %.12g%s)\n",
                             check, key.c_str(), p.family.c_str(),
                             static_cast<unsigned long long>(seed), r.deviation,
                             r.valid() ? "valid" : r.error.c_str(), r.objective,
                             r.proved ? ", proved" : "", other.deviation,
                             other.valid() ? "valid" : other.error.c_str(), other.objective,
                             other.proved ? ", proved" : "");
            };
            differs("pose", m, scale + 1e-9 * r.deviation);
            differs("nan", h, 1e-12 * p.extent);
            // The status says what the report does: a failure's kind, or ok unless a minimax
            // result is not proved.
            const bool unproved = r.valid() && c != criterion::gauss && !r.proved;
            if (r.valid() != (r.status == status::ok || r.status == status::not_proved) ||
                (r.valid() && (r.status == status::not_proved) != unproved))
                broke("status");
            if (!r.valid()) {
                ++t.broken["failed: " + r.error.substr(0, 60)];
                continue;
            }
            ++t.valid;
            reports[c] = r;
            radii[c] = radius;
            const double width = high - low;
            if (c == criterion::gauss) {
                // Least squares: no larger RMS than the generating element's.
                if (r.rms > truth_rms * (1 + 1e-9) + 1e-12 * p.extent) broke("basin");
                continue;
            }
            t.proved += r.proved;
            if (!r.proved) {
                ++unproved_by_family[key + ", " + p.family];
                std::fprintf(stderr, "not proved: %s, %s, seed %llu: gap %.3g, tolerance %.3g\n",
                             key.c_str(), p.family.c_str(), static_cast<unsigned long long>(seed),
                             r.gap, r.proof_tolerance);
            }
            if (r.contacts.empty()) broke("contacts");
            const bool inscribed = c == criterion::inscribed;
            const double truth = c == criterion::zone ? (element == kind::line ? 2 * high : width)
                                                      : (inscribed ? low : high);
            const double tol = r.proof_tolerance + 1e-12 * p.extent;
            if (inscribed ? r.bound < r.objective - tol : r.bound > r.objective + tol)
                broke("proof");
            if (r.proved && (inscribed ? r.objective < truth - tol : r.objective > truth + tol))
                broke("proof");
            // A cone's zone is bounded by 0 only; the generating element lies in every domain.
            if (element != kind::cone &&
                (inscribed ? r.bound < truth - tol : r.bound > truth + tol))
                broke("bound");
        }
        // Zone no wider than the other criteria's elements; inscribed and circumscribed about
        // the least-squares element.
        if (reports.count(criterion::zone)) {
            const fit_report& z = reports[criterion::zone];
            for (const auto& [c, r] : reports) {
                if (c != criterion::zone &&
                    z.deviation > r.deviation * (1 + 1e-9) + 1e-12 * p.extent) {
                    ++tallies[std::string(kind_names[int(element)]) + " zone"].broken["order"];
                    ++wrong;
                }
            }
        }
        if (reports.count(criterion::gauss) && radii[criterion::gauss] > 0) {
            const fit_report& g = reports[criterion::gauss];
            const double rg = radii[criterion::gauss];
            const double tol = 1e-9 * p.extent;
            if (reports.count(criterion::inscribed) &&
                radii[criterion::inscribed] < rg + g.minimum - tol) {
                ++tallies[std::string(kind_names[int(element)]) + " inscribed"].broken["order"];
                ++wrong;
            }
            if (reports.count(criterion::circumscribed) &&
                radii[criterion::circumscribed] > rg + g.maximum + tol) {
                ++tallies[std::string(kind_names[int(element)]) + " circumscribed"].broken["order"];
                ++wrong;
            }
        }
    }
    long pose_nan = 0;
    std::printf("%-26s %7s %7s %7s %9s  %s\n", "element criterion", "fits", "valid", "proved",
                "slowest s", "broken checks and failures");
    for (const auto& [key, t] : tallies) {
        std::printf("%-26s %7ld %7ld %7ld %9.3f ", key.c_str(), t.fits, t.valid, t.proved,
                    t.slowest);
        for (const auto& [check, n] : t.broken) {
            std::printf(" %s: %ld;", check.c_str(), n);
            if (check == "pose" || check == "nan") pose_nan += n;
        }
        std::printf("\n");
    }
    for (const auto& [family, n] : unproved_by_family)
        std::printf("not proved: %s: %ld\n", family.c_str(), n);
    for (const auto& [family, n] : wrong_by_family)
        std::printf("wrong: %s: %ld\n", family.c_str(), n);
    std::printf(
        "%ld sets, %ld fits (with the moved and NaN copies); valid results breaking a "
        "check: %ld; pose or NaN differences: %ld; other elements of the same optimal value: "
        "%ld\n",
        sets, total_fits, wrong, pose_nan, ties);
    return wrong == 0 ? 0 : 1;
}

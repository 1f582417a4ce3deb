// SPDX-License-Identifier: Apache-2.0
// Linear sizes of circles, cylinders and spheres: global, two-point and section sizes.
#include "vantor/size.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "form/orientation_frame.h"

namespace vantor {

namespace {

using detail::failed;

constexpr double pi = 3.14159265358979323846;
constexpr double tolerance = two_point_tolerance_degrees * pi / 180.0;
constexpr double same_direction = 1e-9;  // radians: a measured point lies exactly opposite

constexpr std::array<const char*, 5> statistic_names = {"maximum", "minimum", "average", "median",
                                                        "range"};

// A valid local size of the sizes given.
size_result local(std::vector<double> sizes, int points) {
    size_result r;
    r.points = points;
    r.statistics = statistics_of(sizes);
    r.sizes = std::move(sizes);
    return r;
}

// The diameter of a fitted circle, cylinder or sphere; for a zone, the mean of its two.
double diameter(double radius, const fit_report& f) {
    return f.criterion == criterion::zone ? 2.0 * radius + f.minimum + f.maximum : 2.0 * radius;
}

double radius_of(const fitted_element& e) {
    if (const auto* c = std::get_if<spanto::circle>(&e)) return c->radius;
    if (const auto* s = std::get_if<spanto::sphere>(&e)) return s->radius;
    if (const auto* c = std::get_if<spanto::cylinder>(&e)) return c->radius;
    return std::nan("");
}

bool round_element(element_kind e) {
    return e == element_kind::circle || e == element_kind::cylinder || e == element_kind::sphere;
}

size_result not_round(element_kind e) {
    return failed<size_result>(status::refused, std::string("a size is defined for a circle, "
                                                            "cylinder or sphere, not a ") +
                                                    info_of(e).name);
}

// The failure of points without opposite points: `shape` ("a sector") or too few points.
size_result no_pairs(const char* shape) {
    return failed<size_result>(status::degenerate,
                               "no two-point sizes: no point has measured points within " +
                                   std::to_string(static_cast<int>(two_point_tolerance_degrees)) +
                                   " degrees of its opposite direction (" + shape +
                                   ", or too few points)");
}

// One section's points across its axis: the angle and distance from the axis of each.
struct polar {
    double angle, radius;
};

// The two-point sizes of one section, appended to `sizes`.
void section_two_point(const actual& points, const section& s, const detail::datum_frame& f,
                       std::vector<double>& sizes) {
    std::vector<polar> p;
    p.reserve(s.rows.size());
    for (const int i : s.rows) {
        const spanto::vector q = points[i] - f.origin;
        const double u = dot(q, f.u), v = dot(q, f.v);
        p.push_back({std::atan2(v, u), std::hypot(u, v)});
    }
    std::sort(p.begin(), p.end(), [](const polar& a, const polar& b) { return a.angle < b.angle; });
    const std::size_t n = p.size();
    for (std::size_t i = 0; i < n; ++i) {
        const double opposite = p[i].angle > 0.0 ? p[i].angle - pi : p[i].angle + pi;
        // The first point at or beyond the opposite direction, and the one before it (cyclic).
        const std::size_t k =
            std::lower_bound(p.begin(), p.end(), opposite,
                             [](const polar& a, double t) { return a.angle < t; }) -
            p.begin();
        const polar& after = p[k % n];
        const polar& before = p[(k + n - 1) % n];
        const double to_after = std::remainder(after.angle - opposite, 2 * pi);
        const double to_before = std::remainder(opposite - before.angle, 2 * pi);
        if (std::abs(to_after) <= same_direction) {
            const std::size_t j = k % n;
            if (j > i) sizes.push_back(p[i].radius + after.radius);  // each pair once
            continue;
        }
        if (std::abs(to_before) <= same_direction) {
            const std::size_t j = (k + n - 1) % n;
            if (j > i) sizes.push_back(p[i].radius + before.radius);
            continue;
        }
        if (!(to_after > 0.0 && to_after <= tolerance && to_before > 0.0 &&
              to_before <= tolerance)) {
            continue;  // no measured points either side of the opposite direction
        }
        const double t = to_before / (to_before + to_after);
        sizes.push_back(p[i].radius + (1.0 - t) * before.radius + t * after.radius);
    }
}

size_result section_two_points(const actual& points, const section_split& split) {
    detail::datum_frame f;
    const std::string why =
        detail::frame_of(split.axis.origin, split.axis.direction, "section axis", f);
    if (!why.empty()) return failed<size_result>(status::degenerate, why);
    std::vector<double> sizes;
    int count = 0;
    for (const section& s : split.sections) {
        // The axis point at the section's height.
        detail::datum_frame at = f;
        at.origin = f.origin + (s.height - dot(f.origin - spanto::point(0, 0, 0), f.d)) * f.d;
        section_two_point(points, s, at, sizes);
        count += static_cast<int>(s.rows.size());
    }
    if (sizes.empty()) return no_pairs("a sector");
    return local(std::move(sizes), count);
}

// Unit directions binned in a grid of cubes of side h over [-1, 1]^3, for the nearest
// direction to a given one. The cubes are kept column by column (x, y), each column's
// directions in order of z, so that a search reads a few short runs of memory.
class direction_grid {
  public:
    direction_grid(const std::vector<spanto::vector>& directions, double h)
        : h_(h), m_(static_cast<std::size_t>(std::ceil(2.0 / h)) + 1) {
        std::vector<std::pair<std::size_t, std::size_t>> keyed;  // (cube, direction)
        keyed.reserve(directions.size());
        for (std::size_t i = 0; i < directions.size(); ++i) {
            const spanto::vector& d = directions[i];
            keyed.emplace_back((cell(d.x) * m_ + cell(d.y)) * m_ + cell(d.z), i);
        }
        std::sort(keyed.begin(), keyed.end());
        start_.assign(m_ * m_ + 1, 0);
        for (const auto& k : keyed) ++start_[k.first / m_ + 1];
        for (std::size_t c = 0; c < m_ * m_; ++c) start_[c + 1] += start_[c];
        entries_.reserve(keyed.size());
        for (const auto& k : keyed)
            entries_.push_back({directions[k.second], k.first % m_, k.second});
    }

    // The index of the direction nearest u within chord length `reach`, or -1.
    long nearest(const spanto::vector& u, double reach) const {
        const std::size_t cx = cell(u.x), cy = cell(u.y), cz = cell(u.z);
        long best = -1;
        double best_d = reach;
        // The cubes within k of u's cube hold every direction within k h of u in each
        // coordinate.
        for (std::size_t k = 1;; ++k) {
            for (std::size_t x = below(cx, k); x <= std::min(cx + k, m_ - 1); ++x) {
                for (std::size_t y = below(cy, k); y <= std::min(cy + k, m_ - 1); ++y) {
                    const std::size_t c = x * m_ + y;
                    for (std::size_t e = start_[c]; e < start_[c + 1]; ++e) {
                        const entry& d = entries_[e];
                        if (d.z + k < cz || d.z > cz + k) continue;
                        const double distance = (d.direction - u).length();
                        if (distance <= best_d) {
                            best_d = distance;
                            best = static_cast<long>(d.index);
                        }
                    }
                }
            }
            const double covered = static_cast<double>(k) * h_;
            if (best_d <= covered || covered >= reach) return best;
        }
    }

  private:
    struct entry {
        spanto::vector direction;
        std::size_t z, index;
    };
    std::size_t cell(double c) const {
        const double k = std::floor((c + 1.0) / h_);
        return k <= 0.0 ? 0 : std::min(static_cast<std::size_t>(k), m_ - 1);
    }
    static std::size_t below(std::size_t c, std::size_t k) { return c > k ? c - k : 0; }

    double h_;
    std::size_t m_;
    std::vector<std::size_t> start_;  // column c's entries: start_[c] to start_[c + 1]
    std::vector<entry> entries_;
};

size_result sphere_two_points(const actual& points) {
    const fit_result<spanto::sphere> fit = fit_sphere(points);
    if (!fit.valid())
        return failed<size_result>(fit.status, "the least-squares sphere: " + fit.error);
    const spanto::point c = fit.element.centre;
    std::vector<spanto::vector> directions;
    std::vector<double> radii;
    for (const spanto::point& p : points) {
        if (!p.valid()) continue;
        const spanto::vector q = p - c;
        const double r = q.length();
        if (!(r > 0.0)) continue;  // at the centre: no direction
        directions.push_back((1.0 / r) * q);
        radii.push_back(r);
    }
    const std::size_t n = directions.size();
    if (n < 2) return no_pairs("a cap");
    // About four directions to a cube crossed by the sphere (its area 4 pi over cubes of side
    // h), and fewer columns than directions.
    const double h = 2.0 * std::sqrt(4.0 * pi / static_cast<double>(n));
    const double reach = 2.0 * std::sin(tolerance / 2.0);
    const direction_grid grid(directions, h);
    // Each point with the point nearest its opposite direction; a pair found from both of its
    // points counts once.
    std::vector<std::pair<std::size_t, std::size_t>> pairs;
    for (std::size_t i = 0; i < n; ++i) {
        const long j = grid.nearest(-1.0 * directions[i], reach);
        if (j < 0) continue;
        const auto k = static_cast<std::size_t>(j);
        pairs.emplace_back(std::min(i, k), std::max(i, k));
    }
    std::sort(pairs.begin(), pairs.end());
    pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
    std::vector<double> sizes;
    sizes.reserve(pairs.size());
    for (const auto& [i, j] : pairs) sizes.push_back(radii[i] + radii[j]);
    if (sizes.empty()) return no_pairs("a cap");
    return local(std::move(sizes), fit.points);
}

}  // namespace

double size_statistics::of(size_statistic s) const {
    switch (s) {
        case size_statistic::maximum:
            return maximum;
        case size_statistic::minimum:
            return minimum;
        case size_statistic::average:
            return average;
        case size_statistic::median:
            return median;
        case size_statistic::range:
            return range;
    }
    return std::nan("");
}

const char* size_statistic_name(size_statistic s) {
    const auto k = static_cast<std::size_t>(s);
    return k < statistic_names.size() ? statistic_names[k] : nullptr;
}

bool size_statistic_named(const std::string& name, size_statistic& s) {
    for (std::size_t k = 0; k < statistic_names.size(); ++k) {
        if (name == statistic_names[k]) {
            s = static_cast<size_statistic>(k);
            return true;
        }
    }
    return false;
}

size_statistics statistics_of(std::vector<double> sizes) {
    size_statistics s;
    if (sizes.empty()) return s;
    s.count = static_cast<int>(sizes.size());
    const auto [low, high] = std::minmax_element(sizes.begin(), sizes.end());
    s.minimum = *low;
    s.maximum = *high;
    s.range = s.maximum - s.minimum;
    double sum = 0.0;
    for (const double x : sizes) sum += x - s.minimum;  // about the minimum, for less rounding
    s.average = s.minimum + sum / static_cast<double>(sizes.size());
    const std::size_t mid = sizes.size() / 2;
    std::nth_element(sizes.begin(), sizes.begin() + mid, sizes.end());
    s.median = sizes[mid];
    if (sizes.size() % 2 == 0) {
        s.median = 0.5 * (s.median + *std::max_element(sizes.begin(), sizes.begin() + mid));
    }
    return s;
}

size_result global_size(const actual& points, element_kind element, criterion c,
                        const fit_options& options) {
    if (!round_element(element)) return not_round(element);
    const fit_result<fitted_element> f = fit(points, element, c, options);
    if (!f.valid()) return failed<size_result>(f.status, f.error);
    size_result r;
    r.value = diameter(radius_of(f.element), f);
    if (!std::isfinite(r.value)) {
        return failed<size_result>(status::invalid_result, "the diameter is not finite");
    }
    r.status = f.status;
    r.points = f.points;
    r.sizes = {r.value};
    r.statistics = statistics_of(r.sizes);
    return r;
}

size_result two_point_sizes(const actual& points, element_kind element,
                            const section_request& request) {
    if (!round_element(element)) return not_round(element);
    if (element == element_kind::sphere) return sphere_two_points(points);
    section_split split;
    if (element == element_kind::circle) {
        const fit_result<spanto::circle> circle = fit_circle(points);
        if (!circle.valid()) {
            return failed<size_result>(circle.status, "the least-squares circle: " + circle.error);
        }
        split = split_sections(points, circle.element.axisline(), section_request());
    } else {
        const fit_result<spanto::cylinder> cylinder = fit_cylinder(points);
        if (!cylinder.valid()) {
            return failed<size_result>(cylinder.status,
                                       "the least-squares cylinder: " + cylinder.error);
        }
        split = split_sections(
            points, spanto::line(cylinder.element.origin, cylinder.element.direction), request);
    }
    if (!split.valid()) return failed<size_result>(split.status, "the sections: " + split.error);
    return section_two_points(points, split);
}

size_result section_sizes(const actual& points, criterion c, const section_request& request) {
    const section_split split = split_sections(points, request);
    if (!split.valid()) return failed<size_result>(split.status, "the sections: " + split.error);
    std::vector<double> sizes;
    int count = 0;
    const std::size_t n = split.sections.size();
    for (std::size_t k = 0; k < n; ++k) {
        const section& s = split.sections[k];
        actual profile(static_cast<int>(s.rows.size()));
        for (const int i : s.rows) profile.append(points[i]);
        const fit_result<spanto::circle> circle = fit_circle(profile, split.axis.direction, c);
        if (!circle.valid()) {
            return failed<size_result>(circle.status, "section " + std::to_string(k + 1) + " of " +
                                                          std::to_string(n) + ": " + circle.error);
        }
        sizes.push_back(diameter(circle.element.radius, circle));
        count += circle.points;
    }
    return local(std::move(sizes), count);
}

}  // namespace vantor

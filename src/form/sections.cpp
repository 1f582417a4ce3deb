// SPDX-License-Identifier: Apache-2.0
#include "vantor/sections.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <utility>

#include "vantor/fit.h"

namespace vantor {
namespace {

// The unit direction turned as the fits turn theirs: towards positive z, then y, then x.
spanto::vector turned(const spanto::vector& d) {
    const spanto::vector u = d.unit();
    const double lead = u.z != 0.0 ? u.z : u.y != 0.0 ? u.y : u.x;
    return lead < 0.0 ? -u : u;
}

std::string number_text(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", v);
    return text;
}

// A (height, row) pair of each valid point, by increasing height.
using heights = std::vector<std::pair<double, int>>;

// The gaps between consecutive heights wider than a profile may spread, each by the index in
// `h` of the height above it: the only places a cut leaves every profile whole.
std::vector<std::size_t> wide_gaps(const heights& h, double limit) {
    std::vector<std::size_t> gaps;
    for (std::size_t k = 1; k < h.size(); ++k) {
        if (h[k].first - h[k - 1].first > limit) gaps.push_back(k);
    }
    return gaps;
}

// The indices in `h` where a new section starts (after 0), by the request's rule.
std::vector<std::size_t> cuts_of(const heights& h, const section_request& request, double limit,
                                 std::string& error) {
    std::vector<std::size_t> starts;
    switch (request.how) {
        case section_request::rule::whole:
            break;
        case section_request::rule::gaps:
            starts = wide_gaps(h, limit);
            break;
        case section_request::rule::count: {
            std::vector<std::size_t> gaps = wide_gaps(h, limit);
            if (request.count < 1 || static_cast<std::size_t>(request.count) > gaps.size() + 1) {
                error = "cannot cut the points into " + std::to_string(request.count) +
                        " sections: " + std::to_string(gaps.size()) +
                        " gaps between their heights are wider than a profile may spread (" +
                        number_text(limit) + ")";
                break;
            }
            // The widest gaps first; of equal ones the lower.
            std::stable_sort(gaps.begin(), gaps.end(), [&](std::size_t a, std::size_t b) {
                return h[a].first - h[a - 1].first > h[b].first - h[b - 1].first;
            });
            starts.assign(gaps.begin(), gaps.begin() + (request.count - 1));
            std::sort(starts.begin(), starts.end());
            break;
        }
        case section_request::rule::at: {
            std::vector<double> at = request.at;
            if (!std::all_of(at.begin(), at.end(), [](double a) { return std::isfinite(a); })) {
                error = "a cut must be a finite height";
                break;
            }
            std::sort(at.begin(), at.end());
            for (std::size_t c = 0; c < at.size() && error.empty(); ++c) {
                const auto start =
                    std::lower_bound(h.begin(), h.end(), std::make_pair(at[c], -1)) - h.begin();
                const double below = c == 0 ? -INFINITY : at[c - 1];
                if (start == 0 || h[start - 1].first < below) {
                    error = "no points between heights " +
                            (c == 0 ? std::string("-inf") : number_text(below)) + " and " +
                            number_text(at[c]);
                } else if (static_cast<std::size_t>(start) == h.size()) {
                    error = "no points above height " + number_text(at[c]);
                } else if (h[start].first - h[start - 1].first <= limit) {
                    error = "the cut at height " + number_text(at[c]) +
                            " falls within a profile: no gap wider than a profile may spread (" +
                            number_text(limit) + ") lies there";
                } else {
                    starts.push_back(static_cast<std::size_t>(start));
                }
            }
            break;
        }
    }
    return starts;
}

}  // namespace

std::size_t section_split::first_wide() const {
    for (std::size_t k = 0; k < sections.size(); ++k) {
        if (sections[k].spread() > limit) return k;
    }
    return sections.size();
}

std::string section_split::wide_message(std::size_t k) const {
    std::string which = "the points";
    if (sections.size() > 1) {
        which = "section " + std::to_string(k + 1) + " of " + std::to_string(sections.size());
    }
    return which + " spread " + number_text(sections.at(k).spread()) +
           " along the axis, more than a profile may (" +
           number_text(100.0 * profile_spread_fraction) + " % of the radius " +
           number_text(radius) + ": " + number_text(limit) + ")";
}

section_split split_sections(const actual& points, const spanto::line& axis,
                             const section_request& request) {
    section_split split;
    const spanto::vector d = turned(axis.direction);
    if (d.invalid() || axis.origin.invalid()) {
        split.error = "the axis has no direction";
        split.status = status::refused;
        return split;
    }
    const spanto::point& o = axis.origin;
    const double offset = o.x * d.x + o.y * d.y + o.z * d.z;  // the height of the origin
    split.axis = spanto::line(o - offset * d, d);

    heights h;
    double radius_sum = 0.0;
    for (int i = 0; i < points.numpoints(); ++i) {
        const spanto::point& p = points[i];
        if (p.invalid()) continue;
        h.emplace_back(offset + dot(p - o, d), i);
        radius_sum += axis.distance(p);
    }
    if (h.empty()) {
        split.error = "no valid points";
        split.status = status::too_few_points;
        return split;
    }
    split.radius = radius_sum / static_cast<double>(h.size());
    split.limit = profile_spread_fraction * split.radius;
    if (!(split.radius > 0.0) || !std::isfinite(split.radius)) {
        split.error = "the points lie on the axis: no radius to measure a profile by";
        split.status = status::degenerate;
        return split;
    }
    // Cuts need the heights in order; one section does not (its rows are in index order).
    if (request.how != section_request::rule::whole) std::sort(h.begin(), h.end());

    std::vector<std::size_t> starts = cuts_of(h, request, split.limit, split.error);
    if (!split.error.empty()) {
        split.status = status::refused;
        return split;
    }
    starts.push_back(h.size());
    std::size_t first = 0;
    for (const std::size_t end : starts) {
        section s;
        s.low = s.high = h[first].first;
        double sum = 0.0;
        for (std::size_t k = first; k < end; ++k) {
            s.rows.push_back(h[k].second);
            s.low = std::min(s.low, h[k].first);
            s.high = std::max(s.high, h[k].first);
            sum += h[k].first - h[first].first;  // so that large heights lose no digits
        }
        s.height = h[first].first + sum / static_cast<double>(end - first);
        std::sort(s.rows.begin(), s.rows.end());
        split.sections.push_back(std::move(s));
        first = end;
    }
    return split;
}

section_split split_sections(const actual& points, const spanto::vector& direction,
                             const section_request& request) {
    const fit_result<spanto::circle> circle = fit_circle(points, direction);
    if (!circle.valid()) {
        section_split failed;
        failed.error = circle.error;
        failed.status = circle.status;
        return failed;
    }
    return split_sections(points, circle.element.axisline(), request);
}

section_split split_sections(const actual& points, const section_request& request) {
    // The least-squares circle: the normal of the least-squares plane through its centre.
    const fit_result<spanto::circle> circle = fit_circle(points);
    if (!circle.valid()) {
        section_split failed;
        failed.error = circle.error;
        failed.status = circle.status;
        return failed;
    }
    const spanto::line normal = circle.element.axisline();
    const section_split whole = split_sections(points, normal, section_request());
    if (!whole.valid()) return whole;
    if (whole.first_wide() == whole.sections.size()) {
        return request.how == section_request::rule::whole
                   ? whole
                   : split_sections(points, normal, request);
    }
    const fit_result<spanto::cylinder> cylinder = fit_cylinder(points);
    if (!cylinder.valid()) {
        // Not one profile either way: the spread along the normal says so.
        if (request.how == section_request::rule::whole) return whole;
        section_split failed;
        failed.error =
            "the points are not one profile and no cylinder fits them: " + cylinder.error;
        failed.status = cylinder.status;
        return failed;
    }
    return split_sections(points, spanto::line(cylinder.element.origin, cylinder.element.direction),
                          request);
}

}  // namespace vantor

// SPDX-License-Identifier: Apache-2.0
// Straightness and flatness of filtered profiles: the profile about the least-squares line or
// plane, the Gaussian regression filter of numeric/gaussian_filter.h, and the parameters about
// the least-squares reference of the filtered points.
#include "vantor/filtered_form.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "numeric/gaussian_filter.h"
#include "numeric/scatter.h"
#include "vantor/fit.h"

namespace vantor {
namespace {

using detail::point2;
using detail::point3;

// The widest face, in cutoffs, whose cells the areal filter can index.
constexpr double widest_face = 1e12;
// A spacing of exactly cutoff / 7 may come out of rounded coordinates this much larger.
constexpr double spacing_rounding = 1e-9;

// The valid points; false when one has an infinite coordinate.
bool valid_points(const actual& points, std::vector<point3>& out) {
    for (const spanto::point& p : points) {
        if (!p.valid()) continue;
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return false;
        out.push_back({p.x, p.y, p.z});
    }
    return true;
}

// v with its largest component positive (x before y before z on ties).
point3 oriented(point3 v) {
    const double a[3] = {v.x, v.y, v.z};
    int k = 0;
    for (int i = 1; i < 3; ++i)
        if (std::fabs(a[i]) > std::fabs(a[k])) k = i;
    return a[k] < 0 ? -1.0 * v : v;
}

template <class Result>
Result failed(Result r, vantor::status code, const char* why) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    r.status = code;
    r.error = why;
    r.deviations.clear();
    r.t = r.p = r.v = r.q = nan;
    return r;
}

// Checks the cutoff and collects the points; the failure, or nullptr.
const char* prepare(const actual& points, double cutoff, std::vector<point3>& out,
                    vantor::status& code) {
    code = vantor::status::refused;
    if (!(cutoff > 0.0) || !std::isfinite(cutoff))
        return "the cutoff must be a positive finite length";
    code = vantor::status::invalid_points;
    if (!valid_points(points, out)) return "a point has an infinite coordinate";
    return nullptr;
}

constexpr const char* too_large = detail::coordinates_too_large;

// The parameters of the deviations and the sparse-sampling warning; a failure when they are not
// finite.
template <class Result>
Result finish(Result& r, const char* spacing) {
    const auto [low, high] = std::minmax_element(r.deviations.begin(), r.deviations.end());
    double squares = 0.0;
    for (double d : r.deviations) squares += d * d;
    r.p = *high;
    r.v = -*low;
    r.t = r.p + r.v;
    r.q = std::sqrt(squares / static_cast<double>(r.deviations.size()));
    if (!std::isfinite(r.t) || !std::isfinite(r.q))
        return failed(r, vantor::status::invalid_points, too_large);
    const double widest = r.cutoff / filter_points_per_cutoff;
    if (r.median_spacing > widest * (1.0 + spacing_rounding)) {
        char text[256];
        std::snprintf(text, sizeof text,
                      "sampling too sparse for the cutoff %.6g: the median %s %.6g exceeds "
                      "cutoff / %g = %.6g",
                      r.cutoff, spacing, r.median_spacing, filter_points_per_cutoff, widest);
        r.warning = text;
    }
    return r;
}

}  // namespace

filtered_straightness filter_straightness(const actual& points, double cutoff) {
    filtered_straightness r;
    r.cutoff = cutoff;
    std::vector<point3> p;
    vantor::status code = vantor::status::ok;
    if (const char* why = prepare(points, cutoff, p, code)) return failed(r, code, why);
    if (p.size() < 2)
        return failed(r, vantor::status::too_few_points, "straightness needs at least 2 points");
    const detail::scatter3 s = detail::scatter_of(p.data(), p.data() + p.size());
    if (!s.finite()) return failed(r, vantor::status::invalid_points, too_large);
    const detail::principal_axes axes = detail::principal_axes_of(s);
    if (detail::negligible_spread(s, axes, 2))
        return failed(r, vantor::status::degenerate, "the points coincide: they determine no line");

    // The profile about the least-squares line: position t, offsets a (along n) and b.
    const point3 d = oriented(axes.axis[2]), n = oriented(axes.axis[1]), m = cross(d, n);
    std::vector<double> t(p.size()), a(p.size()), b(p.size());
    for (std::size_t i = 0; i < p.size(); ++i) {
        const point3 o = p[i] - s.centroid;
        t[i] = dot(o, d);
        a[i] = dot(o, n);
        b[i] = dot(o, m);
    }
    const detail::filtered_values fa = detail::filter_open_profile(t, a, cutoff);
    const std::vector<double> fb = detail::filter_open_profile(t, b, cutoff).values;
    r.median_spacing = fa.median_spacing;

    // The least-squares line of the filtered points, and the deviations from it along n
    // made perpendicular to it.
    std::vector<point3> q(p.size());
    for (std::size_t i = 0; i < p.size(); ++i)
        q[i] = s.centroid + t[i] * d + fa.values[i] * n + fb[i] * m;
    const detail::scatter3 fs = detail::scatter_of(q.data(), q.data() + q.size());
    point3 fd = detail::principal_axes_of(fs).axis[2];
    if (dot(fd, d) < 0) fd = -1.0 * fd;
    const point3 fn = detail::unit(n - dot(n, fd) * fd), fm = cross(fd, fn);
    r.deviations.resize(p.size());
    double low = 0.0, high = 0.0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const point3 o = q[i] - fs.centroid;
        r.deviations[i] = dot(o, fn);
        const double across = dot(o, fm);
        low = i == 0 ? across : std::min(low, across);
        high = i == 0 ? across : std::max(high, across);
    }
    r.across = high - low;
    r.line = spanto::line(spanto::point(fs.centroid.x, fs.centroid.y, fs.centroid.z),
                          spanto::vector(fd.x, fd.y, fd.z));
    r.direction = spanto::vector(fn.x, fn.y, fn.z);
    r.outliers = outliers_about(points, r.line);
    return finish(r, "spacing along the line");
}

filtered_flatness filter_flatness(const actual& points, double cutoff) {
    filtered_flatness r;
    r.cutoff = cutoff;
    std::vector<point3> p;
    vantor::status code = vantor::status::ok;
    if (const char* why = prepare(points, cutoff, p, code)) return failed(r, code, why);
    if (p.size() < 3)
        return failed(r, vantor::status::too_few_points, "flatness needs at least 3 points");
    const detail::scatter3 s = detail::scatter_of(p.data(), p.data() + p.size());
    if (!s.finite()) return failed(r, vantor::status::invalid_points, too_large);
    const detail::principal_axes axes = detail::principal_axes_of(s);
    if (detail::negligible_spread(s, axes, 1))
        return failed(r, vantor::status::degenerate,
                      "the points lie on one line: they determine no plane");

    // Heights above the least-squares plane at the positions in it.
    const point3 normal = oriented(axes.axis[0]), e1 = axes.axis[2], e2 = cross(normal, e1);
    std::vector<point2> uv(p.size());
    std::vector<double> h(p.size());
    double reach = 0.0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const point3 o = p[i] - s.centroid;
        uv[i] = {dot(o, e1), dot(o, e2)};
        h[i] = dot(o, normal);
        reach = std::max({reach, std::fabs(uv[i].x), std::fabs(uv[i].y)});
    }
    if (2.0 * reach > widest_face * cutoff)
        return failed(r, vantor::status::refused, "the face is more than 1e12 cutoffs wide");
    const detail::filtered_values fh = detail::filter_areal(uv, h, cutoff);
    r.median_spacing = fh.median_spacing;

    std::vector<point3> q(p.size());
    for (std::size_t i = 0; i < p.size(); ++i)
        q[i] = s.centroid + uv[i].x * e1 + uv[i].y * e2 + fh.values[i] * normal;
    const detail::scatter3 fs = detail::scatter_of(q.data(), q.data() + q.size());
    point3 fn = detail::principal_axes_of(fs).axis[0];
    if (dot(fn, normal) < 0) fn = -1.0 * fn;
    r.deviations.resize(p.size());
    for (std::size_t i = 0; i < p.size(); ++i) r.deviations[i] = dot(q[i] - fs.centroid, fn);
    r.plane = spanto::plane(spanto::point(fs.centroid.x, fs.centroid.y, fs.centroid.z),
                            spanto::vector(fn.x, fn.y, fn.z));
    r.outliers = outliers_about(points, r.plane);
    return finish(r, "distance to the nearest point");
}

}  // namespace vantor

// SPDX-License-Identifier: Apache-2.0
// The roundness analysis: profile about the datum axis, equal-angle samples (as measured or
// resampled), Gaussian filter and spectrum through one Fourier transform, and the four exact
// reference circles of the planar solvers on the filtered profile.
#include "vantor/roundness_analysis.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <limits>

#include "numeric/circumscribed_circle.h"
#include "numeric/closed_profile.h"
#include "numeric/fourier.h"
#include "numeric/inscribed_circle.h"
#include "numeric/least_squares_circle.h"
#include "numeric/periodic_spline.h"
#include "numeric/planar.h"
#include "numeric/zone_circle.h"

namespace vantor {
namespace {

using detail::pi;
constexpr double two_pi = 2.0 * pi;

// Samples within 0.001 / N rad of an equal grid move no harmonic by more than 0.1 %.
constexpr double equal_spacing_tolerance = 0.001;
// The largest k h for which the spline keeps a harmonic k within 0.1 %:
// 2 * 5/384 (k h)^4 <= 0.001, k h <= (0.0384)^(1/4).
constexpr double spline_reach = 0.4426727678801286;
// Samples closer than this part of the mean spacing become one knot.
constexpr double merge_fraction = 0.25;

const ron_parameters& invalid_parameters() {
    static const ron_parameters invalid = [] {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        ron_parameters p;
        p.ront = p.ronp = p.ronv = p.ronq = p.eccentricity = nan;
        return p;
    }();
    return invalid;
}

// The samples in the plane of the profile, about the axis.
std::vector<detail::point2> planar_profile(const std::vector<profile_sample>& profile) {
    std::vector<detail::point2> planar(profile.size());
    for (std::size_t i = 0; i < profile.size(); ++i) {
        const profile_sample& s = profile[i];
        planar[i] = {s.radius * std::cos(s.angle), s.radius * std::sin(s.angle)};
    }
    return planar;
}

// The parameters of the planar profile about the circle (centre, radius) of its plane.
ron_parameters parameters_about(const std::vector<detail::point2>& planar, detail::point2 centre,
                                double radius, const polar_frame& frame,
                                const spanto::point& origin) {
    ron_parameters p;
    double low = 0.0, high = 0.0, squares = 0.0;
    for (std::size_t i = 0; i < planar.size(); ++i) {
        const double d = detail::distance(planar[i], centre) - radius;
        low = i == 0 ? d : std::min(low, d);
        high = i == 0 ? d : std::max(high, d);
        squares += d * d;
    }
    p.ronp = high;
    p.ronv = 0.0 - low;  // +0 rather than -0 for a maximum inscribed circle
    p.ront = high - low;
    p.ronq = std::sqrt(squares / static_cast<double>(planar.size()));
    const spanto::vector offset = centre.x * frame.zero + centre.y * frame.quarter;
    p.circle = spanto::circle(origin + offset, frame.axis, radius);
    p.eccentricity = detail::norm(centre);
    p.eccentricity_direction = offset.unit();
    return p;
}

std::string degrees(double radians) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", radians * 180.0 / pi);
    return text;
}

}  // namespace

polar_frame polar_frame_about(const spanto::vector& direction) {
    spanto::vector axis = direction.unit();
    if (axis.invalid()) return {axis, axis, axis};
    double largest = axis.x;
    for (const double c : {axis.y, axis.z}) {
        if (std::abs(c) > std::abs(largest)) largest = c;
    }
    if (largest < 0.0) axis = -axis;
    const double near_parallel = std::cos(20.0 * pi / 180.0);
    const spanto::vector world =
        std::abs(axis.y) < near_parallel ? spanto::vector(0, 1, 0) : spanto::vector(0, 0, 1);
    const spanto::vector zero = (world - spanto::dot(world, axis) * axis).unit();
    return {axis, zero, axis ^ zero};
}

roundness_analysis::roundness_analysis(const actual& points, const spanto::line& axis,
                                       double cutoff)
    : cutoff_(cutoff) {
    for (ron_parameters& p : references_) p = invalid_parameters();
    analyse(points, axis);
}

void roundness_analysis::fail(vantor::status code, std::string why) {
    status_ = code;
    error_ = std::move(why);
    profile_.clear();
    spectrum_.clear();
    for (ron_parameters& p : references_) p = invalid_parameters();
}

void roundness_analysis::analyse(const actual& points, const spanto::line& axis) {
    if (!(cutoff_ >= 0.0) || !std::isfinite(cutoff_)) {
        return fail(vantor::status::refused,
                    "the filter cutoff must be a positive number of UPR, or 0 for no filter");
    }
    frame_ = polar_frame_about(axis.direction);
    const spanto::point& o = axis.origin;
    if (frame_.axis.invalid() || !std::isfinite(o.x) || !std::isfinite(o.y) ||
        !std::isfinite(o.z)) {
        return fail(vantor::status::refused, "the datum axis is invalid");
    }

    // The plane of the profile: through the mean of the valid points, taken relative to the
    // first of them so that coordinates far from the origin keep their digits.
    const spanto::point* first = nullptr;
    spanto::vector sum(0, 0, 0);
    for (const spanto::point& p : points) {
        if (!p.valid()) continue;
        if (first == nullptr) first = &p;
        sum += p - *first;
        ++points_;
    }
    if (points_ < 3)
        return fail(vantor::status::too_few_points,
                    "a roundness profile needs at least 3 valid points");
    origin_ = axis.nearest(*first + sum / points_);

    std::vector<profile_sample> measured;
    measured.reserve(static_cast<std::size_t>(points_));
    for (const spanto::point& p : points) {
        if (!p.valid()) continue;
        const spanto::vector d = p - origin_;
        const double x = spanto::dot(d, frame_.zero), y = spanto::dot(d, frame_.quarter);
        double angle = std::atan2(y, x);
        if (angle < 0.0) angle += two_pi;
        if (angle >= two_pi) angle = 0.0;  // -0 or a tiny negative angle rounded up
        const double radius = std::sqrt(x * x + y * y);
        if (!std::isfinite(radius))
            return fail(vantor::status::invalid_points, "a point lies at an infinite distance");
        measured.push_back({angle, radius});
    }
    std::sort(measured.begin(), measured.end(),
              [](const profile_sample& a, const profile_sample& b) { return a.angle < b.angle; });

    // Deviations from the mean radius: the transforms and the spline then work on the small
    // numbers only, and the mean, which the filter passes unchanged, is added back after.
    const std::size_t n = measured.size();
    std::vector<double> angles(n), deviations(n);
    double mean = 0.0;
    for (const profile_sample& s : measured) mean += s.radius;
    mean /= static_cast<double>(n);
    for (std::size_t i = 0; i < n; ++i) {
        angles[i] = measured[i].angle;
        deviations[i] = measured[i].radius - mean;
    }

    // The equally spaced samples: as measured, or resampled from the spline.
    std::vector<double> samples;
    std::vector<double> sample_angles;
    double start = 0.0;
    std::size_t limit = 0;
    const detail::equal_grid grid = detail::nearest_equal_grid(angles);
    if (grid.deviation <= equal_spacing_tolerance / static_cast<double>(n)) {
        samples = std::move(deviations);
        sample_angles = std::move(angles);
        start = grid.start;
        limit = n / 2;
    } else {
        const detail::profile_knots knots = detail::merged_knots(
            angles, deviations, merge_fraction * two_pi / static_cast<double>(n));
        const double gap = detail::widest_gap(knots.angles);
        if (gap >= pi)
            return fail(vantor::status::degenerate, "the points do not surround the datum axis");
        if (gap > spline_reach) {
            return fail(
                vantor::status::degenerate,
                "the widest gap between neighbouring points, " + degrees(gap) +
                    " degrees, leaves the profile open (a closed profile has gaps of at most " +
                    degrees(spline_reach) + " degrees)");
        }
        const std::size_t m = knots.angles.size();
        samples = detail::periodic_spline_samples(knots, m);
        sample_angles.resize(m);
        for (std::size_t i = 0; i < m; ++i) {
            sample_angles[i] = two_pi * static_cast<double>(i) / static_cast<double>(m);
        }
        limit = std::min(m / 2, static_cast<std::size_t>(spline_reach / gap));
        resampled_points_ = static_cast<int>(m);
    }

    std::vector<std::complex<double>> coefficients = detail::real_dft(samples);
    const std::size_t m = samples.size();
    for (std::size_t k = 1; k <= limit; ++k) {
        const detail::sinusoid s = detail::harmonic_of(coefficients[k], m, k, start);
        spectrum_.push_back({static_cast<int>(k), s.amplitude, s.phase});
    }

    if (cutoff_ > 0.0) {
        // UPR 1 is where the profile's centre lies relative to the axis, not form: it passes
        // unchanged, so that filtering does not move the reference centres.
        const std::complex<double> centre_offset = coefficients[1];
        detail::apply_gaussian_filter(coefficients, cutoff_);
        coefficients[1] = centre_offset;
        const std::vector<double> filtered = detail::inverse_real_dft(std::move(coefficients), m);
        profile_.resize(m);
        for (std::size_t i = 0; i < m; ++i) profile_[i] = {sample_angles[i], mean + filtered[i]};
    } else {
        profile_ = std::move(measured);
    }

    // The reference circles, in the plane of the profile about origin().
    const std::vector<detail::point2> planar = planar_profile(profile_);
    const detail::circle2 gauss = detail::least_squares_circle(planar, {{0.0, 0.0}, mean_radius()});
    const detail::zone2 zone = detail::minimum_zone_circle(planar, gauss.centre);
    const detail::circle2 inscribed =
        detail::maximum_inscribed_circle_coarse_first(planar, gauss.centre);
    const detail::circle2 circumscribed = detail::minimum_circumscribed_circle(planar);
    const auto about = [&](const detail::circle2& c) {
        return parameters_about(planar, c.centre, c.radius, frame_, origin_);
    };
    references_[0] = about(gauss);
    references_[1] = about({zone.centre, (zone.inner + zone.outer) / 2});
    references_[2] = about(inscribed);
    references_[3] = about(circumscribed);
    outliers_ = outliers_about(points, references_[0].circle);
}

spanto::point roundness_analysis::point_of(const profile_sample& s) const {
    return origin_ + s.radius * std::cos(s.angle) * frame_.zero +
           s.radius * std::sin(s.angle) * frame_.quarter;
}

std::vector<harmonic> roundness_analysis::dominant(int count) const {
    if (spectrum_.size() < 2 || count <= 0) return {};
    std::vector<harmonic> form(spectrum_.begin() + 1, spectrum_.end());
    const auto shown = std::min(form.size(), static_cast<std::size_t>(count));
    std::partial_sort(form.begin(), form.begin() + static_cast<std::ptrdiff_t>(shown), form.end(),
                      [](const harmonic& a, const harmonic& b) {
                          return a.amplitude != b.amplitude ? a.amplitude > b.amplitude
                                                            : a.upr < b.upr;
                      });
    form.resize(shown);
    return form;
}

const ron_parameters& roundness_analysis::parameters(criterion c) const {
    const int index = static_cast<int>(c) - 1;
    if (!valid() || index < 0 || index >= 4) return invalid_parameters();
    return references_[index];
}

ron_parameters roundness_analysis::about(const spanto::circle& reference) const {
    if (!valid()) return invalid_parameters();
    const spanto::vector d = reference.centre - origin_;
    const detail::point2 centre{spanto::dot(d, frame_.zero), spanto::dot(d, frame_.quarter)};
    return parameters_about(planar_profile(profile_), centre, reference.radius, frame_, origin_);
}

double roundness_analysis::mean_radius() const {
    if (profile_.empty()) return std::numeric_limits<double>::quiet_NaN();
    double sum = 0.0;
    for (const profile_sample& s : profile_) sum += s.radius;
    return sum / static_cast<double>(profile_.size());
}

}  // namespace vantor

// SPDX-License-Identifier: Apache-2.0
#include "numeric/periodic_spline.h"

#include <algorithm>
#include <cmath>

#include "numeric/planar.h"

namespace vantor {
namespace detail {
namespace {

constexpr double two_pi = 2.0 * pi;

// Solves the tridiagonal system sub[i] x[i-1] + diag[i] x[i] + super[i] x[i+1] = rhs[i] (sub[0]
// and super[n-1] unused) by elimination without pivoting, for diagonally dominant systems.
std::vector<double> solve_tridiagonal(const std::vector<double>& sub, std::vector<double> diag,
                                      const std::vector<double>& super, std::vector<double> rhs) {
    const std::size_t n = diag.size();
    for (std::size_t i = 1; i < n; ++i) {
        const double m = sub[i] / diag[i - 1];
        diag[i] -= m * super[i - 1];
        rhs[i] -= m * rhs[i - 1];
    }
    rhs[n - 1] /= diag[n - 1];
    for (std::size_t i = n - 1; i-- > 0;) rhs[i] = (rhs[i] - super[i] * rhs[i + 1]) / diag[i];
    return rhs;
}

// The second derivatives of the periodic spline at the knots.
std::vector<double> moments(const profile_knots& k) {
    const std::size_t n = k.angles.size();
    std::vector<double> h(n), slope(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        h[i] = k.angles[j] - k.angles[i] + (j == 0 ? two_pi : 0.0);
        slope[i] = (k.values[j] - k.values[i]) / h[i];
    }
    // Row i: h[i-1] M[i-1] + 2 (h[i-1] + h[i]) M[i] + h[i] M[i+1] = 6 (slope[i] - slope[i-1]),
    // cyclic. Row 0 reaches M[n-1] and row n-1 reaches M[0] through the corner h[n-1].
    std::vector<double> sub(n), diag(n), super(n), rhs(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t before = (i + n - 1) % n;
        sub[i] = h[before];
        diag[i] = 2.0 * (h[before] + h[i]);
        super[i] = h[i];
        rhs[i] = 6.0 * (slope[i] - slope[before]);
    }
    // Sherman-Morrison: the cyclic matrix is the tridiagonal one with diag[0] and diag[n-1]
    // changed, plus u v^T with u = (gamma, 0 .. 0, corner), v = (1, 0 .. 0, corner / gamma).
    const double corner = h[n - 1];
    const double gamma = -diag[0];
    diag[0] -= gamma;
    diag[n - 1] -= corner * corner / gamma;
    const std::vector<double> x = solve_tridiagonal(sub, diag, super, rhs);
    std::vector<double> u(n, 0.0);
    u[0] = gamma;
    u[n - 1] = corner;
    const std::vector<double> z = solve_tridiagonal(sub, diag, super, u);
    const double factor =
        (x[0] + corner * x[n - 1] / gamma) / (1.0 + z[0] + corner * z[n - 1] / gamma);
    std::vector<double> m(n);
    for (std::size_t i = 0; i < n; ++i) m[i] = x[i] - factor * z[i];
    return m;
}

}  // namespace

profile_knots merged_knots(const std::vector<double>& angles, const std::vector<double>& values,
                           double merge) {
    const std::size_t n = angles.size();
    profile_knots knots;
    if (n == 0) return knots;
    // Start after the widest gap, so that no run of close samples is cut where the angles wrap
    // (a run spans less than `merge`, below any widest gap worth interpolating across).
    std::size_t first = 0;
    double widest = -1.0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        const double gap = angles[j] - angles[i] + (j == 0 ? two_pi : 0.0);
        if (gap > widest) {
            widest = gap;
            first = j;
        }
    }
    std::size_t i = 0;
    while (i < n) {
        const auto unwrapped = [&](std::size_t m) {
            const std::size_t at = (first + m) % n;
            return angles[at] + (at < first ? two_pi : 0.0);
        };
        const double begin = unwrapped(i);
        double angle_sum = 0.0, value_sum = 0.0;
        std::size_t count = 0;
        do {
            angle_sum += unwrapped(i);
            value_sum += values[(first + i) % n];
            ++count;
            ++i;
        } while (i < n && unwrapped(i) - begin < merge);
        const double angle = angle_sum / static_cast<double>(count);
        knots.angles.push_back(angle >= two_pi ? angle - two_pi : angle);
        knots.values.push_back(value_sum / static_cast<double>(count));
    }
    // Back to increasing angles: the knots wrapped past 2 pi come first.
    const auto wrap = std::adjacent_find(knots.angles.begin(), knots.angles.end(),
                                         [](double a, double b) { return b < a; });
    if (wrap != knots.angles.end()) {
        const auto shift = wrap + 1 - knots.angles.begin();
        std::rotate(knots.angles.begin(), knots.angles.begin() + shift, knots.angles.end());
        std::rotate(knots.values.begin(), knots.values.begin() + shift, knots.values.end());
    }
    return knots;
}

double widest_gap(const std::vector<double>& angles) {
    if (angles.empty()) return 0.0;
    double widest = angles.front() + two_pi - angles.back();
    for (std::size_t i = 1; i < angles.size(); ++i) {
        widest = std::max(widest, angles[i] - angles[i - 1]);
    }
    return widest;
}

std::vector<double> periodic_spline_samples(const profile_knots& knots, std::size_t count) {
    const std::size_t n = knots.angles.size();
    std::vector<double> samples(count);
    if (n < 3 || count == 0) return samples;
    const std::vector<double> m = moments(knots);
    const double step = two_pi / static_cast<double>(count);
    // Sample angles from the first knot on, round to the one before it; those below the first
    // knot lie in the closing segment and are taken 2 pi on.
    std::size_t sample = 0;
    while (sample < count && step * static_cast<double>(sample) < knots.angles[0]) ++sample;
    std::size_t segment = 0;
    for (std::size_t done = 0; done < count; ++done, sample = (sample + 1) % count) {
        double t = step * static_cast<double>(sample);
        if (t < knots.angles[0]) t += two_pi;
        while (segment + 1 < n && t >= knots.angles[segment + 1]) ++segment;
        const std::size_t next = (segment + 1) % n;
        const double left = knots.angles[segment];
        const double right = knots.angles[next] + (next == 0 ? two_pi : 0.0);
        const double h = right - left;
        const double a = right - t, b = t - left;
        samples[sample] = (m[segment] * a * a * a + m[next] * b * b * b) / (6.0 * h) +
                          (knots.values[segment] - m[segment] * h * h / 6.0) * a / h +
                          (knots.values[next] - m[next] * h * h / 6.0) * b / h;
    }
    return samples;
}

}  // namespace detail
}  // namespace vantor

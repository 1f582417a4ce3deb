// SPDX-License-Identifier: Apache-2.0
// Gaussian regression filters of degree 1: at each sample, the weighted least-squares line or
// plane through the samples within the cutoff, evaluated at the sample.
#include "numeric/gaussian_filter.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <utility>

namespace vantor {
namespace detail {
namespace {

// A spread of positions below this part of the cutoff counts as none.
constexpr double no_spread = 1e-9;
// Areal: a smaller principal variance below this part of the larger counts as a line.
constexpr double collinear = 1e-12;

double median_of(std::vector<double> v) {
    if (v.empty()) return 0.0;
    const auto middle = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), middle, v.end());
    return *middle;
}

// Weighted sums of a neighbourhood, in coordinates centred on the position filtered.
struct moments {
    double w = 0, u = 0, v = 0, z = 0;
};

class gaussian_weight {
  public:
    explicit gaussian_weight(double cutoff)
        : scale_(pi / ((gaussian_alpha * cutoff) * (gaussian_alpha * cutoff))) {}
    double operator()(double squared_distance) const {
        return std::exp(-scale_ * squared_distance);
    }

  private:
    double scale_;
};

}  // namespace

double open_gaussian_transmission(double wavelength, double cutoff) {
    const double r = gaussian_alpha * cutoff / wavelength;
    return std::exp(-pi * r * r);
}

filtered_values filter_open_profile(const std::vector<double>& x, const std::vector<double>& z,
                                    double cutoff) {
    const std::size_t n = x.size();
    filtered_values out;
    out.values.resize(n);
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(),
              [&x](std::size_t a, std::size_t b) { return x[a] < x[b]; });
    const gaussian_weight weight(cutoff);
    const double least_variance = (no_spread * cutoff) * (no_spread * cutoff);
    std::size_t lo = 0, hi = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double xi = x[order[i]];
        while (x[order[lo]] < xi - cutoff) ++lo;
        while (hi < n && x[order[hi]] <= xi + cutoff) ++hi;
        moments m;
        for (std::size_t j = lo; j < hi; ++j) {
            const double u = x[order[j]] - xi, w = weight(u * u);
            m.w += w;
            m.u += w * u;
            m.z += w * z[order[j]];
        }
        const double mu = m.u / m.w, mz = m.z / m.w;
        double suu = 0, suz = 0;
        for (std::size_t j = lo; j < hi; ++j) {
            const double u = x[order[j]] - xi, w = weight(u * u);
            suu += w * (u - mu) * (u - mu);
            suz += w * (u - mu) * (z[order[j]] - mz);
        }
        const double slope = suu / m.w > least_variance ? suz / suu : 0.0;
        out.values[order[i]] = mz - slope * mu;
    }
    std::vector<double> spacing;
    for (std::size_t i = 1; i < n; ++i) spacing.push_back(x[order[i]] - x[order[i - 1]]);
    out.median_spacing = median_of(std::move(spacing));
    return out;
}

filtered_values filter_areal(const std::vector<point2>& xy, const std::vector<double>& z,
                             double cutoff) {
    const std::size_t n = xy.size();
    filtered_values out;
    out.values.resize(n);
    if (n == 0) return out;
    double x0 = xy[0].x, y0 = xy[0].y;
    for (const point2& p : xy) {
        x0 = std::min(x0, p.x);
        y0 = std::min(y0, p.y);
    }
    using cell = std::pair<std::int64_t, std::int64_t>;
    const auto cell_of = [&](const point2& p) {
        return cell{static_cast<std::int64_t>((p.x - x0) / cutoff),
                    static_cast<std::int64_t>((p.y - y0) / cutoff)};
    };
    std::vector<std::pair<cell, std::size_t>> cells(n);
    for (std::size_t i = 0; i < n; ++i) cells[i] = {cell_of(xy[i]), i};
    std::sort(cells.begin(), cells.end());

    const gaussian_weight weight(cutoff);
    const double least_variance = (no_spread * cutoff) * (no_spread * cutoff);
    std::vector<std::size_t> near;
    std::vector<double> nearest(n, cutoff);
    for (std::size_t i = 0; i < n; ++i) {
        const point2 p = xy[i];
        const cell c = cell_of(p);
        near.clear();
        for (std::int64_t dx = -1; dx <= 1; ++dx)
            for (std::int64_t dy = -1; dy <= 1; ++dy) {
                const cell k{c.first + dx, c.second + dy};
                auto it =
                    std::lower_bound(cells.begin(), cells.end(), std::make_pair(k, std::size_t{0}));
                for (; it != cells.end() && it->first == k; ++it) {
                    const std::size_t j = it->second;
                    const double d = distance(xy[j], p);
                    if (d > cutoff) continue;
                    near.push_back(j);
                    if (j != i) nearest[i] = std::min(nearest[i], d);
                }
            }
        moments m;
        for (std::size_t j : near) {
            const point2 d = xy[j] - p;
            const double w = weight(dot(d, d));
            m.w += w;
            m.u += w * d.x;
            m.v += w * d.y;
            m.z += w * z[j];
        }
        const point2 mean{m.u / m.w, m.v / m.w};
        const double mz = m.z / m.w;
        double cuu = 0, cuv = 0, cvv = 0, cuz = 0, cvz = 0;
        for (std::size_t j : near) {
            const point2 d = xy[j] - p;
            const double w = weight(dot(d, d)) / m.w;
            const point2 e = d - mean;
            const double h = z[j] - mz;
            cuu += w * e.x * e.x;
            cuv += w * e.x * e.y;
            cvv += w * e.y * e.y;
            cuz += w * e.x * h;
            cvz += w * e.y * h;
        }
        const double trace = cuu + cvv, det = cuu * cvv - cuv * cuv;
        point2 gradient{0.0, 0.0};
        if (trace <= least_variance) {
            // No spread: the weighted mean.
        } else if (det > collinear * trace * trace) {
            gradient = {(cvv * cuz - cuv * cvz) / det, (cuu * cvz - cuv * cuz) / det};
        } else {
            // Nearly on a line: the slope along its direction, none across it.
            const double larger =
                0.5 * trace + std::sqrt(0.25 * (cuu - cvv) * (cuu - cvv) + cuv * cuv);
            const point2 a{cuv, larger - cuu}, b{larger - cvv, cuv};
            const point2 along = norm(a) > norm(b) ? a : b;
            const point2 axis = (1.0 / norm(along)) * along;
            gradient = ((axis.x * cuz + axis.y * cvz) / larger) * axis;
        }
        out.values[i] = mz - dot(gradient, mean);
    }
    out.median_spacing = n < 2 ? 0.0 : median_of(std::move(nearest));
    return out;
}

}  // namespace detail
}  // namespace vantor

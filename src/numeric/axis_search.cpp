#include "numeric/axis_search.h"

#include <algorithm>
#include <cmath>

#include <Eigen/QR>

#include "numeric/planar.h"

namespace vantor {
namespace detail {

std::optional<axial_start> algebraic_axial(const std::vector<point3>& points, point3 direction,
                                           bool tapered) {
    const int unknowns = tapered ? 5 : 3;
    if (points.size() < static_cast<std::size_t>(unknowns)) return std::nullopt;
    // In coordinates scaled by the extent every column of the system is of order one, so its
    // normal equations are well enough conditioned for a start.
    const double scale = extent_of(points);
    if (!(scale > 0.0)) return std::nullopt;
    const double inverse = 1.0 / scale;
    const frame3 f = frame_about(direction);
    using small_matrix = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, 0, 5, 5>;
    using small_vector = Eigen::Matrix<double, Eigen::Dynamic, 1, 0, 5, 1>;
    small_matrix ata = small_matrix::Zero(unknowns, unknowns);
    small_vector atb = small_vector::Zero(unknowns);
    for (const point3& p : points) {
        const point3 q = inverse * f.local(p);
        const double row[5] = {q.x, q.y, 1.0, q.z, q.z * q.z};
        const double b = q.x * q.x + q.y * q.y;
        for (int i = 0; i < unknowns; ++i) {
            atb(i) += row[i] * b;
            for (int j = 0; j <= i; ++j) ata(i, j) += row[i] * row[j];
        }
    }
    ata = ata.selfadjointView<Eigen::Lower>();
    const Eigen::ColPivHouseholderQR<small_matrix> qr(ata);
    if (qr.rank() < unknowns) return std::nullopt;
    const small_vector c = qr.solve(atb);
    // x^2 + y^2 = 2 a x + 2 b y + (r^2 - a^2 - b^2) + 2 r k z + k^2 z^2, scaled.
    const double ca = 0.5 * c(0), cb = 0.5 * c(1);
    const double squared = c(2) + ca * ca + cb * cb;
    if (!(squared > 0.0) || !std::isfinite(squared)) return std::nullopt;
    axial_start s;
    s.frame = f;
    s.radius = scale * std::sqrt(squared);
    s.slope = tapered ? 0.5 * c(3) / std::sqrt(squared) : 0.0;
    s.origin = (scale * ca) * f.x + (scale * cb) * f.y;
    const double cosine = 1.0 / std::sqrt(1.0 + s.slope * s.slope);
    const double x0 = scale * ca, y0 = scale * cb;
    double sum = 0.0;
    for (const point3& p : points) {
        const point3 q = f.local(p);
        const double rho = std::sqrt((q.x - x0) * (q.x - x0) + (q.y - y0) * (q.y - y0));
        const double d = (rho - s.radius - s.slope * q.z) * cosine;
        sum += d * d;
    }
    s.score = sum / static_cast<double>(points.size());
    return s;
}

std::vector<point3> hemisphere_directions(int count) {
    // Golden-angle spiral: equal areas per direction, z from 1/(2 count) to 1 - 1/(2 count).
    const double golden = pi * (3.0 - std::sqrt(5.0));
    std::vector<point3> directions;
    directions.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double z = (i + 0.5) / count;
        const double r = std::sqrt(1.0 - z * z);
        const double phi = golden * i;
        directions.push_back({r * std::cos(phi), r * std::sin(phi), z});
    }
    return directions;
}

std::vector<axial_start> best_axial_starts(const std::vector<point3>& points,
                                           const std::vector<point3>& directions, bool tapered,
                                           int count, double separation) {
    std::vector<axial_start> rated;
    for (const point3& d : directions) {
        if (const std::optional<axial_start> s = algebraic_axial(points, d, tapered))
            rated.push_back(*s);
    }
    std::sort(rated.begin(), rated.end(),
              [](const axial_start& a, const axial_start& b) { return a.score < b.score; });
    const double cosine = std::cos(separation);
    std::vector<axial_start> best;
    for (const axial_start& s : rated) {
        if (static_cast<int>(best.size()) == count) break;
        const bool apart = std::all_of(best.begin(), best.end(), [&](const axial_start& b) {
            return std::abs(dot(b.frame.z, s.frame.z)) < cosine;
        });
        if (apart) best.push_back(s);
    }
    return best;
}

bool surrounds_axis(const std::vector<point3>& points, const frame3& frame, point3 origin) {
    std::vector<point2> seen;
    seen.reserve(points.size());
    for (const point3& p : points) {
        const point3 q = frame.local(p - origin);
        seen.push_back({q.x, q.y});
    }
    return surrounded(seen, {0.0, 0.0});
}

bool distinct_spread(const principal_axes& axes, int k) {
    for (int j = 0; j < 3; ++j) {
        if (j == k) continue;
        const double a = axes.sum_of_squares[k], b = axes.sum_of_squares[j];
        if (std::max(a, b) < 1.25 * std::min(a, b)) return false;
    }
    return true;
}

}  // namespace detail
}  // namespace vantor

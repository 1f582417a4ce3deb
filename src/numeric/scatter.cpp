#include "numeric/scatter.h"

#include <limits>

#include <Eigen/Eigenvalues>

namespace vantor {
namespace detail {

bool scatter3::finite() const {
    bool all = std::isfinite(centroid.x) && std::isfinite(centroid.y) &&
               std::isfinite(centroid.z) && std::isfinite(magnitude);
    for (const auto& row : matrix)
        for (double v : row) all = all && std::isfinite(v);
    return all;
}

void scatter3::merge(const scatter3& other) {
    if (other.count == 0) return;
    if (count == 0) {
        *this = other;
        return;
    }
    const double na = static_cast<double>(count), nb = static_cast<double>(other.count);
    const double n = na + nb;
    const double d[3] = {other.centroid.x - centroid.x, other.centroid.y - centroid.y,
                         other.centroid.z - centroid.z};
    const double weight = na * nb / n;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) matrix[i][j] += other.matrix[i][j] + weight * d[i] * d[j];
    const double share = nb / n;
    centroid = {centroid.x + share * d[0], centroid.y + share * d[1], centroid.z + share * d[2]};
    count += other.count;
    magnitude = std::max(magnitude, other.magnitude);
}

principal_axes principal_axes_of(const scatter3& s) {
    Eigen::Matrix3d m;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) m(i, j) = s.matrix[i][j];
    const Eigen::SelfAdjointEigenSolver<Eigen::Matrix3d> solver(m);
    principal_axes axes;
    for (int k = 0; k < 3; ++k) {
        // A scatter matrix is positive semi-definite; rounding may leave a tiny negative value.
        axes.sum_of_squares[k] = std::max(0.0, solver.eigenvalues()(k));
        const Eigen::Vector3d v = solver.eigenvectors().col(k);
        axes.axis[k] = {v(0), v(1), v(2)};
    }
    return axes;
}

double extent_of(const principal_axes& axes, std::size_t count) {
    const double sum = axes.sum_of_squares[0] + axes.sum_of_squares[1] + axes.sum_of_squares[2];
    return std::sqrt(sum / static_cast<double>(count));
}

double extent_of(const std::vector<point3>& centred) {
    double sum = 0.0;
    for (const point3& p : centred) sum += dot(p, p);
    return std::sqrt(sum / static_cast<double>(centred.size()));
}

bool negligible_spread(const scatter3& s, const principal_axes& axes, int k) {
    const double rounding = 64.0 * std::numeric_limits<double>::epsilon() * s.magnitude;
    const double n = static_cast<double>(s.count);
    return axes.sum_of_squares[k] <= 1e-14 * axes.sum_of_squares[2] ||
           axes.sum_of_squares[k] <= rounding * rounding * n;
}

}  // namespace detail
}  // namespace vantor

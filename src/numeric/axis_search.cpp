// SPDX-License-Identifier: Apache-2.0
#include "numeric/axis_search.h"

#include "numeric/planar.h"

namespace vantor {
namespace detail {

namespace {

// The angle between neighbouring lattice directions, radians: every direction then lies
// within about 0.7 of it of one of them, inside the basin (radius / length wide) of a cylinder
// of radius 5 measured in two sections 100 apart.
constexpr double lattice_spacing = 0.04;
// The local minima of the lattice that become starts: at most this many.
constexpr std::size_t lattice_starts = 32;

// A square of directions unit(tan(a) x + tan(b) y + z) of `frame`, a and b equally spaced
// angles over [-half, half], `tangents` their tangents.
struct lattice_patch {
    frame3 frame;
    std::vector<double> tangents;

    int size() const { return static_cast<int>(tangents.size()); }
    point3 direction(int i, int j) const {
        const std::size_t a = static_cast<std::size_t>(i), b = static_cast<std::size_t>(j);
        return unit(tangents[a] * frame.x + tangents[b] * frame.y + frame.z);
    }
};

lattice_patch patch_about(point3 x, point3 z, double half) {
    const int size = std::max(5, static_cast<int>(std::ceil(2.0 * half / lattice_spacing)) + 1);
    lattice_patch patch{{x, cross(z, x), z}, {}};
    for (int i = 0; i < size; ++i)
        patch.tangents.push_back(std::tan(-half + 2.0 * half * i / (size - 1)));
    return patch;
}

// The lattice of the domain, oriented by the principal axes (the patches are symmetric in the
// signs of their x and y, so the sign an eigenvector happens to get does not matter).
std::vector<lattice_patch> lattice_of(const principal_axes& axes, const axis_domain& domain) {
    std::vector<lattice_patch> patches;
    if (domain.unrestricted() || domain.max_tilt >= 0.25 * pi) {
        // A cube's faces about the principal axes, each two steps beyond its edges, so that
        // every direction lies inside one of them with all its neighbours.
        for (int k = 0; k < 3; ++k)
            patches.push_back(
                patch_about(axes.axis[(k + 1) % 3], axes.axis[k], 0.25 * pi + 2 * lattice_spacing));
        return patches;
    }
    // The cap, a step beyond it, with x towards the principal axis farthest from its axis.
    int far = 0;
    for (int k = 1; k < 3; ++k)
        if (std::abs(dot(axes.axis[k], domain.axis)) < std::abs(dot(axes.axis[far], domain.axis)))
            far = k;
    const point3 x = unit(axes.axis[far] - dot(axes.axis[far], domain.axis) * domain.axis);
    patches.push_back(patch_about(x, domain.axis, domain.max_tilt + lattice_spacing));
    return patches;
}

// The local minima of the algebraic score over the lattice of the domain, best first: each
// lower than its eight neighbours (of two equal, the first in the patch wins) and admitted,
// more than a step from those before it, at most `count`.
std::vector<axial_start> lattice_minima(const axial_moments& moments, const principal_axes& axes,
                                        const axis_domain& domain, bool tapered,
                                        std::size_t count) {
    constexpr double none = std::numeric_limits<double>::infinity();
    std::vector<axial_start> minima;
    std::vector<double> score;
    for (const lattice_patch& patch : lattice_of(axes, domain)) {
        const int n = patch.size();
        score.assign(static_cast<std::size_t>(n * n), none);
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) {
                const point3 d = patch.direction(i, j);
                if (!domain.admits(d)) continue;
                if (const std::optional<axial_start> s = moments.element(d, tapered))
                    score[static_cast<std::size_t>(i * n + j)] = s->score;
            }
        }
        // Only inner directions: the minima on a patch's rim are inner ones of another patch,
        // or lie beyond the domain's cap.
        for (int i = 1; i + 1 < n; ++i) {
            for (int j = 1; j + 1 < n; ++j) {
                const int here = i * n + j;
                const double s = score[static_cast<std::size_t>(here)];
                if (s == none) continue;
                bool lowest = true;
                for (int di = -1; di <= 1 && lowest; ++di) {
                    for (int dj = -1; dj <= 1 && lowest; ++dj) {
                        const int there = here + di * n + dj;
                        const double t = score[static_cast<std::size_t>(there)];
                        lowest = there == here || t > s || (t == s && there > here);
                    }
                }
                if (lowest) minima.push_back(*moments.element(patch.direction(i, j), tapered));
            }
        }
    }
    std::sort(minima.begin(), minima.end(),
              [](const axial_start& a, const axial_start& b) { return a.score < b.score; });
    const double close = std::cos(lattice_spacing);
    std::vector<axial_start> best;
    for (const axial_start& s : minima) {
        if (best.size() == count) break;
        if (std::none_of(best.begin(), best.end(), [&](const axial_start& b) {
                return std::abs(dot(b.frame.z, s.frame.z)) > close;
            }))
            best.push_back(s);
    }
    return best;
}

// The Cholesky factor of the leading n x n block of a symmetric matrix (upper triangle given),
// factored once for the several right-hand sides of a cone's passes.
class cholesky {
  public:
    // False when the block is singular to working precision.
    bool factor(const double (&a)[4][4], int n) {
        n_ = n;
        double largest = 0.0;
        for (int i = 0; i < n; ++i) largest = std::max(largest, std::abs(a[i][i]));
        for (int j = 0; j < n; ++j) {
            double pivot = a[j][j];
            for (int k = 0; k < j; ++k) pivot -= l_[j][k] * l_[j][k];
            if (!(pivot > n * std::numeric_limits<double>::epsilon() * largest)) return false;
            l_[j][j] = std::sqrt(pivot);
            for (int i = j + 1; i < n; ++i) {
                double v = a[j][i];
                for (int k = 0; k < j; ++k) v -= l_[i][k] * l_[j][k];
                l_[i][j] = v / l_[j][j];
            }
        }
        return true;
    }

    void solve(const double (&b)[4], double (&x)[4]) const {
        for (int i = 0; i < n_; ++i) {
            double v = b[i];
            for (int k = 0; k < i; ++k) v -= l_[i][k] * x[k];
            x[i] = v / l_[i][i];
        }
        for (int i = n_ - 1; i >= 0; --i) {
            double v = x[i];
            for (int k = i + 1; k < n_; ++k) v -= l_[k][i] * x[k];
            x[i] = v / l_[i][i];
        }
    }

  private:
    double l_[4][4] = {};
    int n_ = 0;
};

}  // namespace

axial_moments::axial_moments(const std::vector<point3>& points) {
    scale_ = extent_of(points);
    if (!(scale_ > 0.0)) return;
    const double inverse = 1.0 / scale_;
    count_ = static_cast<double>(points.size());
    for (const point3& p : points) {
        const point3 q = inverse * p;
        const double c[3] = {q.x, q.y, q.z};
        const double s = dot(q, q);
        s0_ += s;
        ss_ += s * s;
        for (int i = 0; i < 3; ++i) {
            m1_[i] += c[i];
            s1_[i] += s * c[i];
            for (int j = 0; j < 3; ++j) {
                const double ij = c[i] * c[j];
                m2_[i][j] += ij;
                s2_[i][j] += s * ij;
                for (int k = 0; k < 3; ++k) {
                    const double ijk = ij * c[k];
                    m3_[i][j][k] += ijk;
                    for (int l = 0; l < 3; ++l) m4_[i][j][k][l] += ijk * c[l];
                }
            }
        }
    }
}

std::optional<axial_start> axial_moments::element(point3 direction, bool tapered) const {
    const int unknowns = tapered ? 4 : 3;
    if (count_ < unknowns) return std::nullopt;
    const frame3 f = frame_about(direction);
    const double e[3][3] = {{f.x.x, f.x.y, f.x.z}, {f.y.x, f.y.y, f.y.z}, {f.z.x, f.z.y, f.z.z}};
    const double* d = e[2];
    // The sums in the frame (x, y, z): of each coordinate, of each product of two, of x z^2,
    // y z^2 and z^3 (zz[a], from the contraction of m3 with z twice), of z^4, and of s z^2.
    double first[3] = {}, second[3][3] = {}, zz[3] = {}, quartic = 0.0, sz2 = 0.0;
    double m2e[3][3] = {}, m3dd[3] = {}, m4dd[3][3] = {};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            for (int k = 0; k < 3; ++k) {
                m2e[i][j] += m2_[i][k] * e[j][k];
                m3dd[i] += m3_[i][j][k] * d[j] * d[k];
                for (int l = 0; l < 3; ++l) m4dd[i][j] += m4_[i][j][k][l] * d[k] * d[l];
            }
        }
    }
    for (int a = 0; a < 3; ++a) {
        for (int i = 0; i < 3; ++i) {
            first[a] += m1_[i] * e[a][i];
            zz[a] += m3dd[i] * e[a][i];
            for (int b = 0; b < 3; ++b) second[a][b] += e[a][i] * m2e[i][b];
        }
    }
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            quartic += d[i] * m4dd[i][j] * d[j];
            sz2 += d[i] * s2_[i][j] * d[j];
        }
    }
    // Rows (x, y, 1, z) against b - k^2 z^2, b = x^2 + y^2 = s - z^2: the cone
    // x^2 + y^2 = 2 a x + 2 b y + (r^2 - a^2 - b^2) + 2 r k z + k^2 z^2 (scaled) with k^2 taken
    // from the solution before (at first 0), a few times over. A free z^2 term instead would
    // fit the ellipses that sections make seen along a tilted axis, and rate every direction
    // near the axis of a cone measured in two sections alike. A cylinder keeps k = 0 and the
    // first three rows.
    const double ata[4][4] = {{second[0][0], second[0][1], first[0], second[0][2]},
                              {0.0, second[1][1], first[1], second[1][2]},
                              {0.0, 0.0, count_, first[2]},
                              {0.0, 0.0, 0.0, second[2][2]}};
    const double by_z2[4] = {zz[0], zz[1], second[2][2], zz[2]};  // sums of the rows times z^2
    double s1e[3] = {};
    for (int a = 0; a < 3; ++a)
        for (int i = 0; i < 3; ++i) s1e[a] += s1_[i] * e[a][i];
    const double atb[4] = {s1e[0] - zz[0], s1e[1] - zz[1], s0_ - second[2][2], s1e[2] - zz[2]};
    const double btb = ss_ - 2.0 * sz2 + quartic, bz2 = sz2 - quartic;

    cholesky factor;
    if (!factor.factor(ata, unknowns)) return std::nullopt;
    double slope = 0.0, squared = 0.0, residual = 0.0, c[4] = {};
    for (int pass = 0; pass < (tapered ? 4 : 1); ++pass) {
        const double k2 = slope * slope;
        double rhs[4];
        for (int i = 0; i < 4; ++i) rhs[i] = atb[i] - k2 * by_z2[i];
        factor.solve(rhs, c);
        squared = c[2] + 0.25 * (c[0] * c[0] + c[1] * c[1]);
        if (!(squared > 0.0) || !std::isfinite(squared)) return std::nullopt;
        // The residual sum at the solution, |b - k^2 z^2|^2 - c^T A^T (b - k^2 z^2).
        double fitted = 0.0;
        for (int i = 0; i < unknowns; ++i) fitted += c[i] * rhs[i];
        residual = std::max(0.0, btb - 2.0 * k2 * bz2 + k2 * k2 * quartic - fitted);
        if (tapered) slope = 0.5 * c[3] / std::sqrt(squared);
    }
    axial_start s;
    s.frame = f;
    s.radius = scale_ * std::sqrt(squared);
    s.slope = slope;
    s.origin = (0.5 * scale_ * c[0]) * f.x + (0.5 * scale_ * c[1]) * f.y;
    // An algebraic residual is about 2 radius times the distance along the normal, cos(psi)
    // times the radial one.
    s.score = scale_ * scale_ * residual / (4.0 * squared * count_ * (1.0 + s.slope * s.slope));
    return s;
}

double mean_squared_distance(const std::vector<point3>& points, const axial_start& s) {
    const double cosine = 1.0 / std::sqrt(1.0 + s.slope * s.slope);
    const point3 o = s.frame.local(s.origin);
    double sum = 0.0;
    for (const point3& p : points) {
        const point3 q = s.frame.local(p);
        const double rho = std::hypot(q.x - o.x, q.y - o.y);
        const double d = (rho - s.radius - s.slope * q.z) * cosine;
        sum += d * d;
    }
    return sum / static_cast<double>(points.size());
}

std::vector<axial_start> search_starts(const std::vector<point3>& points,
                                       const std::vector<point3>& rating,
                                       const principal_axes& axes, const axis_domain& domain,
                                       bool tapered) {
    const axial_moments moments(points);
    std::vector<point3> directions(std::begin(axes.axis), std::end(axes.axis));
    if (!domain.unrestricted()) directions.push_back(domain.axis);
    std::vector<axial_start> starts;
    for (const point3& d : directions) {
        if (!domain.admits(d)) continue;
        if (const std::optional<axial_start> s = moments.element(d, tapered)) starts.push_back(*s);
    }
    for (const axial_start& s : lattice_minima(moments, axes, domain, tapered, lattice_starts))
        starts.push_back(s);
    for (axial_start& s : starts) s.score = mean_squared_distance(rating, s);
    return starts;
}

}  // namespace detail
}  // namespace vantor

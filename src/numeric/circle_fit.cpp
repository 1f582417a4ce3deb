#include "numeric/circle_fit.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "numeric/lanes.h"

namespace vantor {
namespace detail {

void circle_model::evaluate(const state& s, normal_equations<size>& out) const {
    // Two points a step in vectors of two doubles (one SIMD register): the square root and the
    // division, which bound the time of a pass, then serve two points at once.
    const two_doubles zero{0.0, 0.0}, one{1.0, 1.0},
        eps{std::numeric_limits<double>::epsilon(), std::numeric_limits<double>::epsilon()};
    const two_doubles cx{s.centre.x, s.centre.x}, cy{s.centre.y, s.centre.y};
    const two_doubles radius{s.radius, s.radius};
    two_doubles xx{}, xy{}, yy{}, x{}, y{}, n{}, rx{}, ry{}, r{}, rr{}, rounding{};
    const point2* p = points_->data();
    const std::size_t count = points_->size();
    for (std::size_t i = 0; i < count; i += 2) {
        // An odd point last is paired with itself, and its second lane dropped.
        const std::size_t k = i + 1 < count ? i + 1 : i;
        const two_doubles keep{1.0, i + 1 < count ? 1.0 : 0.0};
        const two_doubles dx = two_doubles{p[i].x, p[k].x} - cx;
        const two_doubles dy = two_doubles{p[i].y, p[k].y} - cy;
        const two_doubles squared = dx * dx + dy * dy;
        const two_doubles rho = square_roots(squared);
        const two_doubles inverse = rho > zero ? one / rho : zero;
        // The Jacobian row is -(ux, uy, 1); the residual rho - radius.
        const two_doubles ux = dx * inverse * keep, uy = dy * inverse * keep;
        const two_doubles e = (rho - radius) * keep;
        const two_doubles size = (rho + radius) * keep;
        xx += ux * ux;
        xy += ux * uy;
        yy += uy * uy;
        x += ux;
        y += uy;
        n += keep;
        rx -= ux * e;
        ry -= uy * e;
        r -= e;
        rr += e * e;
        rounding += ((e < zero ? -e : e) + eps * size) * size;
    }
    const auto total = [](two_doubles v) { return v[0] + v[1]; };
    normal_equations<size> ne;
    ne.jtj[0][0] = total(xx);
    ne.jtj[1][0] = total(xy);
    ne.jtj[1][1] = total(yy);
    ne.jtj[2][0] = total(x);
    ne.jtj[2][1] = total(y);
    ne.jtj[2][2] = total(n);
    ne.jtr[0] = total(rx);
    ne.jtr[1] = total(ry);
    ne.jtr[2] = total(r);
    ne.sum_of_squares = total(rr);
    ne.rounding = total(rounding);
    ne.count = count;
    out = ne;
}

circle2 circle_model::moved(const state& s, const double* step) const {
    return {{s.centre.x + step[0], s.centre.y + step[1]}, s.radius + step[2]};
}

double circle_model::scaled_step(const double* step) const {
    return std::max({std::abs(step[0]), std::abs(step[1]), std::abs(step[2])}) / scale_;
}

least_squares_result<circle_model> least_squares_circle_fit(const std::vector<point2>& points,
                                                            double scale, const circle2& start) {
    return minimise_squares(circle_model(points, scale), start);
}

}  // namespace detail
}  // namespace vantor

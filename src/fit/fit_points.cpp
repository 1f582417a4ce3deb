// SPDX-License-Identifier: Apache-2.0
#include "fit/fit_points.h"

#include "fit/fit_report.h"

namespace vantor {
namespace detail {

spanto::vector oriented(const spanto::vector& v) {
    const double decisive = v.z != 0.0 ? v.z : v.y != 0.0 ? v.y : v.x;
    return decisive < 0.0 ? -v : v;
}

failure scatter_for_fit(const actual& points, element_kind kind, fit_report& report, scatter3& s) {
    s = scatter_of(points.begin(), points.end());
    count_pass();
    report.points = static_cast<int>(s.count);
    if (s.count < static_cast<std::size_t>(info_of(kind).fewest_points))
        return {vantor::status::too_few_points, too_few_points(kind, s.count)};
    if (!s.finite()) return {vantor::status::invalid_points, not_finite_reason(points)};
    return {};
}

namespace {

thread_local long passes_of_fits = 0;

}  // namespace

long fit_passes() { return passes_of_fits; }

void count_pass() { ++passes_of_fits; }

valid_rows::valid_rows(const actual& points, std::size_t valid)
    : rows_(points.data()), size_(valid) {
    if (valid == static_cast<std::size_t>(points.numpoints())) return;
    compact_.reserve(valid);
    for (const spanto::point& p : points) {
        if (p.valid()) compact_.push_back(p);
    }
    count_pass();
    rows_ = compact_.data();
}

}  // namespace detail
}  // namespace vantor

// SPDX-License-Identifier: Apache-2.0
// The outliers of points about a given element, by the rule of the fits' reports.
#include "vantor/fit.h"

#include "fit/fit_points.h"
#include "fit/outliers.h"

namespace vantor {
namespace {

template <class Element>
int outliers_of(const actual& points, const Element& datum, bool one_sided = false) {
    return detail::count_outliers(
        points, [&](const spanto::point& p) { return detail::reported_distance(datum, p); },
        one_sided);
}

}  // namespace

int outliers_about(const actual& points, const spanto::line& datum) {
    return outliers_of(points, datum, true);
}
int outliers_about(const actual& points, const spanto::plane& datum) {
    return outliers_of(points, datum);
}
int outliers_about(const actual& points, const spanto::circle& datum) {
    return outliers_of(points, datum);
}
int outliers_about(const actual& points, const spanto::sphere& datum) {
    return outliers_of(points, datum);
}
int outliers_about(const actual& points, const spanto::cylinder& datum) {
    return outliers_of(points, datum);
}
int outliers_about(const actual& points, const spanto::cone& datum) {
    return outliers_of(points, datum);
}

}  // namespace vantor

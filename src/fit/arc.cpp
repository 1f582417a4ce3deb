// SPDX-License-Identifier: Apache-2.0
// Arcs spanned by a point set on a given or fitted circle.
#include "vantor/substitute.h"

namespace vantor {

spanto::arc substitute::arc(const actual& points, const spanto::circle& c) const {
    const int n = points.numpoints();
    // The gap: the neighbouring pair with the largest distance, the closing pair (0, n - 1)
    // first; only a strictly larger distance replaces, so ties keep the earlier pair.
    int first = 0;
    int second = n - 1;
    double widest = points[first].distance(points[second]);
    for (int i = 1; i < n; ++i) {
        const double d = points[i - 1].distance(points[i]);
        if (d > widest) {
            widest = d;
            first = i - 1;
            second = i;
        }
    }
    // The arc runs from the circle point nearest the gap's first point to its second point.
    const spanto::point start = c.nearest(points[first]);
    const double angle =
        spanto::line(c.centre, start).angle(spanto::line(c.centre, points[second]));
    return spanto::arc(c.centre, c.normal, start, angle);
}

spanto::arc substitute::arc(const actual* points, const spanto::circle& c) const {
    return points != nullptr ? arc(*points, c) : spanto::arc();
}

spanto::arc substitute::arc(const actual& points, subtype s) const {
    const spanto::circle c = substitute().circle(points, s);
    return c.invalid() ? spanto::arc() : arc(points, c);
}

spanto::arc substitute::arc(const actual* points, subtype s) const {
    return points != nullptr ? arc(*points, s) : spanto::arc();
}

spanto::arc substitute::arc(const actual& points, const spanto::vector& direction,
                            subtype s) const {
    const spanto::circle c = substitute().circle(points, direction, s);
    return c.invalid() ? spanto::arc() : arc(points, c);
}

spanto::arc substitute::arc(const actual* points, const spanto::vector& direction,
                            subtype s) const {
    return points != nullptr ? arc(*points, direction, s) : spanto::arc();
}

}  // namespace vantor

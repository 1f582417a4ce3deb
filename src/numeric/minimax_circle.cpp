// SPDX-License-Identifier: Apache-2.0
#include "numeric/minimax_circle.h"

#include <utility>

#include "numeric/circumscribed_circle.h"
#include "numeric/inscribed_circle.h"
#include "numeric/zone_circle.h"

namespace vantor {
namespace detail {

minimax_circle circle_of_subset(std::vector<point2>&& subset, point2 start, minimax_sides sides) {
    minimax_circle m{};
    m.candidates = subset.size();
    switch (sides) {
        case minimax_sides::both: {
            const zone2 z = minimum_zone_circle(subset, start, &m.outcome);
            m.centre = z.centre;
            m.inner = z.inner;
            m.outer = z.outer;
            break;
        }
        case minimax_sides::inner: {
            const circle2 c = maximum_inscribed_circle(subset, start, &m.outcome);
            m.centre = c.centre;
            m.inner = m.outer = c.radius;
            break;
        }
        case minimax_sides::outer: {
            const circle2 c = minimum_circumscribed_circle(std::move(subset));
            m.centre = c.centre;
            m.inner = m.outer = c.radius;
            m.outcome = {0, true};
            break;
        }
    }
    return m;
}

}  // namespace detail
}  // namespace vantor

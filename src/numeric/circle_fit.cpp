// SPDX-License-Identifier: Apache-2.0
#include "numeric/circle_fit.h"

#include <algorithm>
#include <cmath>

namespace vantor {
namespace detail {

circle2 circle_model::moved(const state& s, const double* step) const {
    return {{s.centre.x + step[0], s.centre.y + step[1]}, s.radius + step[2]};
}

double circle_model::scaled_step(const double* step) const {
    return std::max({std::abs(step[0]), std::abs(step[1]), std::abs(step[2])}) / scale_;
}

}  // namespace detail
}  // namespace vantor

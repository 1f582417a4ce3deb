// SPDX-License-Identifier: Apache-2.0
// Helpers shared by the datum sources: failures and the angle test of an outward direction.
#ifndef VANTOR_FIT_DATUM_RESULT_H
#define VANTOR_FIT_DATUM_RESULT_H

#include <algorithm>
#include <cmath>
#include <string>

#include "vantor/datum.h"

namespace vantor {
namespace detail {

template <class Result>
Result& datum_failure(Result& r, status code, const std::string& why) {
    r.status = code;
    r.error = why;
    return r;
}

inline constexpr const char* outward_not_a_direction =
    "the outward direction must be a finite, non-zero vector";

// The unit vector of a caller's outward direction; invalid when it is zero or not finite.
inline spanto::vector outward_unit(const spanto::vector& outward) {
    if (!std::isfinite(outward.x) || !std::isfinite(outward.y) || !std::isfinite(outward.z))
        return spanto::vector();
    return outward.unit();
}

// The angle in degrees between two unit vectors whose dot product is `cosine`.
inline double degrees_apart(double cosine) {
    return std::acos(std::clamp(cosine, -1.0, 1.0)) * 180.0 / 3.14159265358979323846;
}

// Why a normal `cosine` (its dot product with the unit outward direction, after turning it to
// that side) is refused, or empty when it lies within datum_max_outward_angle.
inline std::string outward_refusal(double cosine) {
    const double angle = degrees_apart(cosine);
    if (angle <= datum_max_outward_angle) return std::string();
    return "the normal the points determine lies " + std::to_string(angle) +
           " degrees from the outward direction, more than " +
           std::to_string(datum_max_outward_angle) +
           ": the direction does not say which side the material is on";
}

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_FIT_DATUM_RESULT_H

// SPDX-License-Identifier: Apache-2.0
// The size field of a point-set file body.
#ifndef VANTOR_ACTUAL_BODY_SIZE_H
#define VANTOR_ACTUAL_BODY_SIZE_H

#include <cstdint>
#include <limits>

#include "core/element_file.h"

namespace vantor::detail {

// The body size field for `count` points (core/element_file.h): the body header's bytes plus
// 25 per point, although 24 are stored, computed without overflow. False when the value does
// not fit the signed 32-bit field, which no file can then hold consistently.
inline bool body_size_field(std::int32_t count, element_format::body_size_type& field) {
    using limits = std::numeric_limits<element_format::body_size_type>;
    const std::int64_t size = static_cast<std::int64_t>(element_format::body_header_bytes) +
                              element_format::counted_point_bytes * count;
    if (size < limits::min() || size > limits::max()) return false;
    field = static_cast<element_format::body_size_type>(size);
    return true;
}

}  // namespace vantor::detail

#endif  // VANTOR_ACTUAL_BODY_SIZE_H

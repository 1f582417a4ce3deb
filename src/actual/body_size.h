// The size field of a point-set file body.
#ifndef VANTOR_ACTUAL_BODY_SIZE_H
#define VANTOR_ACTUAL_BODY_SIZE_H

#include <cstdint>
#include <limits>

namespace vantor::detail {

// The body size field for `count` points: 32 + 25 * count (25 bytes per point, although 24
// are stored), computed without overflow. False when the value does not fit the signed
// 32-bit field, which no file can then hold consistently.
inline bool body_size_field(std::int32_t count, std::int32_t& field) {
    const std::int64_t size = 32 + 25 * static_cast<std::int64_t>(count);
    if (size < std::numeric_limits<std::int32_t>::min() ||
        size > std::numeric_limits<std::int32_t>::max()) {
        return false;
    }
    field = static_cast<std::int32_t>(size);
    return true;
}

}  // namespace vantor::detail

#endif  // VANTOR_ACTUAL_BODY_SIZE_H

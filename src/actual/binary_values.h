// SPDX-License-Identifier: Apache-2.0
// The numeric types of binary point formats (PLY properties, PCD fields) and their decoding.
#ifndef VANTOR_ACTUAL_BINARY_VALUES_H
#define VANTOR_ACTUAL_BINARY_VALUES_H

#include <cstddef>
#include <cstdint>

#include "core/byteorder.h"

namespace vantor::detail {

enum class value_type {
    int8,
    uint8,
    int16,
    uint16,
    int32,
    uint32,
    int64,
    uint64,
    float32,
    float64
};

inline std::size_t size_of(value_type t) {
    switch (t) {
        case value_type::int8:
        case value_type::uint8:
            return 1;
        case value_type::int16:
        case value_type::uint16:
            return 2;
        case value_type::int32:
        case value_type::uint32:
        case value_type::float32:
            return 4;
        default:
            return 8;
    }
}

template <typename T>
inline T load(const unsigned char* at, bool big_endian) {
    return big_endian ? load_be<T>(at) : load_le<T>(at);
}

// The value of type `t` stored at `at`, as a double (64-bit integers rounded to nearest).
inline double decode(const unsigned char* at, value_type t, bool big_endian) {
    switch (t) {
        case value_type::int8:
            return static_cast<std::int8_t>(at[0]);
        case value_type::uint8:
            return at[0];
        case value_type::int16:
            return load<std::int16_t>(at, big_endian);
        case value_type::uint16:
            return load<std::uint16_t>(at, big_endian);
        case value_type::int32:
            return load<std::int32_t>(at, big_endian);
        case value_type::uint32:
            return load<std::uint32_t>(at, big_endian);
        case value_type::int64:
            return static_cast<double>(load<std::int64_t>(at, big_endian));
        case value_type::uint64:
            return static_cast<double>(load<std::uint64_t>(at, big_endian));
        case value_type::float32:
            return load<float>(at, big_endian);
        case value_type::float64:
            return load<double>(at, big_endian);
    }
    return 0.0;
}

// A count of type `t` (a PLY list's length); false for a float type or a value outside 0 to
// 2^32 - 1.
inline bool decode_count(const unsigned char* at, value_type t, bool big_endian,
                         std::uint64_t& count) {
    switch (t) {
        case value_type::float32:
        case value_type::float64:
            return false;
        default: {
            const double v = decode(at, t, big_endian);
            if (!(v >= 0 && v < 4294967296.0)) return false;
            count = static_cast<std::uint64_t>(v);
            return true;
        }
    }
}

}  // namespace vantor::detail

#endif  // VANTOR_ACTUAL_BINARY_VALUES_H

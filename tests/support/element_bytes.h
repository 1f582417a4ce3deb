// SPDX-License-Identifier: Apache-2.0
// Element files built byte by byte, to compare with what the library writes and to feed it
// damaged files. Fields go where core/element_file.h places them; the values are encoded here,
// independently of the library's byte order helpers.
#ifndef VANTOR_TESTS_SUPPORT_ELEMENT_BYTES_H
#define VANTOR_TESTS_SUPPORT_ELEMENT_BYTES_H

#include <cstdint>

#include "core/element_file.h"
#include "support/files.h"

namespace vantor::testing {

namespace format = detail::element_format;

// Writes the `width` low bytes of v, least significant first, at `offset` of `out`.
inline void put(bytes& out, std::size_t offset, unsigned long long v, std::size_t width) {
    const bytes field = le(v, static_cast<int>(width));
    std::copy(field.begin(), field.end(), out.begin() + static_cast<std::ptrdiff_t>(offset));
}

// An element file header with the given field values.
inline bytes element_header(unsigned size, unsigned version, unsigned type, std::int32_t date,
                            std::int32_t time) {
    bytes h(format::header_bytes, 0);
    std::copy(std::begin(format::signature), std::end(format::signature), h.begin());
    put(h, format::header_size_at, size, sizeof(format::header_size_type));
    put(h, format::version_at, version, sizeof(format::version_type));
    put(h, format::type_at, type, 1);
    put(h, format::date_at, static_cast<std::uint32_t>(date), sizeof(format::stamp_type));
    put(h, format::time_at, static_cast<std::uint32_t>(time), sizeof(format::stamp_type));
    return h;
}

// A sound header: the header size and version the library writes.
inline bytes element_header(unsigned type, std::int32_t date, std::int32_t time) {
    return element_header(format::header_bytes, format::version, type, date, time);
}

// A point-set body header with the given field values.
inline bytes body_header(std::int32_t size, unsigned version, std::int32_t count) {
    bytes h(format::body_header_bytes, 0);
    put(h, format::body_size_at, static_cast<std::uint32_t>(size), sizeof(format::body_size_type));
    put(h, format::body_version_at, version, sizeof(format::version_type));
    put(h, format::count_at, static_cast<std::uint32_t>(count), sizeof(format::count_type));
    return h;
}

// The body size field for `count` points, before it is cut to 32 bits.
inline std::int64_t body_size(std::int64_t count) {
    return static_cast<std::int64_t>(format::body_header_bytes) +
           format::counted_point_bytes * count;
}

// A sound body header for `count` points: the size the library writes and the body version.
inline bytes body_header(std::int32_t count) {
    return body_header(static_cast<std::int32_t>(body_size(count)), format::body_version, count);
}

// One stored point from the IEEE-754 bit patterns of its coordinates.
inline bytes point_bytes(std::uint64_t x, std::uint64_t y, std::uint64_t z) {
    return le(x, 8) + le(y, 8) + le(z, 8);
}

}  // namespace vantor::testing

#endif  // VANTOR_TESTS_SUPPORT_ELEMENT_BYTES_H

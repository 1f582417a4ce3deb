// Element files built byte by byte, to compare with what the library writes and to feed it
// damaged files.
#ifndef VANTOR_TESTS_SUPPORT_ELEMENT_BYTES_H
#define VANTOR_TESTS_SUPPORT_ELEMENT_BYTES_H

#include <cstdint>

#include "support/files.h"

namespace vantor::testing {

// The 16 signature bytes: the 14 characters and two zero bytes.
inline bytes signature_bytes() {
    return {'v', 'a', 'n', 't', 'o', 'r', ' ', 'e', 'l', 'e', 'm', 'e', 'n', 't', 0, 0};
}

// The 32-byte element file header.
inline bytes element_header(unsigned size, unsigned version, unsigned type, std::int32_t date,
                            std::int32_t time) {
    return signature_bytes() + le(size, 2) + le(version, 2) + le(type, 1) + le(0, 3) +
           le(static_cast<std::uint32_t>(date), 4) + le(static_cast<std::uint32_t>(time), 4);
}

// The 32-byte point-set body header.
inline bytes body_header(std::int32_t size, unsigned version, std::int32_t count) {
    return le(static_cast<std::uint32_t>(size), 4) + le(version, 2) + le(0, 2) +
           le(static_cast<std::uint32_t>(count), 4) + le(0, 20);
}

// One stored point from the IEEE-754 bit patterns of its coordinates.
inline bytes point_bytes(std::uint64_t x, std::uint64_t y, std::uint64_t z) {
    return le(x, 8) + le(y, 8) + le(z, 8);
}

}  // namespace vantor::testing

#endif  // VANTOR_TESTS_SUPPORT_ELEMENT_BYTES_H

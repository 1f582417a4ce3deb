// SPDX-License-Identifier: Apache-2.0
// Little-endian encoding of integers and doubles for the element file, independent of the host's
// byte order; big-endian decoding for the binary point formats that use it (PLY).
#ifndef VANTOR_CORE_BYTEORDER_H
#define VANTOR_CORE_BYTEORDER_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace vantor::detail {

// The unsigned integer that carries the bits of a T.
template <typename T>
struct bits_of {
    static_assert(std::is_integral_v<T> && !std::is_same_v<T, bool>, "integer, float or double");
    using type = std::make_unsigned_t<T>;
};
template <>
struct bits_of<double> {
    using type = std::uint64_t;
};
template <>
struct bits_of<float> {
    using type = std::uint32_t;
};

// Writes the sizeof(T) bytes of value to out, least significant first. A double is stored as
// its IEEE-754 bit pattern, NaN payloads included.
template <typename T>
inline void store_le(T value, unsigned char* out) {
    using bits_t = typename bits_of<T>::type;
    static_assert(sizeof(bits_t) == sizeof(T), "no padding bits");
    bits_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    // Shifting into a local array, unrolled, lets GCC and Clang turn the whole into one store
    // (plus a byte swap on big-endian hosts); bytes written straight to `out` may alias the
    // caller's data and defeat that.
    unsigned char bytes[sizeof bits];
#pragma GCC unroll 8
    for (std::size_t i = 0; i < sizeof bits; ++i) {
        bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
    }
    std::memcpy(out, bytes, sizeof bytes);
}

// Reads a T from the sizeof(T) bytes at in, least significant first: the inverse of store_le.
template <typename T>
inline T load_le(const unsigned char* in) {
    using bits_t = typename bits_of<T>::type;
    unsigned char bytes[sizeof(bits_t)];
    std::memcpy(bytes, in, sizeof bytes);
    bits_t bits = 0;
#pragma GCC unroll 8
    for (std::size_t i = 0; i < sizeof bits; ++i) {
        bits = static_cast<bits_t>(bits |
                                   static_cast<bits_t>(static_cast<bits_t>(bytes[i]) << (8 * i)));
    }
    T value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Reads a T from the sizeof(T) bytes at in, most significant first.
template <typename T>
inline T load_be(const unsigned char* in) {
    unsigned char reversed[sizeof(T)];
#pragma GCC unroll 8
    for (std::size_t i = 0; i < sizeof(T); ++i) reversed[i] = in[sizeof(T) - 1 - i];
    return load_le<T>(reversed);
}

}  // namespace vantor::detail

#endif  // VANTOR_CORE_BYTEORDER_H

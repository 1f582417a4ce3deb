// SPDX-License-Identifier: Apache-2.0
// The element file: its layout, the one description of it, and the reading and writing of its
// header. The point-set body code (actual), the tests and the fuzz target use the same names.
//
// Header, at offset 0 of the file (integers little-endian):
//
//   offset  size  field
//        0    16  signature: the 14 characters "vantor element", its terminating zero and one
//                 zero byte of padding; the loader compares the text and its zero (15 bytes)
//       16     2  header size, unsigned: 32
//       18     2  format version, unsigned: 1
//       20     1  element type: the low byte of element::type()
//       21     3  zero
//       24     4  creation date, signed: year * 10000 + month * 100 + day
//       28     4  creation time, signed: hour * 10000 + minute * 100 + second
//
// Point-set body, at offset 32 of the file: a 32-byte body header, then the points.
//
//   offset  size  field
//        0     4  body size, signed: 32 + 25 * count (25 bytes counted per point, although 24
//                 are stored; files have always been written so)
//        4     2  body version, unsigned: 1
//        6     2  zero
//        8     4  point count, signed
//       12    20  zero
//
// Each point follows as x, y and z, little-endian IEEE-754 doubles (24 bytes).
#ifndef VANTOR_CORE_ELEMENT_FILE_H
#define VANTOR_CORE_ELEMENT_FILE_H

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace vantor::detail {

namespace element_format {

// The header.
inline constexpr char signature[] = "vantor element";  // sizeof: the text and its zero
static_assert(sizeof signature == 15, "14 characters and the terminating zero");
inline constexpr std::size_t header_bytes = 32;
using header_size_type = std::uint16_t;
inline constexpr std::size_t header_size_at = 16;
using version_type = std::uint16_t;
inline constexpr version_type version = 1;
inline constexpr std::size_t version_at = 18;
inline constexpr std::size_t type_at = 20;  // one byte
using stamp_type = std::int32_t;
inline constexpr std::size_t date_at = 24;
inline constexpr std::size_t time_at = 28;

// The point-set body.
inline constexpr std::size_t body_header_bytes = 32;
using body_size_type = std::int32_t;
inline constexpr std::size_t body_size_at = 0;
inline constexpr version_type body_version = 1;
inline constexpr std::size_t body_version_at = 4;
using count_type = std::int32_t;
inline constexpr std::size_t count_at = 8;
inline constexpr std::size_t point_bytes = 24;           // x, y, z
inline constexpr std::int64_t counted_point_bytes = 25;  // per point in the body size field

}  // namespace element_format

// What a header carries besides its constant fields (signature, header size, version).
struct element_header {
    std::uint8_t type;  // low byte of element::type()
    std::int32_t date;  // creation date
    std::int32_t time;  // creation time
};

// Writes the header as one 32-byte record at the stream's position; true when written.
bool write_element_header(std::FILE* f, const element_header& h);

// Reads 32 bytes as one record and checks, in this order, the signature, the header size and
// the version; a failed check prints its message on standard output. True, with h filled, for
// a sound header; false for a short read (silently) or a failed check.
bool read_element_header(std::FILE* f, element_header& h);

}  // namespace vantor::detail

#endif  // VANTOR_CORE_ELEMENT_FILE_H

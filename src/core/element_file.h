// The 32-byte header of an element file.
#ifndef VANTOR_CORE_ELEMENT_FILE_H
#define VANTOR_CORE_ELEMENT_FILE_H

#include <cstdint>
#include <cstdio>

namespace vantor::detail {

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

// SPDX-License-Identifier: Apache-2.0
#include "core/element_file.h"

#include <cstring>

#include "core/byteorder.h"
#include "vantor/element.h"

namespace vantor {
namespace detail {

namespace format = element_format;

bool write_element_header(std::FILE* f, const element_header& h) {
    unsigned char bytes[format::header_bytes] = {};
    std::memcpy(bytes, format::signature, sizeof format::signature);
    store_le(static_cast<format::header_size_type>(format::header_bytes),
             bytes + format::header_size_at);
    store_le(format::version, bytes + format::version_at);
    bytes[format::type_at] = h.type;
    store_le<format::stamp_type>(h.date, bytes + format::date_at);
    store_le<format::stamp_type>(h.time, bytes + format::time_at);
    return std::fwrite(bytes, sizeof bytes, 1, f) == 1;
}

bool read_element_header(std::FILE* f, element_header& h) {
    unsigned char bytes[format::header_bytes];
    if (std::fread(bytes, sizeof bytes, 1, f) != 1) return false;
    if (!has_element_signature(bytes, sizeof bytes)) {
        std::printf("*element:load: copyright notice missing\n");
        return false;
    }
    const auto size = load_le<format::header_size_type>(bytes + format::header_size_at);
    if (size != format::header_bytes) {
        std::printf("*element:load: incorrect header size %d\n", static_cast<int>(size));
        return false;
    }
    const auto version = load_le<format::version_type>(bytes + format::version_at);
    if (version != format::version) {
        std::printf("*element:load: incorrect version number %d\n", static_cast<int>(version));
        return false;
    }
    h.type = bytes[format::type_at];
    h.date = load_le<format::stamp_type>(bytes + format::date_at);
    h.time = load_le<format::stamp_type>(bytes + format::time_at);
    return true;
}

}  // namespace detail

bool has_element_signature(const void* head, std::size_t size) {
    // The signature is a text: it ends at its terminating zero (byte 14), so byte 15 is not
    // compared.
    const std::size_t n = sizeof detail::element_format::signature;
    return head != nullptr && size >= n &&
           std::memcmp(head, detail::element_format::signature, n) == 0;
}

bool element::save(const char* filename) const {
    std::FILE* f = std::fopen(filename != nullptr ? filename : name_, "wb");
    if (f == nullptr) return false;
    const detail::element_header header{static_cast<std::uint8_t>(type_ & 0xff), date_, time_};
    const bool written = detail::write_element_header(f, header) && save(f);
    // Closing flushes what stdio still buffers; a failure there means the file is incomplete.
    const bool closed = std::fclose(f) == 0;
    return written && closed;
}

}  // namespace vantor

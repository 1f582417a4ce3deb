#include "core/element_file.h"

#include <cstring>

#include "core/byteorder.h"
#include "vantor/element.h"

namespace vantor {
namespace detail {

namespace {

// Header layout: signature text and its zero padding (bytes 0-15), header size (16-17),
// version (18-19), type byte (20), zero (21-23), creation date (24-27) and time (28-31).
constexpr char signature[] = "vantor element";
static_assert(sizeof signature == 15, "14 characters and the terminating zero");
constexpr std::size_t header_bytes = 32;
constexpr std::uint16_t format_version = 1;
constexpr std::size_t size_at = 16;
constexpr std::size_t version_at = 18;
constexpr std::size_t type_at = 20;
constexpr std::size_t date_at = 24;
constexpr std::size_t time_at = 28;

}  // namespace

bool write_element_header(std::FILE* f, const element_header& h) {
    unsigned char bytes[header_bytes] = {};
    std::memcpy(bytes, signature, sizeof signature);
    store_le(static_cast<std::uint16_t>(header_bytes), bytes + size_at);
    store_le(format_version, bytes + version_at);
    bytes[type_at] = h.type;
    store_le(h.date, bytes + date_at);
    store_le(h.time, bytes + time_at);
    return std::fwrite(bytes, sizeof bytes, 1, f) == 1;
}

bool read_element_header(std::FILE* f, element_header& h) {
    unsigned char bytes[header_bytes];
    if (std::fread(bytes, sizeof bytes, 1, f) != 1) return false;
    // The signature is a text: it ends at its terminating zero (byte 14), so byte 15 is not
    // compared.
    if (std::memcmp(bytes, signature, sizeof signature) != 0) {
        std::printf("*element:load: copyright notice missing\n");
        return false;
    }
    const std::uint16_t size = load_le<std::uint16_t>(bytes + size_at);
    if (size != header_bytes) {
        std::printf("*element:load: incorrect header size %d\n", static_cast<int>(size));
        return false;
    }
    const std::uint16_t version = load_le<std::uint16_t>(bytes + version_at);
    if (version != format_version) {
        std::printf("*element:load: incorrect version number %d\n", static_cast<int>(version));
        return false;
    }
    h.type = bytes[type_at];
    h.date = load_le<std::int32_t>(bytes + date_at);
    h.time = load_le<std::int32_t>(bytes + time_at);
    return true;
}

}  // namespace detail

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

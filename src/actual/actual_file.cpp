// SPDX-License-Identifier: Apache-2.0
// The element-file body of a point set.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "actual/body_size.h"
#include "core/byteorder.h"
#include "core/element_file.h"
#include "vantor/actual.h"

namespace vantor {

namespace {

// The layout is described in core/element_file.h.
namespace format = detail::element_format;
using format::point_bytes;
static_assert(point_bytes == 3 * sizeof(double), "x, y and z");

// Points are converted through a buffer of this many (768 KiB) rather than a second copy of the
// whole set; smaller buffers make the per-call cost of the file system show in the throughput.
constexpr std::size_t chunk_points = 32768;

// The first storage for a stream of unknown length (24 KiB); it doubles as points arrive.
constexpr std::size_t unknown_length_start_points = 1024;

void encode(const spanto::point& p, unsigned char* out) {
    detail::store_le(p.x, out);
    detail::store_le(p.y, out + sizeof(double));
    detail::store_le(p.z, out + 2 * sizeof(double));
}

spanto::point decode(const unsigned char* in) {
    return spanto::point(detail::load_le<double>(in), detail::load_le<double>(in + sizeof(double)),
                         detail::load_le<double>(in + 2 * sizeof(double)));
}

bool write_points(std::FILE* f, const spanto::point* points, std::size_t count) {
    std::vector<unsigned char> chunk(std::min(count, chunk_points) * point_bytes);
    for (std::size_t done = 0; done < count;) {
        const std::size_t n = std::min(count - done, chunk_points);
        for (std::size_t i = 0; i < n; ++i) encode(points[done + i], &chunk[i * point_bytes]);
        if (std::fwrite(chunk.data(), point_bytes, n, f) != n) return false;
        done += n;
    }
    return true;
}

// The number of bytes from the stream's position to its end, the position unchanged; -1 when
// the stream cannot tell (a pipe, for instance).
long remaining_bytes(std::FILE* f) {
    const long start = std::ftell(f);
    if (start < 0 || std::fseek(f, 0, SEEK_END) != 0) return -1;
    const long end = std::ftell(f);
    if (std::fseek(f, start, SEEK_SET) != 0 || end < start) return -1;
    return end - start;
}

// Reads and decodes `count` points. The storage starts with `reserve` entries and, when that
// is less than count, doubles (up to count) only as the stream delivers points, so a stream
// that ends early costs no more than `reserve` entries or twice what it delivered. Null when
// the stream ends early.
std::unique_ptr<spanto::point[]> read_points(std::FILE* f, std::size_t count, std::size_t reserve) {
    std::unique_ptr<spanto::point[]> points(new spanto::point[reserve]);
    std::size_t capacity = reserve;
    std::vector<unsigned char> chunk;
    for (std::size_t done = 0; done < count;) {
        if (done == capacity) {
            const std::size_t grown = std::min(count, 2 * capacity);
            std::unique_ptr<spanto::point[]> larger(new spanto::point[grown]);
            std::copy(points.get(), points.get() + done, larger.get());
            points = std::move(larger);
            capacity = grown;
        }
        const std::size_t n = std::min(capacity - done, chunk_points);
        if (chunk.size() < n * point_bytes) chunk.resize(n * point_bytes);
        if (std::fread(chunk.data(), point_bytes, n, f) != n) return nullptr;
        for (std::size_t i = 0; i < n; ++i) points[done + i] = decode(&chunk[i * point_bytes]);
        done += n;
    }
    return points;
}

}  // namespace

bool actual::save(std::FILE* f) const {
    format::body_size_type size;
    if (!detail::body_size_field(count_, size)) return false;
    unsigned char header[format::body_header_bytes] = {};
    detail::store_le(size, header + format::body_size_at);
    detail::store_le(format::body_version, header + format::body_version_at);
    detail::store_le(static_cast<format::count_type>(count_), header + format::count_at);
    if (std::fwrite(header, sizeof header, 1, f) != 1) return false;
    // The points form one record, and a record of no bytes counts as not written.
    if (count_ == 0) return false;
    return write_points(f, points_.get(), static_cast<std::size_t>(count_));
}

actual* actual::load(std::FILE* f) {
    if (f == nullptr) return nullptr;
    unsigned char header[format::body_header_bytes];
    if (std::fread(header, sizeof header, 1, f) != 1) return nullptr;
    if (detail::load_le<format::version_type>(header + format::body_version_at) !=
        format::body_version) {
        return nullptr;
    }
    const auto count = detail::load_le<format::count_type>(header + format::count_at);
    format::body_size_type size;
    if (!detail::body_size_field(count, size) ||
        size != detail::load_le<format::body_size_type>(header + format::body_size_at)) {
        return nullptr;
    }
    // No points is an empty record, which counts as not read; fewer is damage.
    if (count <= 0) return nullptr;

    // Allocate the claimed count only when the stream is known to hold it; otherwise let the
    // storage grow with what actually arrives.
    const std::size_t n = static_cast<std::size_t>(count);
    const long remaining = remaining_bytes(f);
    if (remaining >= 0 && static_cast<unsigned long>(remaining) / point_bytes < n) return nullptr;
    std::unique_ptr<spanto::point[]> points =
        read_points(f, n, remaining >= 0 ? n : std::min(n, unknown_length_start_points));
    if (points == nullptr) return nullptr;

    std::unique_ptr<actual> set(new actual(0));
    set->points_ = std::move(points);
    set->capacity_ = count;
    set->count_ = count;
    return set.release();
}

actual* actual::load(const char* filename) {
    element* loaded = element::load(filename);
    if (loaded == nullptr) return nullptr;
    if (loaded->isof(type_actual)) return static_cast<actual*>(loaded);
    delete loaded;
    return nullptr;
}

}  // namespace vantor

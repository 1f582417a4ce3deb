// SPDX-License-Identifier: Apache-2.0
// Feeds arbitrary bytes, as a file of known size, to the reader of one binary point format
// (POINT_FORMAT: read_ply, read_stl or read_pcd; one target each). It must either refuse them with
// a message that names the input, or return a set of finite points no larger than the bytes
// allow. AddressSanitizer catches any read beyond the bytes; -rss_limit_mb any allocation of a
// count the bytes cannot hold.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "actual/point_readers.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantor::detail;
    point_source source(data, size, "input");
    point_sink sink(source);
    std::unique_ptr<vantor::actual> points;
    try {
        POINT_FORMAT(source, sink);
        points = sink.release();
    } catch (const read_failure& e) {
        check(std::strncmp(e.what(), "input", 5) == 0);
        return 0;
    }
    // Every point takes at least one byte in each of these formats.
    check(points != nullptr && points->numpoints() > 0 &&
          static_cast<std::size_t>(points->numpoints()) <= size);
    check(points->maxpoints() == points->numpoints());
    for (const spanto::point& p : *points) {
        check(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
    }
    return 0;
}

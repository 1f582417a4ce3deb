// SPDX-License-Identifier: Apache-2.0
// STL (stereolithography): triangles, as text ("solid", "facet", "outer loop", three "vertex X Y
// Z", ...) or binary (an 80-byte header, a 32-bit triangle count, then 50 bytes a triangle: a
// normal, three vertices as 32-bit floats, two attribute bytes). Triangles share their corners,
// so each distinct vertex is kept once, where it first appears.
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "actual/coordinates.h"
#include "actual/point_readers.h"
#include "core/byteorder.h"

namespace vantor::detail {
namespace {

constexpr std::size_t header_bytes = 80;
constexpr std::size_t triangle_bytes = 50;
constexpr const char* too_many = "more vertices than a point set can hold";

// The distinct vertices in order of first appearance: an open-addressing table of indices into
// them, keyed by the coordinates (0 and -0 alike), kept at most half full.
class distinct_vertices {
  public:
    // False when the set is full (as many points as a point set can hold).
    bool add(double x, double y, double z) {
        // -0.0 + 0.0 is +0.0: a vertex written as -0 is the one written as 0.
        const spanto::point p(x + 0.0, y + 0.0, z + 0.0);
        if (2 * (points_.size() + 1) > slots_.size()) grow();
        std::size_t slot = hash(p) & (slots_.size() - 1);
        while (slots_[slot] != empty) {
            const spanto::point& q = points_[slots_[slot]];
            if (q.x == p.x && q.y == p.y && q.z == p.z) return true;
            slot = (slot + 1) & (slots_.size() - 1);
        }
        if (points_.size() == INT_MAX) return false;
        slots_[slot] = static_cast<std::uint32_t>(points_.size());
        points_.push_back(p);
        return true;
    }

    // Hands the vertices to the sink: NaN ones counted there; false at an infinite one.
    bool drain(point_sink& sink) const {
        sink.expect(static_cast<long long>(points_.size()));
        for (const spanto::point& p : points_) {
            if (!sink.add(p.x, p.y, p.z)) return false;
        }
        return true;
    }

  private:
    static constexpr std::uint32_t empty = 0xffffffffu;

    static std::size_t hash(const spanto::point& p) {
        std::uint64_t h = 0x9e3779b97f4a7c15ull;
        for (const double v : {p.x, p.y, p.z}) {
            std::uint64_t bits;
            std::memcpy(&bits, &v, sizeof bits);
            h = (h ^ bits) * 0xff51afd7ed558ccdull;
            h ^= h >> 32;
        }
        return static_cast<std::size_t>(h);
    }

    void grow() {
        std::vector<std::uint32_t> slots(slots_.empty() ? 1024 : 2 * slots_.size(), empty);
        for (std::uint32_t i = 0; i < points_.size(); ++i) {
            std::size_t slot = hash(points_[i]) & (slots.size() - 1);
            while (slots[slot] != empty) slot = (slot + 1) & (slots.size() - 1);
            slots[slot] = i;
        }
        slots_ = std::move(slots);
    }

    std::vector<spanto::point> points_;
    std::vector<std::uint32_t> slots_;
};

void read_binary(point_source& source, point_sink& sink) {
    std::size_t got = 0;
    const unsigned char* head = source.records(header_bytes + 4, 1, got);
    if (got == 0) source.fail("a binary STL file of fewer than 84 bytes");
    const std::uint32_t count = load_le<std::uint32_t>(head + header_bytes);
    const long long remaining = source.remaining();
    const long long needed = static_cast<long long>(count) * static_cast<long long>(triangle_bytes);
    if (remaining >= 0 && remaining != needed) {
        source.fail(std::to_string(count) + " triangles need " + std::to_string(needed) +
                    " bytes after the count, the file has " + std::to_string(remaining));
    }
    distinct_vertices vertices;
    for (std::uint32_t left = count; left > 0;) {
        const long long first = source.offset();
        const unsigned char* t = source.records(triangle_bytes, left, got);
        if (got == 0) {
            source.fail_at(first, "the file ends after " + std::to_string(count - left) + " of " +
                                      std::to_string(count) + " triangles");
        }
        for (std::size_t i = 0; i < got; ++i, t += triangle_bytes) {
            for (std::size_t v = 0; v < 3; ++v) {
                const unsigned char* xyz = t + 12 * (v + 1);  // after the normal
                if (!vertices.add(load_le<float>(xyz), load_le<float>(xyz + 4),
                                  load_le<float>(xyz + 8))) {
                    source.fail(too_many);
                }
            }
        }
        left -= static_cast<std::uint32_t>(got);
    }
    if (!vertices.drain(sink)) source.fail("a vertex with an infinite coordinate");
}

void read_ascii(point_source& source, point_sink& sink) {
    distinct_vertices vertices;
    std::string_view line;
    bool solid = false;      // inside "solid" ... "endsolid"
    int loop_vertices = -1;  // inside "outer loop": the vertices so far
    while (source.next_line(line)) {
        std::string_view rest = line;
        const std::string_view keyword = next_word(rest);
        if (keyword.empty()) continue;
        if (keyword == "solid" && !solid) {
            solid = true;
        } else if (!solid) {
            source.fail_line("expected 'solid'");
        } else if (keyword == "vertex") {
            if (loop_vertices < 0 || loop_vertices == 3) {
                source.fail_line("a vertex outside a loop of three");
            }
            ++loop_vertices;
            double xyz[3] = {0.0, 0.0, 0.0};
            for (double& c : xyz) {
                const std::string_view word = next_word(rest);
                if (!parse_coordinate(word, c)) {
                    source.fail_line("malformed vertex coordinate '" +
                                     std::string(word.substr(0, 40)) + "'");
                }
            }
            if (!next_word(rest).empty()) source.fail_line("more than three vertex coordinates");
            if (!vertices.add(xyz[0], xyz[1], xyz[2])) source.fail(too_many);
        } else if (keyword == "outer") {
            loop_vertices = 0;
        } else if (keyword == "endloop") {
            if (loop_vertices != 3) source.fail_line("a loop without three vertices");
            loop_vertices = -1;
        } else if (keyword == "endsolid") {
            solid = false;
        } else if (keyword != "facet" && keyword != "endfacet") {
            source.fail_line("unknown STL keyword '" + std::string(keyword.substr(0, 40)) + "'");
        }
    }
    vertices.drain(sink);  // parse_coordinate takes no infinity
}

}  // namespace

bool ascii_stl(std::string_view head) {
    // Binary files may open with "solid" too, but their counts and floats hold zero bytes.
    if (head.find('\0') != std::string_view::npos) return false;
    while (!head.empty() && is_blank(head.front())) head.remove_prefix(1);
    return head.substr(0, 5) == "solid" &&
           (head.size() == 5 || std::strchr(" \t\r\n", head[5]) != nullptr);
}

bool binary_stl(std::string_view head, long long size) {
    if (size < 0 || head.size() < header_bytes + 4) return false;
    const auto count =
        load_le<std::uint32_t>(reinterpret_cast<const unsigned char*>(head.data()) + header_bytes);
    return size == static_cast<long long>(header_bytes + 4) +
                       static_cast<long long>(count) * static_cast<long long>(triangle_bytes);
}

void read_stl(point_source& source, point_sink& sink) {
    const std::string_view head = source.peek(4096);
    if (!binary_stl(head, source.remaining()) && ascii_stl(head)) {
        read_ascii(source, sink);
    } else {
        read_binary(source, sink);
    }
}

}  // namespace vantor::detail

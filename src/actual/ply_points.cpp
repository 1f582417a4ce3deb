// SPDX-License-Identifier: Apache-2.0
// PLY (Polygon File Format): a text header of elements and their properties, then the element
// instances in order, as text or as binary records of either byte order. The points are the x, y
// and z of the "vertex" element; every other property and element is skipped.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "actual/binary_values.h"
#include "actual/coordinates.h"
#include "actual/point_readers.h"

namespace vantor::detail {
namespace {

enum class ply_encoding { ascii, little_endian, big_endian };

struct ply_property {
    std::string name;
    value_type type = value_type::float32;
    bool list = false;
    value_type length_type = value_type::uint8;  // of a list
};

struct ply_element {
    std::string name;
    long long count = 0;
    std::vector<ply_property> properties;

    // The bytes of one binary instance, or 0 when a list makes it vary.
    std::size_t fixed_size() const {
        std::size_t size = 0;
        for (const ply_property& p : properties) {
            if (p.list) return 0;
            size += size_of(p.type);
        }
        return size;
    }
};

// More properties than this in one element are taken for damage: it bounds a record's size.
constexpr std::size_t max_properties = 1024;

bool type_named(std::string_view name, value_type& type) {
    struct named {
        const char* names[2];
        value_type type;
    };
    static const named types[] = {
        {{"char", "int8"}, value_type::int8},        {{"uchar", "uint8"}, value_type::uint8},
        {{"short", "int16"}, value_type::int16},     {{"ushort", "uint16"}, value_type::uint16},
        {{"int", "int32"}, value_type::int32},       {{"uint", "uint32"}, value_type::uint32},
        {{"float", "float32"}, value_type::float32}, {{"double", "float64"}, value_type::float64},
    };
    for (const named& t : types) {
        if (name == t.names[0] || name == t.names[1]) {
            type = t.type;
            return true;
        }
    }
    return false;
}

struct ply_header {
    ply_encoding encoding = ply_encoding::ascii;
    std::vector<ply_element> elements;
};

ply_header read_header(point_source& source) {
    std::string_view line;
    if (!source.next_line(line) || line != "ply") source.fail("not a PLY file (no 'ply' line)");
    ply_header header;
    bool format_seen = false;
    while (true) {
        if (!source.next_line(line)) source.fail("the PLY header has no 'end_header' line");
        std::string_view rest = line;
        const std::string_view keyword = next_word(rest);
        if (keyword == "end_header") break;
        if (keyword == "comment" || keyword == "obj_info" || keyword.empty()) continue;
        if (keyword == "format") {
            const std::string_view encoding = next_word(rest);
            if (encoding == "ascii") {
                header.encoding = ply_encoding::ascii;
            } else if (encoding == "binary_little_endian") {
                header.encoding = ply_encoding::little_endian;
            } else if (encoding == "binary_big_endian") {
                header.encoding = ply_encoding::big_endian;
            } else {
                source.fail_line("unknown PLY format '" + std::string(encoding) + "'");
            }
            format_seen = true;
        } else if (keyword == "element") {
            ply_element e;
            e.name = std::string(next_word(rest));
            if (e.name.empty() || !parse_count(next_word(rest), e.count)) {
                source.fail_line("expected 'element NAME COUNT'");
            }
            header.elements.push_back(std::move(e));
        } else if (keyword == "property") {
            if (header.elements.empty()) source.fail_line("a property before any element");
            ply_element& e = header.elements.back();
            if (e.properties.size() == max_properties) source.fail_line("too many properties");
            ply_property p;
            std::string_view type = next_word(rest);
            if (type == "list") {
                p.list = true;
                if (!type_named(next_word(rest), p.length_type)) {
                    source.fail_line("expected 'property list LENGTH-TYPE TYPE NAME'");
                }
                type = next_word(rest);
            }
            if (!type_named(type, p.type)) {
                source.fail_line("unknown property type '" + std::string(type) + "'");
            }
            p.name = std::string(next_word(rest));
            if (p.name.empty()) source.fail_line("a property without a name");
            e.properties.push_back(std::move(p));
        } else {
            source.fail_line("unknown PLY header line '" + std::string(keyword) + "'");
        }
    }
    if (!format_seen) source.fail("the PLY header has no 'format' line");
    return header;
}

// The indices of the x, y and z properties of the vertex element.
void find_coordinates(const ply_element& vertex, const point_source& source,
                      std::size_t (&xyz)[3]) {
    const char* const names[3] = {"x", "y", "z"};
    for (std::size_t k = 0; k < 3; ++k) {
        const auto at = std::find_if(vertex.properties.begin(), vertex.properties.end(),
                                     [&](const ply_property& p) { return p.name == names[k]; });
        if (at == vertex.properties.end() || at->list) {
            source.fail(std::string("the vertex element has no property ") + names[k]);
        }
        xyz[k] = static_cast<std::size_t>(at - vertex.properties.begin());
    }
}

// --- ASCII: one instance a line.

void read_ascii(point_source& source, const ply_header& header, point_sink& sink) {
    std::string_view line;
    std::vector<double> values;
    for (const ply_element& e : header.elements) {
        const bool vertex = e.name == "vertex";
        std::size_t xyz[3] = {0, 0, 0};
        if (vertex) find_coordinates(e, source, xyz);
        for (long long i = 0; i < e.count; ++i) {
            if (!source.next_line(line)) {
                source.fail("the file ends after " + std::to_string(i) + " of " +
                            std::to_string(e.count) + " " + e.name + " lines");
            }
            if (!vertex) continue;
            double coordinate[3] = {0.0, 0.0, 0.0};
            for (std::size_t p = 0; p < e.properties.size(); ++p) {
                long long length = 1;
                if (e.properties[p].list && !parse_count(next_word(line), length)) {
                    source.fail_line("malformed list length");
                }
                for (long long item = 0; item < length; ++item) {
                    const std::string_view word = next_word(line);
                    double value;
                    if (!parse_coordinate(word, value)) {
                        source.fail_line(word.empty() ? "too few values for a vertex"
                                                      : "malformed number '" +
                                                            std::string(word.substr(0, 40)) + "'");
                    }
                    for (std::size_t k = 0; k < 3; ++k) {
                        if (p == xyz[k]) coordinate[k] = value;
                    }
                }
            }
            sink.add(coordinate[0], coordinate[1], coordinate[2]);
        }
        if (vertex) return;
    }
}

// --- Binary.

// Takes `size` bytes, failing where the file ends.
const unsigned char* take(point_source& source, std::size_t size, const std::string& what) {
    std::size_t got = 0;
    const long long at = source.offset();
    const unsigned char* bytes = source.records(size, 1, got);
    if (got == 0) source.fail_at(at, "the file ends inside " + what);
    return bytes;
}

// Reads one instance of an element that holds a list, property by property; the values of the
// properties `xyz` go to `coordinate` (each its last value, should one be a list).
void read_varying(point_source& source, const ply_element& e, bool big_endian,
                  const std::size_t (&xyz)[3], double (&coordinate)[3]) {
    for (std::size_t p = 0; p < e.properties.size(); ++p) {
        const ply_property& property = e.properties[p];
        std::uint64_t length = 1;
        if (property.list) {
            const long long at = source.offset();
            const unsigned char* bytes = take(source, size_of(property.length_type), e.name);
            if (!decode_count(bytes, property.length_type, big_endian, length)) {
                source.fail_at(at, "a list length that is not a count");
            }
        }
        for (std::uint64_t item = 0; item < length; ++item) {
            const unsigned char* bytes = take(source, size_of(property.type), e.name);
            for (std::size_t k = 0; k < 3; ++k) {
                if (xyz[k] == p) coordinate[k] = decode(bytes, property.type, big_endian);
            }
        }
    }
}

// Fails unless the rest of the file can hold `count` records of `size` bytes (when its size is
// known), before anything is allocated for them.
void check_room(point_source& source, const ply_element& e, std::size_t size) {
    const long long remaining = source.remaining();
    if (remaining >= 0 && e.count > remaining / static_cast<long long>(size)) {
        source.fail_at(source.offset(), std::to_string(e.count) + " " + e.name + " records of " +
                                            std::to_string(size) + " bytes do not fit in the " +
                                            std::to_string(remaining) + " bytes left");
    }
}

void read_binary(point_source& source, const ply_header& header, point_sink& sink) {
    const bool big_endian = header.encoding == ply_encoding::big_endian;
    for (const ply_element& e : header.elements) {
        const std::size_t size = e.fixed_size();
        if (e.name != "vertex") {
            if (e.properties.empty()) continue;  // instances of no bytes
            if (size == 0) {
                // No property has an index past the properties: nothing is kept.
                const std::size_t none[3] = {max_properties, max_properties, max_properties};
                double unused[3];
                for (long long i = 0; i < e.count; ++i) {
                    read_varying(source, e, big_endian, none, unused);
                }
                continue;
            }
            check_room(source, e, size);
            for (long long left = e.count; left > 0;) {
                std::size_t got = 0;
                source.records(size, static_cast<std::size_t>(std::min<long long>(left, 4096)),
                               got);
                if (got == 0) source.fail_at(source.offset(), "the file ends inside " + e.name);
                left -= static_cast<long long>(got);
            }
            continue;
        }
        std::size_t xyz[3];
        find_coordinates(e, source, xyz);
        if (size == 0) {
            for (long long i = 0; i < e.count; ++i) {
                const long long first = source.offset();
                double coordinate[3] = {0.0, 0.0, 0.0};
                read_varying(source, e, big_endian, xyz, coordinate);
                if (!sink.add(coordinate[0], coordinate[1], coordinate[2])) {
                    source.fail_at(first, "an infinite coordinate");
                }
            }
            return;
        }
        check_room(source, e, size);
        sink.expect(e.count);
        std::size_t at[3];
        value_type type[3];
        for (std::size_t k = 0; k < 3; ++k) {
            type[k] = e.properties[xyz[k]].type;
            at[k] = 0;
            for (std::size_t p = 0; p < xyz[k]; ++p) at[k] += size_of(e.properties[p].type);
        }
        for (long long left = e.count; left > 0;) {
            const long long first = source.offset();
            std::size_t got = 0;
            const unsigned char* r = source.records(
                size, static_cast<std::size_t>(std::min<long long>(left, 4096)), got);
            if (got == 0) {
                source.fail_at(first, "the file ends after " + std::to_string(e.count - left) +
                                          " of " + std::to_string(e.count) + " vertices");
            }
            for (std::size_t i = 0; i < got; ++i, r += size) {
                if (!sink.add(decode(r + at[0], type[0], big_endian),
                              decode(r + at[1], type[1], big_endian),
                              decode(r + at[2], type[2], big_endian))) {
                    source.fail_at(first + static_cast<long long>(i * size),
                                   "an infinite coordinate");
                }
            }
            left -= static_cast<long long>(got);
        }
        return;
    }
}

}  // namespace

void read_ply(point_source& source, point_sink& sink) {
    const ply_header header = read_header(source);
    if (std::none_of(header.elements.begin(), header.elements.end(),
                     [](const ply_element& e) { return e.name == "vertex"; })) {
        source.fail("the PLY header has no vertex element");
    }
    if (header.encoding == ply_encoding::ascii) {
        read_ascii(source, header, sink);
    } else {
        read_binary(source, header, sink);
    }
}

}  // namespace vantor::detail

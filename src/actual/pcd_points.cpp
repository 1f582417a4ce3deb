// SPDX-License-Identifier: Apache-2.0
// PCD (Point Cloud Data): a text header (VERSION, FIELDS, SIZE, TYPE, COUNT, WIDTH, HEIGHT,
// VIEWPOINT, POINTS, DATA), then the points as text lines or as little-endian binary records.
// The points are the x, y and z fields; compressed data is not read.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "actual/binary_values.h"
#include "actual/coordinates.h"
#include "actual/point_readers.h"

namespace vantor::detail {
namespace {

struct pcd_field {
    std::string name;
    std::size_t size = 4;
    char type = 'F';
    long long count = 1;
    value_type value = value_type::float32;
};

// More fields than this are taken for damage: it bounds a record's size.
constexpr std::size_t max_fields = 1024;

struct pcd_header {
    std::vector<pcd_field> fields;
    long long points = -1;
    long long width = -1, height = -1;
    bool binary = false;
};

// The values of a header line, one per field; fails when their number differs.
std::vector<std::string_view> field_values(std::string_view rest, const pcd_header& h,
                                           const point_source& source) {
    std::vector<std::string_view> values;
    for (std::string_view w = next_word(rest); !w.empty(); w = next_word(rest)) {
        if (values.size() == max_fields) source.fail_line("too many fields");
        values.push_back(w);
    }
    if (values.size() != h.fields.size()) {
        source.fail_line("expected " + std::to_string(h.fields.size()) + " values, one per field");
    }
    return values;
}

bool value_type_of(char type, std::size_t size, value_type& v) {
    static const struct {
        char type;
        std::size_t size;
        value_type value;
    } types[] = {{'F', 4, value_type::float32}, {'F', 8, value_type::float64},
                 {'I', 1, value_type::int8},    {'I', 2, value_type::int16},
                 {'I', 4, value_type::int32},   {'I', 8, value_type::int64},
                 {'U', 1, value_type::uint8},   {'U', 2, value_type::uint16},
                 {'U', 4, value_type::uint32},  {'U', 8, value_type::uint64}};
    for (const auto& t : types) {
        if (t.type == type && t.size == size) {
            v = t.value;
            return true;
        }
    }
    return false;
}

pcd_header read_header(point_source& source) {
    pcd_header h;
    std::string_view line;
    while (true) {
        if (!source.next_line(line)) source.fail("the PCD header has no DATA line");
        std::string_view rest = line;
        const std::string_view keyword = next_word(rest);
        if (keyword.empty() || keyword.front() == '#') continue;
        if (keyword == "VERSION" || keyword == "VIEWPOINT") continue;
        if (keyword == "FIELDS") {
            for (std::string_view w = next_word(rest); !w.empty(); w = next_word(rest)) {
                if (h.fields.size() == max_fields) source.fail_line("too many fields");
                h.fields.push_back({std::string(w)});
            }
        } else if (keyword == "SIZE" || keyword == "TYPE" || keyword == "COUNT") {
            const std::vector<std::string_view> values = field_values(rest, h, source);
            for (std::size_t i = 0; i < values.size(); ++i) {
                pcd_field& f = h.fields[i];
                long long n = 0;
                if (keyword == "TYPE") {
                    if (values[i].size() != 1) source.fail_line("a TYPE is I, U or F");
                    f.type = values[i][0];
                } else if (!parse_count(values[i], n) || n < 1 || n > 64) {
                    source.fail_line("malformed " + std::string(keyword) + " value");
                } else if (keyword == "SIZE") {
                    f.size = static_cast<std::size_t>(n);
                } else {
                    f.count = n;
                }
            }
        } else if (keyword == "WIDTH" || keyword == "HEIGHT" || keyword == "POINTS") {
            long long n = 0;
            if (!parse_count(next_word(rest), n)) {
                source.fail_line("malformed " + std::string(keyword) + " value");
            }
            (keyword == "WIDTH" ? h.width : keyword == "HEIGHT" ? h.height : h.points) = n;
        } else if (keyword == "DATA") {
            const std::string_view data = next_word(rest);
            if (data == "binary_compressed") {
                source.fail_line("compressed PCD data is not read; save it as binary or ascii");
            }
            if (data != "ascii" && data != "binary") source.fail_line("unknown PCD data kind");
            h.binary = data == "binary";
            break;
        } else {
            source.fail_line("unknown PCD header line '" + std::string(keyword.substr(0, 40)) +
                             "'");
        }
    }
    for (pcd_field& f : h.fields) {
        if (!value_type_of(f.type, f.size, f.value)) {
            source.fail("field " + f.name + ": no type " + f.type + " of size " +
                        std::to_string(f.size));
        }
    }
    if (h.points < 0) {
        if (h.width < 0 || h.height < 0) source.fail("the PCD header gives no number of points");
        if (h.height > 0 && h.width > (1ll << 62) / h.height) source.fail("too many points");
        h.points = h.width * h.height;
    }
    return h;
}

}  // namespace

bool pcd_header_line(std::string_view line) {
    if (line.substr(0, 6) == "# .PCD") return true;
    const std::string_view keyword = next_word(line);
    return keyword == "VERSION" || keyword == "FIELDS";
}

void read_pcd(point_source& source, point_sink& sink) {
    const pcd_header h = read_header(source);
    // Where x, y and z are: the field, its value index in a text line, its byte in a record.
    std::size_t field[3] = {0, 0, 0}, word[3] = {0, 0, 0}, byte[3] = {0, 0, 0};
    std::size_t words = 0, record = 0;
    const char* const names[3] = {"x", "y", "z"};
    for (std::size_t k = 0; k < 3; ++k) {
        const auto at = std::find_if(h.fields.begin(), h.fields.end(),
                                     [&](const pcd_field& f) { return f.name == names[k]; });
        if (at == h.fields.end() || at->count != 1) {
            source.fail(std::string("the PCD file has no single field ") + names[k]);
        }
        field[k] = static_cast<std::size_t>(at - h.fields.begin());
    }
    for (std::size_t i = 0; i < h.fields.size(); ++i) {
        for (std::size_t k = 0; k < 3; ++k) {
            if (field[k] == i) {
                word[k] = words;
                byte[k] = record;
            }
        }
        words += static_cast<std::size_t>(h.fields[i].count);
        record += h.fields[i].size * static_cast<std::size_t>(h.fields[i].count);
    }

    if (!h.binary) {
        std::string_view line;
        for (long long i = 0; i < h.points; ++i) {
            if (!source.next_line(line)) {
                source.fail("the file ends after " + std::to_string(i) + " of " +
                            std::to_string(h.points) + " points");
            }
            double xyz[3] = {0.0, 0.0, 0.0};
            for (std::size_t w = 0; w < words; ++w) {
                const std::string_view value = next_word(line);
                if (value.empty()) source.fail_line("too few values for a point");
                for (std::size_t k = 0; k < 3; ++k) {
                    if (word[k] == w && !parse_coordinate(value, xyz[k])) {
                        source.fail_line("malformed number '" + std::string(value.substr(0, 40)) +
                                         "'");
                    }
                }
            }
            sink.add(xyz[0], xyz[1], xyz[2]);  // parse_coordinate takes no infinity
        }
        return;
    }

    const long long remaining = source.remaining();
    if (remaining >= 0 && h.points > remaining / static_cast<long long>(record)) {
        source.fail_at(source.offset(), std::to_string(h.points) + " points of " +
                                            std::to_string(record) + " bytes do not fit in the " +
                                            std::to_string(remaining) + " bytes left");
    }
    sink.expect(h.points);
    for (long long left = h.points; left > 0;) {
        const long long first = source.offset();
        std::size_t got = 0;
        const unsigned char* r =
            source.records(record, static_cast<std::size_t>(std::min<long long>(left, 4096)), got);
        if (got == 0) {
            source.fail_at(first, "the file ends after " + std::to_string(h.points - left) +
                                      " of " + std::to_string(h.points) + " points");
        }
        for (std::size_t i = 0; i < got; ++i, r += record) {
            if (!sink.add(decode(r + byte[0], h.fields[field[0]].value, false),
                          decode(r + byte[1], h.fields[field[1]].value, false),
                          decode(r + byte[2], h.fields[field[2]].value, false))) {
                source.fail_at(first + static_cast<long long>(i * record),
                               "an infinite coordinate");
            }
        }
        left -= static_cast<long long>(got);
    }
}

}  // namespace vantor::detail

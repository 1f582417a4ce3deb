// Feeds arbitrary bytes to the program's text point reader. It must either throw its error, with a
// message that names the input, or return exactly the points the text holds. What the text holds
// is worked out here independently: lines split at '\n' (a '\r' before it dropped), comments cut
// at '#', the fields of a line that holds any, each read with strtod (decimal commas made
// points); a first line whose fields are not all numbers is the header.
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "error.h"
#include "point_file.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

bool is_separator(char c, bool decimal_comma) {
    return c == ' ' || c == '\t' || c == ';' || (c == ',' && !decimal_comma);
}

// The fields of a line, split at runs of separators.
std::vector<std::string> fields_of(std::string_view line, bool decimal_comma) {
    std::vector<std::string> fields;
    std::string field;
    for (const char c : line) {
        if (!is_separator(c, decimal_comma)) {
            field += decimal_comma && c == ',' ? '.' : c;
        } else if (!field.empty()) {
            fields.push_back(field);
            field.clear();
        }
    }
    if (!field.empty()) fields.push_back(field);
    return fields;
}

// The decimal-comma rule, restated: fields separated by ';' (or, without any, by tabs), each
// holding exactly one comma and no blank once the blanks around it are dropped.
bool uses_decimal_comma(std::string_view line) {
    const char separator = line.find(';') != std::string_view::npos    ? ';'
                           : line.find('\t') != std::string_view::npos ? '\t'
                                                                       : 0;
    if (separator == 0) return false;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = line.find(separator, start);
        std::string_view field = line.substr(start, end - start);
        while (!field.empty() && (field.front() == ' ' || field.front() == '\t')) {
            field.remove_prefix(1);
        }
        while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) {
            field.remove_suffix(1);
        }
        int commas = 0;
        for (const char c : field) {
            if (c == ',') ++commas;
            if (c == ' ' || c == '\t') return false;
        }
        if (commas != 1) return false;
        if (end == std::string_view::npos) return true;
        start = end + 1;
    }
}

// A decimal number as strtod reads it, the whole field, finite and not hexadecimal.
bool number_of(const std::string& field, double& value) {
    if (field.find_first_of("xXnN") != std::string::npos) return false;  // hex, inf, nan
    errno = 0;
    char* end = nullptr;
    value = std::strtod(field.c_str(), &end);
    return end == field.c_str() + field.size() && std::isfinite(value);
}

std::vector<spanto::point> expected_points(std::string_view text) {
    std::vector<spanto::point> points;
    bool first = true;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = line.substr(0, line.find('#'));
        const std::vector<std::string> fields = fields_of(line, uses_decimal_comma(line));
        if (fields.empty()) continue;
        double xyz[3];
        bool numbers = fields.size() == 3;
        for (std::size_t k = 0; numbers && k < 3; ++k) numbers = number_of(fields[k], xyz[k]);
        if (!numbers) {
            // Only the header can fail to be a point in a text that was read.
            check(first);
            first = false;
            continue;
        }
        first = false;
        points.emplace_back(xyz[0], xyz[1], xyz[2]);
    }
    return points;
}

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    char empty = 0;
    void* buffer = size > 0 ? const_cast<std::uint8_t*>(data) : static_cast<void*>(&empty);
    std::FILE* f = fmemopen(buffer, size, "r");
    check(f != nullptr);
    std::unique_ptr<vantor::actual> read;
    try {
        read = vantor::cli::read_text_points(f, "input");
    } catch (const vantor::cli::error& e) {
        std::fclose(f);
        check(std::strncmp(e.what(), "input:", 6) == 0);
        return 0;
    }
    std::fclose(f);
    const std::vector<spanto::point> expected =
        expected_points(std::string_view(reinterpret_cast<const char*>(data), size));
    check(read != nullptr && read->numpoints() == static_cast<int>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const spanto::point& p = read->data()[i];
        check(same_bits(p.x, expected[i].x) && same_bits(p.y, expected[i].y) &&
              same_bits(p.z, expected[i].z));
    }
    return 0;
}

// SPDX-License-Identifier: Apache-2.0
// Feeds arbitrary bytes to the program's text point reader. It must either throw its error, with a
// message that names the input, or return exactly the points the text holds. What the text holds
// is worked out here independently: lines split at '\n' (a '\r' before it dropped), comments cut
// at '#', the fields of a line that holds any, each read with strtod (decimal commas made
// points); a first line whose fields are not all numbers is the header, which chooses its
// columns named x, y and z when it has them in another place than the first three; rows with a
// NaN are left out. Quoted fields are not restated: for text with a quote only the form of the
// result is checked.
#include <algorithm>
#include <cctype>
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

// A decimal number as strtod reads it, the whole field, not infinite and not hexadecimal; NaN
// for "nan".
bool number_of(const std::string& field, double& value) {
    if (field.find_first_of("xX") != std::string::npos) return false;  // hexadecimal
    // strtod skips white space ('\r', '\v', '\f' here) that no field of the reader skips.
    if (field.empty() || std::isspace(static_cast<unsigned char>(field[0]))) return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtod(field.c_str(), &end);
    return !field.empty() && end == field.c_str() + field.size() && !std::isinf(value);
}

bool same_name(const std::string& field, char name) {
    return field.size() == 1 && (field[0] == name || field[0] == name - 'a' + 'A');
}

std::vector<spanto::point> expected_points(std::string_view text) {
    std::vector<spanto::point> points;
    bool first = true;
    std::size_t column[3] = {0, 1, 2};
    bool chosen = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = line.substr(0, line.find('#'));
        const std::vector<std::string> fields = fields_of(line, uses_decimal_comma(line));
        if (fields.empty()) continue;
        double value = 0;
        const bool numbers = std::all_of(fields.begin(), fields.end(),
                                         [&](const std::string& f) { return number_of(f, value); });
        if (first && !numbers) {
            first = false;
            std::size_t found[3];
            for (std::size_t k = 0; k < 3; ++k) {
                found[k] =
                    std::find_if(fields.begin(), fields.end(),
                                 [&](const std::string& f) { return same_name(f, "xyz"[k]); }) -
                    fields.begin();
            }
            const bool named =
                found[0] < fields.size() && found[1] < fields.size() && found[2] < fields.size();
            if (named && !(fields.size() == 3 && found[0] == 0 && found[1] == 1 && found[2] == 2)) {
                chosen = true;
                std::copy(found, found + 3, column);
            }
            continue;
        }
        first = false;
        // Only the header can fail to be a point in a text that was read.
        check(chosen || (numbers && fields.size() == 3));
        double xyz[3];
        for (std::size_t k = 0; k < 3; ++k) {
            check(column[k] < fields.size() && number_of(fields[column[k]], xyz[k]));
        }
        if (std::isnan(xyz[0]) || std::isnan(xyz[1]) || std::isnan(xyz[2])) continue;
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
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (text.find('"') != std::string_view::npos) {
        check(read != nullptr && read->numpoints() > 0);
        for (const spanto::point& p : *read) {
            check(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
        }
        return 0;
    }
    const std::vector<spanto::point> expected = expected_points(text);
    check(read != nullptr && read->numpoints() == static_cast<int>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const spanto::point& p = read->data()[i];
        check(same_bits(p.x, expected[i].x) && same_bits(p.y, expected[i].y) &&
              same_bits(p.z, expected[i].z));
    }
    return 0;
}

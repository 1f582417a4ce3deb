// SPDX-License-Identifier: Apache-2.0
#include "report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "units.h"

namespace vantor::cli {

report to_report(const spanto::point& p) { return report::array({p.x, p.y, p.z}); }
report to_report(const spanto::vector& v) { return report::array({v.x, v.y, v.z}); }

std::string stamp_text(std::int32_t date, std::int32_t time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", int(date / 10000),
                  int(date / 100 % 100), int(date % 100), int(time / 10000), int(time / 100 % 100),
                  int(time % 100));
    return text;
}

std::string format_fixed(double value, int decimals) {
    const int size = std::snprintf(nullptr, 0, "%.*f", decimals, value);
    std::string s(static_cast<std::size_t>(std::max(size, 0)), '\0');
    std::snprintf(s.data(), s.size() + 1, "%.*f", decimals, value);
    if (s.find_first_not_of("-0.") == std::string::npos && s.front() == '-') s.erase(0, 1);
    return s;
}

std::string format_length(double value, int decimals) {
    if (value == 0.0 || !std::isfinite(value)) return format_fixed(value, decimals);
    // The exponent of the value rounded to five significant digits, as %e gives it.
    char text[32];
    std::snprintf(text, sizeof text, "%.4e", value);
    const int exponent = std::atoi(std::strchr(text, 'e') + 1);
    if (exponent < -4) return text;
    return format_fixed(value, std::max(decimals, 4 - exponent));
}

namespace {

// How print_text prints a number: see there.
enum class number_kind { length, coordinate, plain };

number_kind kind_of(const std::string& key) {
    static const std::set<std::string> coordinates = {"centre", "origin",   "apex", "point0",
                                                      "point1", "centroid", "min",  "max"};
    static const std::set<std::string> plain = {"direction",  "normal",       "half_angle",
                                                "phase_deg",  "upr",          "upr_limit",
                                                "filter_upr", "magnification"};
    if (coordinates.count(key) > 0) return number_kind::coordinate;
    if (plain.count(key) > 0) return number_kind::plain;
    return number_kind::length;
}

// Where the numbers of an object stand: the decimals that resolve 1 nm in the report's unit, and
// whether under "uncertainty".
struct numbers_in {
    int decimals;
    bool uncertainty;
};

std::string number_text(double value, const std::string& key, const numbers_in& where) {
    const number_kind kind = kind_of(key);
    // An uncertainty is read for its leading digits, whatever it is the uncertainty of.
    if (where.uncertainty)
        return format_length(value, kind == number_kind::plain ? 0 : where.decimals);
    switch (kind) {
        case number_kind::coordinate:
            return format_fixed(value, where.decimals);
        case number_kind::plain:
            return format_fixed(value, 6);
        case number_kind::length:
            break;
    }
    return format_length(value, where.decimals);
}

// The value of `key` as text; numbers as number_text prints them.
std::string value_text(const report& value, const std::string& key, const numbers_in& where) {
    if (value.is_string()) return value.get<std::string>();
    if (value.is_boolean()) return value.get<bool>() ? "yes" : "no";
    if (value.is_number_integer()) return value.dump();
    if (value.is_number()) return number_text(value.get<double>(), key, where);
    if (value.is_null()) return "-";  // NaN, which JSON cannot hold
    if (value.is_array()) {
        std::string text;
        for (const report& item : value) {
            text += (text.empty() ? "" : " ") + value_text(item, key, where);
        }
        return text;
    }
    return value.dump();
}

std::string label_of(std::string key) {
    std::replace(key.begin(), key.end(), '_', ' ');
    return key;
}

// A non-empty array of objects, each with the keys of the first in its order.
bool is_records(const report& value) {
    if (!value.is_array() || value.empty() || !value.front().is_object()) return false;
    for (const report& row : value) {
        if (!row.is_object() || row.size() != value.front().size()) return false;
        auto key = value.front().items().begin();
        for (const auto& item : row.items()) {
            if (item.key() != key.key()) return false;
            ++key;
        }
    }
    return true;
}

// Records without an object among their values.
bool is_table(const report& value) {
    if (!is_records(value)) return false;
    return std::none_of(value.begin(), value.end(), [](const report& row) {
        return std::any_of(row.begin(), row.end(), [](const report& v) { return v.is_object(); });
    });
}

// One line of column headings (the keys) and one line a row, in aligned columns.
void print_table(const report& rows, std::ostream& out, const std::string& indent,
                 const numbers_in& where) {
    std::vector<std::vector<std::string>> cells(1);
    for (const auto& item : rows.front().items()) cells[0].push_back(label_of(item.key()));
    for (const report& row : rows) {
        cells.emplace_back();
        for (const auto& item : row.items()) {
            cells.back().push_back(value_text(item.value(), item.key(), where));
        }
    }
    std::vector<std::size_t> widths(cells[0].size(), 0);
    for (const auto& line : cells) {
        for (std::size_t c = 0; c < line.size(); ++c)
            widths[c] = std::max(widths[c], line[c].size());
    }
    for (const auto& line : cells) {
        std::string text = indent;
        for (std::size_t c = 0; c < line.size(); ++c) {
            text += line[c];
            if (c + 1 < line.size()) text += std::string(widths[c] - line[c].size() + 2, ' ');
        }
        out << text << '\n';
    }
}

void print_object(const report& r, std::ostream& out, const std::string& indent,
                  const numbers_in& where) {
    std::size_t width = 0;
    for (const auto& item : r.items()) width = std::max(width, item.key().size());
    for (const auto& item : r.items()) {
        std::string label = label_of(item.key());
        if (item.value().is_object()) {
            out << indent << label << '\n';
            print_object(item.value(), out, indent + "  ",
                         {where.decimals, where.uncertainty || item.key() == "uncertainty"});
        } else if (is_table(item.value())) {
            out << indent << label << '\n';
            print_table(item.value(), out, indent + "  ", where);
        } else if (is_records(item.value())) {
            for (std::size_t k = 0; k < item.value().size(); ++k) {
                out << indent << label << ' ' << k + 1 << '\n';
                print_object(item.value()[k], out, indent + "  ", where);
            }
        } else {
            label.resize(width + 2, ' ');
            out << indent << label << value_text(item.value(), item.key(), where) << '\n';
        }
    }
}

}  // namespace

void print_text(const report& r, std::ostream& out) {
    const auto unit = r.find("unit");
    const bool stated = unit != r.end() && unit->is_string();
    print_object(r, out, "", {nanometre_decimals(stated ? unit->get<std::string>() : ""), false});
}

}  // namespace vantor::cli

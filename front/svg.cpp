// SPDX-License-Identifier: Apache-2.0
#include "svg.h"

#include <cmath>
#include <cstdio>

#include "units.h"

namespace vantor::cli::svg {

double nice_floor(double x) {
    const double decade = std::pow(10.0, std::floor(std::log10(x)));
    const double m = x / decade;
    return (m >= 5.0 ? 5.0 : m >= 2.0 ? 2.0 : 1.0) * decade;
}

double nice_ceil(double x) {
    const double decade = std::pow(10.0, std::floor(std::log10(x)));
    const double m = x / decade;
    return (m <= 1.0 ? 1.0 : m <= 2.0 ? 2.0 : m <= 5.0 ? 5.0 : 10.0) * decade;
}

std::string escape(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                // Control characters are not allowed in XML 1.0 text.
                out += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
        }
    }
    return out;
}

std::string mm(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", v);
    return text;
}

std::string plain(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", v);
    return text;
}

std::string document_start(double page_width, double page_height, const std::string& title) {
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    s += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + plain(page_width) +
         "mm\" height=\"" + plain(page_height) + "mm\" viewBox=\"0 0 " + plain(page_width) + " " +
         plain(page_height) + "\" font-family=\"Helvetica, Arial, sans-serif\">\n";
    s += "<title>" + title + "</title>\n";
    s += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    return s;
}

std::string text(double x, double y, const std::string& attributes, const std::string& content) {
    return "<text x=\"" + mm(x) + "\" y=\"" + mm(y) + "\" " + attributes + ">" + content +
           "</text>\n";
}

std::string unit_symbol(const std::string& unit) {
    const length_unit* u = unit_named(unit);
    return u != nullptr ? u->symbol : unit;
}

std::string with_unit(const std::string& value, const std::string& unit) {
    return unit.empty() ? value : value + " " + unit_symbol(unit);
}

}  // namespace vantor::cli::svg

#include "svg.h"

#include <cmath>
#include <cstdio>

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

std::string text(double x, double y, const std::string& attributes, const std::string& content) {
    return "<text x=\"" + mm(x) + "\" y=\"" + mm(y) + "\" " + attributes + ">" + content +
           "</text>\n";
}

std::string unit_symbol(const std::string& unit) { return unit == "um" ? "\u00b5m" : unit; }

std::string with_unit(const std::string& value, const std::string& unit) {
    return unit.empty() ? value : value + " " + unit_symbol(unit);
}

}  // namespace vantor::cli::svg

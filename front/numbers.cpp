// SPDX-License-Identifier: Apache-2.0
#include "numbers.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "error.h"

namespace vantor::cli {

bool parse_number(std::string_view text, double& value) {
    // from_chars takes no leading '+'; accept one, but not "+-1".
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return false;
    }
    if (text.empty()) return false;
    double parsed = 0.0;
    const char* const end = text.data() + text.size();
    const auto [stop, ec] = std::from_chars(text.data(), end, parsed);
    if (ec != std::errc() || stop != end || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

std::vector<double> parse_numbers(std::string_view text, const std::string& option,
                                  const std::vector<std::string>& names) {
    std::string form = "a number";
    if (names.size() > 1) {
        form.clear();
        for (const std::string& name : names) form += (form.empty() ? "" : ",") + name;
        form += " (" + std::to_string(names.size()) + " numbers separated by commas)";
    }
    const auto fail = [&](const std::string& why) {
        return error(option + " expects " + form + ": " + why);
    };

    std::vector<double> values;
    std::string_view rest = text;
    while (true) {
        const std::size_t comma = rest.find(',');
        std::string_view field = rest.substr(0, comma);
        while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
        while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
        double value = 0.0;
        if (!parse_number(field, value)) {
            throw fail(field.empty() ? "empty field " + std::to_string(values.size() + 1)
                                     : "'" + printable(field) + "' is not a number");
        }
        values.push_back(value);
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    if (values.size() != names.size()) {
        throw fail("got " + std::to_string(values.size()) + " in '" + printable(text) + "'");
    }
    return values;
}

std::string printable(std::string_view text) {
    constexpr std::size_t limit = 40;
    std::string out;
    for (const char c : text.substr(0, limit)) {
        const auto u = static_cast<unsigned char>(c);
        out += (u >= 0x20 && u < 0x7f) ? c : '?';
    }
    if (text.size() > limit) out += "...";
    return out;
}

}  // namespace vantor::cli

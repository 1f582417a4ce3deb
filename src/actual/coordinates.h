// SPDX-License-Identifier: Apache-2.0
// Numbers and words of the text formats: coordinates as every reader takes them.
#ifndef VANTOR_ACTUAL_COORDINATES_H
#define VANTOR_ACTUAL_COORDINATES_H

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <system_error>

namespace vantor::detail {

inline bool is_blank(char c) { return c == ' ' || c == '\t'; }

// Reads a plain decimal at `p` ("-12.3456", "7", ".5": no exponent, at most 19 digits) whose
// digits make an integer m of at most 2^53, so that m and the power of ten are exact
// doubles and one division rounds correctly (Clinger's fast path): the numbers of most measurement
// files, read without the general parser. Returns where its digits end, or nullptr (`value`
// unchanged) when no such number starts at `p`; what follows it is for the caller to judge.
inline const char* read_plain_decimal(const char* p, const char* end, double& value) {
    static constexpr double powers_of_ten[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,
                                               1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13,
                                               1e14, 1e15, 1e16, 1e17, 1e18, 1e19};
    // The sign is taken without a branch: in scanned data it is as good as random.
    const bool negative = p != end && *p == '-';
    p += negative;
    // Up to 19 digits cannot overflow m; more are left to the general parser.
    std::uint64_t m = 0;
    const char* const first = p;
    const auto digits = [&] {
        for (unsigned digit; p != end && (digit = static_cast<unsigned>(*p) - '0') < 10; ++p) {
            m = 10 * m + digit;
        }
    };
    digits();
    std::ptrdiff_t fraction = 0;
    if (p != end && *p == '.') {
        const char* const point = ++p;
        digits();
        fraction = p - point;
        if (fraction == 0) return nullptr;
    }
    const std::ptrdiff_t count = p - first - (fraction > 0);
    if (count == 0 || count > 19 || m > (std::uint64_t{1} << 53)) return nullptr;
    const double magnitude = static_cast<double>(m) / powers_of_ten[fraction];
    std::uint64_t bits;
    std::memcpy(&bits, &magnitude, sizeof bits);
    bits |= std::uint64_t{negative} << 63;
    std::memcpy(&value, &bits, sizeof value);
    return p;
}

// Parses the whole of `field` as a coordinate: a decimal number with an optional sign ("-1.5",
// "+2", ".5", "3e-4") that is finite, or "nan" in any case (a missing value: NaN). Empty text,
// infinities, hexadecimal forms, values beyond the range of double and trailing characters give
// false and leave `value` unchanged.
inline bool parse_coordinate(std::string_view field, double& value) {
    const char* first = field.data();
    const char* const end = first + field.size();
    // from_chars takes no leading '+'; accept one, but not "+-1".
    if (first != end && *first == '+') {
        ++first;
        if (first != end && *first == '-') return false;
    }
    double parsed;
    if (read_plain_decimal(first, end, parsed) == end) {
        value = parsed;
        return true;
    }
    const auto [stop, ec] = std::from_chars(first, end, parsed);
    if (ec != std::errc() || stop != end || std::isinf(parsed) || first == end) return false;
    value = parsed;
    return true;
}

// Parses the whole of `field` as a count: decimal digits only, at most 2^63 - 1.
inline bool parse_count(std::string_view field, long long& count) {
    const char* const end = field.data() + field.size();
    const auto [stop, ec] = std::from_chars(field.data(), end, count);
    return ec == std::errc() && stop == end && count >= 0 && !field.empty() && field[0] != '-';
}

// Takes the next run of characters other than blanks from `rest`; empty at its end.
inline std::string_view next_word(std::string_view& rest) {
    std::size_t i = 0;
    while (i < rest.size() && is_blank(rest[i])) ++i;
    std::size_t j = i;
    while (j < rest.size() && !is_blank(rest[j])) ++j;
    const std::string_view word = rest.substr(i, j - i);
    rest.remove_prefix(j);
    return word;
}

// True when `a` equals the lower-case word `b` without regard to case.
inline bool same_word(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char c = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        if (c != b[i]) return false;
    }
    return true;
}

}  // namespace vantor::detail

#endif  // VANTOR_ACTUAL_COORDINATES_H

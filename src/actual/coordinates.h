// Numbers and words of the text formats: coordinates as every reader takes them.
#ifndef VANTOR_ACTUAL_COORDINATES_H
#define VANTOR_ACTUAL_COORDINATES_H

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <system_error>

#include "core/byteorder.h"

namespace vantor::detail {

inline bool is_blank(char c) { return c == ' ' || c == '\t'; }

// The number of decimal digits (0 to 8) that open the eight bytes at `p`, and in `value` the
// number they make: eight bytes at once, as in the fast_float library.
inline int leading_digits(const char* p, std::uint64_t& value) {
    const std::uint64_t bytes = load_le<std::uint64_t>(reinterpret_cast<const unsigned char*>(p));
    // Each byte '0' to '9' gives 0; a carry out of a byte above 0xf9 only reaches bytes after it.
    const std::uint64_t other = ((bytes & 0xf0f0f0f0f0f0f0f0) |
                                 (((bytes + 0x0606060606060606) & 0xf0f0f0f0f0f0f0f0) >> 4)) ^
                                0x3333333333333333;
    const int n = other == 0 ? 8 : __builtin_ctzll(other) / 8;
    if (n == 0) {
        value = 0;
        return 0;
    }
    // The n digits moved to the top behind zeros (a borrow from a byte below '0' only reaches
    // bytes after it, which the shift drops), then combined in pairs, fours and eights.
    std::uint64_t v = (bytes - 0x3030303030303030) << (8 * (8 - n));
    v = v * 10 + (v >> 8);
    v = (((v & 0x000000ff000000ff) * (100 + (1000000ULL << 32))) +
         (((v >> 16) & 0x000000ff000000ff) * (1 + (10000ULL << 32)))) >>
        32;
    value = v;
    return n;
}

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
        for (int n = 8; n == 8 && end - p >= 8; p += n) {
            std::uint64_t value;
            n = leading_digits(p, value);
            static constexpr std::uint64_t scale[] = {1,      10,      100,      1000,     10000,
                                                      100000, 1000000, 10000000, 100000000};
            m = m * scale[n] + value;
        }
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
    value = std::copysign(magnitude, negative ? -1.0 : 1.0);
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

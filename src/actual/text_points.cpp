// SPDX-License-Identifier: Apache-2.0
// Text point files: one point a line, fields separated by blanks, a comma or a semicolon.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "actual/coordinates.h"
#include "actual/job_pair.h"
#include "actual/point_readers.h"

namespace vantor::detail {
namespace {

bool is_delimiter(char c) { return c == ',' || c == ';'; }

// Why a line cannot be read, without the name and line number that the caller adds.
struct line_error {
    std::string what;
};

[[noreturn]] void fail(std::string what) { throw line_error{std::move(what)}; }

std::string_view trim_blanks(std::string_view s) {
    while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
    return s;
}

// True when the line writes its numbers with a decimal comma: its fields are separated by
// semicolons (or, without any, by tabs), and every field holds exactly one comma and no blank.
// A line that reads so cannot be read the other way: a comma there would split every field.
bool decimal_comma_line(std::string_view line) {
    const char separator = line.find(';') != std::string_view::npos    ? ';'
                           : line.find('\t') != std::string_view::npos ? '\t'
                                                                       : '\0';
    if (separator == '\0') return false;
    while (true) {
        const std::size_t end = line.find(separator);
        const std::string_view field = trim_blanks(line.substr(0, end));
        if (field.empty() || std::count(field.begin(), field.end(), ',') != 1 ||
            std::any_of(field.begin(), field.end(), is_blank)) {
            return false;
        }
        if (end == std::string_view::npos) return true;
        line.remove_prefix(end + 1);
    }
}

// Splits a line (comment already removed) into fields: separated by blanks, or by one comma or
// semicolon with optional blanks around it; one separator may end the line (spreadsheets write
// one). A field in double quotes may hold separators ("" stands for a quote); its value is what
// the quotes enclose. Fails, naming the field, where two separators meet, a separator starts the
// line, or a quote is left open or followed by more text.
void split_fields(std::string_view line, std::vector<std::string_view>& fields) {
    fields.clear();
    const std::size_t n = line.size();
    std::size_t i = 0;
    while (i < n && is_blank(line[i])) ++i;
    if (i == n) return;
    const auto field_number = [&] { return std::to_string(fields.size() + 1); };
    while (true) {
        if (line[i] == '"') {
            const std::size_t start = ++i;
            while (true) {
                while (i < n && line[i] != '"') ++i;
                if (i + 1 < n && line[i + 1] == '"') {
                    i += 2;  // an escaped quote
                    continue;
                }
                break;
            }
            if (i == n) fail("quote left open in field " + field_number());
            const std::size_t close = i++;
            if (i < n && !is_blank(line[i]) && !is_delimiter(line[i])) {
                fail("text after the closing quote of field " + field_number());
            }
            fields.push_back(line.substr(start, close - start));
        } else {
            const std::size_t start = i;
            while (i < n && !is_blank(line[i]) && !is_delimiter(line[i])) ++i;
            if (i == start) {
                fail("empty field " + field_number() + " (two separators meet)");
            }
            fields.push_back(line.substr(start, i - start));
        }
        while (i < n && is_blank(line[i])) ++i;
        if (i == n) return;
        if (is_delimiter(line[i])) {
            ++i;
            while (i < n && is_blank(line[i])) ++i;
            if (i == n) return;  // a trailing separator
        }
    }
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// True when the field would be taken for a number, well formed or not: it begins with a digit,
// or with a sign or point followed by a digit or point, or it spells nan, inf or infinity. No
// such field can be a column name, so a line holding one is never skipped as a header: a point
// whose numbers are out of range or not finite is an error, not a silently lost point.
bool looks_numeric(std::string_view field) {
    if (!field.empty() && (field.front() == '+' || field.front() == '-')) {
        field.remove_prefix(1);
    }
    if (field.empty()) return false;
    if (is_digit(field.front())) return true;
    if (field.front() == '.' && field.size() > 1 && (is_digit(field[1]) || field[1] == '.')) {
        return true;
    }
    return same_word(field, "nan") || same_word(field, "inf") || same_word(field, "infinity");
}

// Which fields of a line hold x, y and z.
class column_choice {
  public:
    // From read_options::columns: three column numbers or header names, or none.
    column_choice(const std::vector<std::string>& columns, const point_source& source) {
        if (columns.empty()) return;
        if (columns.size() != 3) {
            source.fail("three columns are chosen, for x, y and z, not " +
                        std::to_string(columns.size()));
        }
        chosen_ = true;
        for (std::size_t k = 0; k < 3; ++k) {
            const std::string& c = columns[k];
            if (!c.empty() && c.size() <= 6 && std::all_of(c.begin(), c.end(), is_digit) &&
                std::stoi(c) > 0) {
                index_[k] = static_cast<std::size_t>(std::stoi(c)) - 1;
            } else if (c.empty() || std::all_of(c.begin(), c.end(), is_digit)) {
                source.fail("column '" + c + "' is neither a column number from 1 nor a name");
            } else {
                names_ = true;
            }
        }
        needed_ = *std::max_element(index_, index_ + 3) + 1;
        names_or_indices_ = columns;
    }

    // Takes the header line: the chosen names are looked up in it; without a choice, its
    // columns named x, y and z are chosen when it has all three.
    void header(const std::vector<std::string_view>& fields, const point_source& source) {
        if (!chosen_) {
            std::size_t found[3];
            const char* const xyz[3] = {"x", "y", "z"};
            for (std::size_t k = 0; k < 3; ++k) {
                found[k] = column_named(fields, xyz[k]);
                if (found[k] == fields.size()) return;
            }
            // Named in the order the points are read anyway: nothing to choose.
            if (fields.size() == 3 && found[0] == 0 && found[1] == 1 && found[2] == 2) return;
            chosen_ = true;
            std::copy(found, found + 3, index_);
            needed_ = *std::max_element(index_, index_ + 3) + 1;
            return;
        }
        if (!names_) return;
        for (std::size_t k = 0; k < 3; ++k) {
            const std::string& c = names_or_indices_[k];
            if (std::all_of(c.begin(), c.end(), is_digit)) continue;
            index_[k] = column_named(fields, c);
            if (index_[k] == fields.size()) {
                source.fail_line("no column named '" + c + "' in the header line");
            }
        }
        names_ = false;
        needed_ = *std::max_element(index_, index_ + 3) + 1;
    }

    // A line of points came first: names cannot be looked up.
    void no_header(const point_source& source) const {
        if (names_) source.fail_line("columns are chosen by name, but the file has no header line");
    }

    bool chosen() const { return chosen_; }
    std::size_t needed() const { return needed_; }
    std::size_t operator[](std::size_t k) const { return index_[k]; }

  private:
    // The first field equal to `name` without regard to case; fields.size() when none is.
    static std::size_t column_named(const std::vector<std::string_view>& fields,
                                    std::string_view name) {
        std::string lower(name);
        for (char& c : lower) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (same_word(trim_blanks(fields[i]), lower)) return i;
        }
        return fields.size();
    }

    bool chosen_ = false;
    bool names_ = false;  // names still to be looked up in the header
    std::vector<std::string> names_or_indices_;
    std::size_t index_[3] = {0, 1, 2};
    std::size_t needed_ = 3;
};

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

// Reads a line of exactly three numbers separated by blanks or by one comma or semicolon with
// blanks around it, a separator at its end allowed: the usual line, read in one pass without
// splitting it into fields. False for any other line (a comment, a quote, more or fewer fields,
// anything malformed) and for a line with a comma beside semicolons or tabs, which could use
// the decimal comma: the general path reads or refuses those.
bool plain_point(std::string_view line, double (&xyz)[3]) {
    const char* p = line.data();
    const char* const end = p + line.size();
    bool comma = false, semicolon_or_tab = false;
    const auto skip_blanks = [&] {
        for (; p != end && is_blank(*p); ++p) semicolon_or_tab |= *p == '\t';
    };
    skip_blanks();
    for (std::size_t k = 0; k < 3; ++k) {
        const char* stop = read_plain_decimal(p, end, xyz[k]);
        if (stop == nullptr) {
            // Longer or other numbers: the general parser, which stops where the number does. A
            // leading '+' and whatever it refuses are left to the general path.
            const auto [number_end, ec] = std::from_chars(p, end, xyz[k]);
            if (ec != std::errc() || std::isinf(xyz[k])) return false;
            stop = number_end;
        }
        if (stop != end && !is_blank(*stop) && !is_delimiter(*stop)) return false;
        p = stop;
        skip_blanks();
        if (p != end && is_delimiter(*p)) {
            comma |= *p == ',';
            semicolon_or_tab |= *p == ';';
            ++p;
            skip_blanks();
        }
        if (p == end && k < 2) return false;
    }
    return p == end && !(comma && semicolon_or_tab);
}

[[noreturn]] void fail_number(std::string_view field, std::size_t k) {
    fail("malformed number '" + printable(field) + "' in field " + std::to_string(k + 1));
}

// Reads the lines after the header, each on its own; any number of readers may share a choice.
class line_reader {
  public:
    explicit line_reader(const column_choice& choice) : choice_(choice) {}

    // The fields of a line, its comment cut; throws line_error.
    const std::vector<std::string_view>& fields(std::string_view line) {
        if (std::memchr(line.data(), 0, line.size()) != nullptr) {
            fail("zero byte in text (binary data?)");
        }
        if (const void* hash = std::memchr(line.data(), '#', line.size())) {
            line = line.substr(0, static_cast<const char*>(hash) - line.data());
        }
        if (decimal_comma_line(line)) {
            decimal_points_.assign(line);
            std::replace(decimal_points_.begin(), decimal_points_.end(), ',', '.');
            line = decimal_points_;
        }
        split_fields(line, fields_);
        return fields_;
    }

    // The point of a line's fields (not none); throws line_error.
    void point(const std::vector<std::string_view>& fields, double (&xyz)[3]) const {
        if (choice_.chosen()) {
            if (fields.size() < choice_.needed()) {
                fail("expected " + std::to_string(choice_.needed()) + " fields or more, found " +
                     std::to_string(fields.size()));
            }
            for (std::size_t k = 0; k < 3; ++k) {
                if (!parse_coordinate(fields[choice_[k]], xyz[k])) {
                    fail_number(fields[choice_[k]], choice_[k]);
                }
            }
            return;
        }
        // Every field is read, so that a malformed one is named before a wrong count.
        for (std::size_t k = 0; k < fields.size(); ++k) {
            double value;
            if (!parse_coordinate(fields[k], value)) fail_number(fields[k], k);
            if (k < 3) xyz[k] = value;
        }
        if (fields.size() != 3) {
            fail("expected 3 coordinates (x y z), found " + std::to_string(fields.size()));
        }
    }

    // The point of a line: false for a line without one (blank or a comment); throws line_error.
    bool point(std::string_view line, double (&xyz)[3]) {
        if (!choice_.chosen() && plain_point(line, xyz)) return true;
        const std::vector<std::string_view>& f = fields(line);
        if (f.empty()) return false;
        point(f, xyz);
        return true;
    }

  private:
    const column_choice& choice_;
    std::vector<std::string_view> fields_;
    std::string decimal_points_;  // a decimal-comma line with its commas made points
};

// The points of a piece of whole lines after the header. Aligned to a cache line of its own:
// the two threads fill neighbouring parts at once.
struct alignas(64) text_part {
    std::vector<spanto::point> read;    // reused from run to run
    std::vector<spanto::point> points;  // the finite ones, in storage of their number
    long long nan_rows = 0;
    long long lines = 0;         // read without failure
    std::exception_ptr failure;  // of line `lines` + 1, which ends the part
};

void read_part(std::string_view text, const column_choice& choice, text_part& part) {
    // Counted in locals and put into the part at the end, so that the loop writes nothing the
    // other thread's part may share a cache line with.
    std::vector<spanto::point> read = std::move(part.read);
    read.clear();
    long long nan_rows = 0, lines = 0;
    part.failure = nullptr;
    try {
        line_reader reader(choice);
        while (!text.empty()) {
            const std::size_t end = text.find('\n');
            std::string_view line = text.substr(0, end);
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            double xyz[3];
            if (reader.point(line, xyz)) {
                if (std::isnan(xyz[0]) || std::isnan(xyz[1]) || std::isnan(xyz[2])) {
                    ++nan_rows;
                } else {
                    read.emplace_back(xyz[0], xyz[1], xyz[2]);
                }
            }
            ++lines;
        }
        part.points.assign(read.begin(), read.end());
    } catch (...) {
        part.failure = std::current_exception();
    }
    part.read = std::move(read);
    part.nan_rows = nan_rows;
    part.lines = lines;
}

// Lines are read a megabyte at a time, in up to 16 pieces (whole lines) that the two threads
// share: small enough that a thread waiting for the other's last piece does not show.
constexpr std::size_t block_bytes = 1 << 20;
constexpr std::size_t pieces_per_block = 16;

}  // namespace

void read_text(point_source& source, const std::vector<std::string>& columns, point_sink& sink) {
    column_choice choice(columns, source);
    line_reader reader(choice);
    // Up to the first line of content, which may be the header that chooses the columns.
    std::string_view line;
    while (source.next_line(line)) {
        try {
            const std::vector<std::string_view>& fields = reader.fields(line);
            if (fields.empty()) continue;
            if (std::none_of(fields.begin(), fields.end(), looks_numeric)) {
                choice.header(fields, source);
                break;
            }
            choice.no_header(source);
            double xyz[3];
            reader.point(fields, xyz);
            sink.add(xyz[0], xyz[1], xyz[2]);  // parse_coordinate takes no infinity
            break;
        } catch (const line_error& e) {
            source.fail_line(e.what);
        }
    }
    // Then blocks of lines, each read in pieces on two threads and taken in order: the first
    // failure is that of the earliest line.
    job_pair threads;
    std::vector<std::string_view> pieces;
    std::vector<text_part> parts;
    long long line_number = source.line_number();
    for (std::string_view text; !(text = source.lines(block_bytes)).empty();) {
        const std::size_t piece_bytes = text.size() / pieces_per_block + 1;
        pieces.clear();
        while (!text.empty()) {
            const std::size_t end = text.size() <= piece_bytes ? std::string_view::npos
                                                               : text.find('\n', piece_bytes - 1);
            pieces.push_back(text.substr(0, end == std::string_view::npos ? end : end + 1));
            text.remove_prefix(pieces.back().size());
        }
        if (parts.size() < pieces.size()) parts.resize(pieces.size());
        threads.run(pieces.size(), [&](std::size_t i) { read_part(pieces[i], choice, parts[i]); });
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            text_part& part = parts[i];
            if (part.failure != nullptr) {
                try {
                    std::rethrow_exception(part.failure);
                } catch (const line_error& e) {
                    source.fail_line(line_number + part.lines + 1, e.what);
                }
            }
            sink.add(std::move(part.points), part.nan_rows);
            line_number += part.lines;
        }
    }
}

}  // namespace vantor::detail

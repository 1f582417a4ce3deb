#include "point_file.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "error.h"
#include "numbers.h"

namespace vantor::cli {
namespace {

// Points collected in blocks of fixed size, so that reading a large file never copies a growing
// array; release() moves them into a point set of exactly their number.
class point_blocks {
  public:
    explicit point_blocks(const std::string& name) : name_(name) {}

    void add(const spanto::point& p) {
        if (count_ == INT_MAX) throw error(name_ + ": more points than a point set can hold");
        if (blocks_.empty() || fill_ == block_size) {
            blocks_.push_back(std::make_unique<spanto::point[]>(block_size));
            fill_ = 0;
        }
        blocks_.back()[fill_++] = p;
        ++count_;
    }

    int count() const { return count_; }

    std::unique_ptr<vantor::actual> release() {
        auto set = std::make_unique<vantor::actual>(count_);
        for (std::size_t i = 0; i < blocks_.size(); ++i) {
            const int n = i + 1 == blocks_.size() ? fill_ : block_size;
            set->append(blocks_[i].get(), n);
            blocks_[i].reset();
        }
        blocks_.clear();
        return set;
    }

  private:
    static constexpr int block_size = 1 << 16;
    const std::string& name_;
    std::vector<std::unique_ptr<spanto::point[]>> blocks_;
    int fill_ = 0;
    int count_ = 0;
};

// One line at a time from a stream, in a buffer reused from line to line (POSIX getline).
class line_reader {
  public:
    explicit line_reader(std::FILE* in) : in_(in) {}
    ~line_reader() { std::free(buffer_); }
    line_reader(const line_reader&) = delete;
    line_reader& operator=(const line_reader&) = delete;

    // The next line without its line end ("\n" or "\r\n"); false at the end of the stream.
    bool next(std::string_view& line) {
        const ssize_t length = ::getline(&buffer_, &capacity_, in_);
        if (length < 0) return false;
        line = std::string_view(buffer_, static_cast<std::size_t>(length));
        if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return true;
    }

  private:
    std::FILE* in_;
    char* buffer_ = nullptr;
    std::size_t capacity_ = 0;
};

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_delimiter(char c) { return c == ',' || c == ';'; }

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

// Splits a line (comment already removed) into fields. Fields are separated by blanks, or by one
// comma or semicolon with optional blanks around it. Returns false, with the 1-based number of
// the missing field, when two delimiters meet or a delimiter starts or ends the line.
bool split_fields(std::string_view line, std::vector<std::string_view>& fields,
                  std::size_t& empty_field) {
    fields.clear();
    std::size_t i = 0;
    const auto skip_blanks = [&] {
        while (i < line.size() && is_blank(line[i])) ++i;
    };
    skip_blanks();
    if (i == line.size()) return true;
    while (true) {
        const std::size_t start = i;
        while (i < line.size() && !is_blank(line[i]) && !is_delimiter(line[i])) ++i;
        if (i == start) {
            empty_field = fields.size() + 1;
            return false;
        }
        fields.push_back(line.substr(start, i - start));
        skip_blanks();
        if (i == line.size()) return true;
        if (is_delimiter(line[i])) {
            ++i;
            skip_blanks();
            if (i == line.size()) {
                empty_field = fields.size() + 1;
                return false;
            }
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
    std::string word(field);
    for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return word == "nan" || word == "inf" || word == "infinity";
}

// Sends what the library prints on standard output to standard error while alive.
class library_output_to_stderr {
  public:
    library_output_to_stderr() {
        std::fflush(stdout);
        saved_ = ::dup(STDOUT_FILENO);
        if (saved_ >= 0) ::dup2(STDERR_FILENO, STDOUT_FILENO);
    }
    ~library_output_to_stderr() {
        std::fflush(stdout);
        if (saved_ >= 0) {
            ::dup2(saved_, STDOUT_FILENO);
            ::close(saved_);
        }
    }
    library_output_to_stderr(const library_output_to_stderr&) = delete;
    library_output_to_stderr& operator=(const library_output_to_stderr&) = delete;

  private:
    int saved_ = -1;
};

std::unique_ptr<vantor::actual> load_element_file(const std::string& path) {
    std::unique_ptr<vantor::actual> set;
    {
        const library_output_to_stderr redirect;
        set.reset(vantor::actual::load(path.c_str()));
    }
    if (!set) throw error(path + ": damaged element file, or one that holds no point set");
    return set;
}

// True when the stream opens with the element-file signature; the stream is rewound afterwards.
bool starts_element_file(std::FILE* in) {
    unsigned char head[32];
    const std::size_t n = std::fread(head, 1, sizeof head, in);
    std::rewind(in);
    return vantor::has_element_signature(head, n);
}

std::string system_message() { return std::strerror(errno); }

}  // namespace

std::unique_ptr<vantor::actual> read_text_points(std::FILE* in, const std::string& name) {
    point_blocks points(name);
    line_reader reader(in);
    std::vector<std::string_view> fields;
    std::string_view line;
    std::string decimal_points;  // a decimal-comma line with its commas made points
    long long number = 0;
    bool content_seen = false;  // a header or a point
    while (reader.next(line)) {
        ++number;
        const auto fail = [&](const std::string& message) {
            return error(name + ":" + std::to_string(number) + ": " + message);
        };
        if (std::memchr(line.data(), 0, line.size()) != nullptr) {
            throw fail("zero byte in text (binary data?)");
        }
        line = line.substr(0, line.find('#'));
        if (decimal_comma_line(line)) {
            decimal_points.assign(line);
            std::replace(decimal_points.begin(), decimal_points.end(), ',', '.');
            line = decimal_points;
        }
        std::size_t empty_field = 0;
        if (!split_fields(line, fields, empty_field)) {
            throw fail("empty field " + std::to_string(empty_field) + " (two separators meet)");
        }
        if (fields.empty()) continue;

        double xyz[3] = {0.0, 0.0, 0.0};
        std::size_t numbers = 0;
        std::size_t first_bad = 0;
        for (std::size_t k = 0; k < fields.size(); ++k) {
            double value = 0.0;
            if (parse_number(fields[k], value)) {
                if (numbers < 3) xyz[numbers] = value;
                ++numbers;
            } else if (first_bad == 0) {
                first_bad = k + 1;
            }
        }
        if (!content_seen && std::none_of(fields.begin(), fields.end(), looks_numeric)) {
            content_seen = true;  // a header of column names
            continue;
        }
        content_seen = true;
        if (first_bad != 0) {
            throw fail("malformed number '" + printable(fields[first_bad - 1]) + "' in field " +
                       std::to_string(first_bad));
        }
        if (fields.size() != 3) {
            throw fail("expected 3 coordinates (x y z), found " + std::to_string(fields.size()));
        }
        points.add(spanto::point(xyz[0], xyz[1], xyz[2]));
    }
    if (std::ferror(in)) throw error(name + ": read error: " + system_message());
    if (points.count() == 0) throw error(name + ": no points");
    return points.release();
}

point_file read_points(const std::string& path) {
    point_file result;
    if (path == "-") {
        result.name = "<stdin>";
        result.points = read_text_points(stdin, result.name);
        return result;
    }
    result.name = path;
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr) throw error(path + ": cannot open: " + system_message());
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(in, &std::fclose);
    if (starts_element_file(in)) {
        result.element = true;
        result.points = load_element_file(path);
        if (result.points->numpoints() == 0) throw error(path + ": no points");
    } else {
        result.points = read_text_points(in, path);
    }
    return result;
}

int write_text_points(const vantor::actual& points, std::FILE* out) {
    std::fputs("x y z\n", out);
    int skipped = 0;
    char line[3 * 32];
    for (const spanto::point& p : points) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
            ++skipped;
            continue;
        }
        char* end = line;
        for (const double v : {p.x, p.y, p.z}) {
            if (end != line) *end++ = ' ';
            end = std::to_chars(end, line + sizeof line, v).ptr;
        }
        *end++ = '\n';
        std::fwrite(line, 1, static_cast<std::size_t>(end - line), out);
    }
    return skipped;
}

int write_points(const vantor::actual& points, output_file& out, bool text) {
    int left_out = 0;
    if (text) {
        std::FILE* f = std::fopen(out.temp_path().c_str(), "wb");
        if (f == nullptr) throw error(out.target() + ": cannot write");
        left_out = write_text_points(points, f);
        const bool failed = std::ferror(f) != 0;
        if (std::fclose(f) != 0 || failed) throw error(out.target() + ": cannot write");
    } else if (!points.save(out.temp_path().c_str())) {
        throw error(out.target() + ": cannot write");
    }
    out.commit();
    return left_out;
}

}  // namespace vantor::cli

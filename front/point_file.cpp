// SPDX-License-Identifier: Apache-2.0
#include "point_file.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "error.h"

namespace vantor::cli {
namespace {

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

point_file checked(std::string name, vantor::loaded_points read) {
    if (!read.valid()) throw error(read.error);
    const bool element = read.format == vantor::point_format::element;
    return {std::move(name), std::move(read.points), element, read.format, read.nan_rows, {}};
}

}  // namespace

std::unique_ptr<vantor::actual> read_text_points(std::FILE* in, const std::string& name) {
    vantor::read_options text;
    text.format = vantor::point_format::text;
    return checked(name, vantor::read_point_stream(in, name, text)).points;
}

point_file read_points(const std::string& path, const vantor::read_options& options) {
    if (path == "-") {
        return checked("<stdin>", vantor::read_point_stream(stdin, "<stdin>", options));
    }
    const library_output_to_stderr redirect;  // an element file's loader prints there
    return checked(path, vantor::read_point_file(path, options));
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

namespace {

// Binary little-endian PLY of the points with finite coordinates, as doubles x, y, z; returns
// the number of the others, left out.
int write_ply(const vantor::actual& points, std::FILE* out) {
    const auto finite = [](const spanto::point& p) {
        return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
    };
    const auto count = std::count_if(points.begin(), points.end(), finite);
    std::fprintf(out,
                 "ply\nformat binary_little_endian 1.0\nelement vertex %lld\n"
                 "property double x\nproperty double y\nproperty double z\nend_header\n",
                 static_cast<long long>(count));
    unsigned char record[3 * 8];
    for (const spanto::point& p : points) {
        if (!finite(p)) continue;
        unsigned char* byte = record;
        for (const double v : {p.x, p.y, p.z}) {
            std::uint64_t bits;
            std::memcpy(&bits, &v, sizeof bits);
            for (int k = 0; k < 8; ++k) *byte++ = static_cast<unsigned char>(bits >> (8 * k));
        }
        std::fwrite(record, 1, sizeof record, out);
    }
    return static_cast<int>(static_cast<long long>(points.numpoints()) - count);
}

}  // namespace

int write_points(const vantor::actual& points, output_file& out, bool text) {
    if (text) {
        return write_through(out, [&](std::FILE* f) { return write_text_points(points, f); });
    }
    errno = 0;  // a refusal of the library's own leaves it so
    if (!points.save(out.temp_path().c_str())) throw system_failure(out.target(), "cannot write");
    out.commit();
    return 0;
}

int write_ply_points(const vantor::actual& points, output_file& out) {
    return write_through(out, [&](std::FILE* f) { return write_ply(points, f); });
}

}  // namespace vantor::cli

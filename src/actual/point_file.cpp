// SPDX-License-Identifier: Apache-2.0
// Reading point files: the format told from the content or the extension, then its reader.
#include "vantor/point_file.h"

#include <cerrno>
#include <cstring>
#include <new>
#include <string_view>

#include "actual/coordinates.h"
#include "actual/point_readers.h"

namespace vantor {
namespace {

using detail::point_source;

// The lower-case extension of the path's last component, without the dot; empty without one.
std::string extension_of(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return "";
    std::string extension = path.substr(dot + 1);
    for (char& c : extension) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return extension;
}

// The first line of `head` that is neither blank nor a '#' comment; empty when there is none.
std::string_view first_statement(std::string_view head) {
    while (!head.empty()) {
        const std::size_t end = head.find('\n');
        std::string_view line = head.substr(0, end);
        head.remove_prefix(end == std::string_view::npos ? head.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::string_view rest = line;
        const std::string_view word = detail::next_word(rest);
        if (!word.empty() && word.front() != '#') return line;
    }
    return {};
}

point_format detect(point_source& source, const std::string& extension) {
    // Enough for the signatures below and the first statements of a text format.
    const std::string_view head = source.peek(4096);
    if (has_element_signature(head.data(), head.size())) return point_format::element;
    std::string_view first_line = head.substr(0, head.find('\n'));
    if (!first_line.empty() && first_line.back() == '\r') first_line.remove_suffix(1);
    if (first_line == "ply") return point_format::ply;
    if (detail::binary_stl(head, source.remaining()) || detail::ascii_stl(head)) {
        return point_format::stl;
    }
    if (detail::pcd_header_line(first_line)) return point_format::pcd;
    if (extension == "ply") return point_format::ply;
    if (extension == "stl") return point_format::stl;
    if (extension == "pcd") return point_format::pcd;
    if (extension == "obj") return point_format::obj;
    std::string_view statement = first_statement(head);
    const std::string_view word = detail::next_word(statement);
    for (const char* obj : {"v", "vn", "vt", "o", "g", "s", "mtllib", "usemtl"}) {
        if (word == obj) return point_format::obj;
    }
    return point_format::text;
}

// Reads the points of `source` in `format` into `result`, or sets its error.
void read_format(point_source& source, point_format format, const read_options& options,
                 loaded_points& result) {
    result.format = format;
    detail::point_sink sink(source);
    switch (format) {
        case point_format::text:
            detail::read_text(source, options.columns, sink);
            break;
        case point_format::ply:
            detail::read_ply(source, sink);
            break;
        case point_format::stl:
            detail::read_stl(source, sink);
            break;
        case point_format::pcd:
            detail::read_pcd(source, sink);
            break;
        case point_format::obj:
            detail::read_obj(source, sink);
            break;
        default:
            source.fail("an element file is read from a named file, not a stream");
    }
    result.nan_rows = sink.nan_rows();
    result.points = sink.release();
}

// Runs `read`, turning a failure into the result's error.
template <typename Read>
loaded_points guarded(const std::string& name, const Read& read) {
    loaded_points result;
    try {
        read(result);
    } catch (const detail::read_failure& e) {
        result.points.reset();
        result.error = e.what();
    } catch (const std::bad_alloc&) {
        result.points.reset();
        result.error = name + ": not enough memory for its points";
    }
    return result;
}

}  // namespace

const char* point_format_name(point_format f) {
    switch (f) {
        case point_format::element:
            return "element";
        case point_format::text:
            return "text";
        case point_format::ply:
            return "ply";
        case point_format::stl:
            return "stl";
        case point_format::pcd:
            return "pcd";
        case point_format::obj:
            return "obj";
        default:
            return "unknown";
    }
}

loaded_points read_point_file(const std::string& path, const read_options& options) {
    return guarded(path, [&](loaded_points& result) {
        std::FILE* in = std::fopen(path.c_str(), "rb");
        if (in == nullptr) {
            throw detail::read_failure(path + ": cannot open: " + std::strerror(errno));
        }
        const std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(in, &std::fclose);
        point_source source(in, path);
        const point_format format = options.format != point_format::unknown
                                        ? options.format
                                        : detect(source, extension_of(path));
        if (format != point_format::element) {
            read_format(source, format, options, result);
            return;
        }
        result.format = format;
        result.points.reset(actual::load(path.c_str()));
        if (result.points == nullptr) {
            throw detail::read_failure(path +
                                       ": damaged element file, or one that holds no point set");
        }
    });
}

loaded_points read_point_stream(std::FILE* in, const std::string& name,
                                const read_options& options) {
    return guarded(name, [&](loaded_points& result) {
        point_source source(in, name);
        const point_format format =
            options.format != point_format::unknown ? options.format : detect(source, "");
        read_format(source, format, options, result);
    });
}

}  // namespace vantor

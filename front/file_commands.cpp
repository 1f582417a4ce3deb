// SPDX-License-Identifier: Apache-2.0
#include "file_commands.h"

#include <cctype>
#include <cstdio>

#include "command_report.h"
#include "error.h"
#include "output_file.h"

namespace vantor::cli {

report info(const point_file& in) {
    report r = file_summary(in);
    r["format"] = vantor::point_format_name(in.format);
    spanto::point lo, hi;
    if (in.points->bbox(lo, hi, false)) {
        r["bounding_box"] = {{"min", to_report(lo)}, {"max", to_report(hi)}};
    }
    r["centroid"] = to_report(centroid(*in.points));
    if (in.element) {
        r["created"] = stamp_text(in.points->creationdate(), in.points->creationtime());
    }
    return r;
}

output_kind output_format(const std::string& out, const std::optional<output_kind>& to) {
    if (to) return *to;
    if (out == "-") return output_kind::text;
    const std::size_t dot = out.rfind('.');
    if (dot == std::string::npos || out.find('/', dot) != std::string::npos) {
        return output_kind::element;
    }
    std::string extension = out.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == "txt" || extension == "csv" || extension == "xyz") return output_kind::text;
    if (extension == "ply") return output_kind::ply;
    if (extension == "stl" || extension == "pcd" || extension == "obj") {
        throw error(out +
                    ": convert writes text (.txt, .csv, .xyz), PLY (.ply) or an element file "
                    "(any other name), not ." +
                    extension);
    }
    return output_kind::element;
}

report convert(const std::string& in, const vantor::read_options& input, const std::string& out,
               const std::optional<output_kind>& to, bool force) {
    const output_kind format = output_format(out, to);
    if (out == "-") {
        if (format != output_kind::text) {
            throw error(std::string(format == output_kind::ply ? "a PLY file" : "an element file") +
                        " is written to a named file, not to standard output");
        }
        const point_file source = read_points(in, input);
        const int left_out = write_text_points(*source.points, stdout);
        if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
            throw system_failure("standard output", "cannot write");
        }
        report r = nullptr;
        if (left_out > 0) r["points_left_out"] = left_out;
        return r;
    }
    output_file target(out, force);
    const point_file source = read_points(in, input);
    report r = file_summary(source);
    r["written"] = out;
    const bool text = format == output_kind::text;
    const int left_out = format == output_kind::ply ? write_ply_points(*source.points, target)
                                                    : write_points(*source.points, target, text);
    r["format"] = text ? "text" : format == output_kind::ply ? "ply" : "element";
    if (left_out > 0) r["points_left_out"] = left_out;
    return r;
}

}  // namespace vantor::cli

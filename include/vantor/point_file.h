// SPDX-License-Identifier: Apache-2.0
// vantor/point_file.h: reading measured points from the files scanners and measuring machines
// write.
//
// Formats: text (one point a line, CSV among them), PLY (ASCII, binary little and big endian),
// STL (ASCII and binary), PCD (ASCII and binary, uncompressed), the vertices of OBJ, and the
// library's element file. A file's format is told by its content where the content leaves no
// doubt and by its extension otherwise (see read_point_file).
//
// Rows and vertices with a NaN coordinate (how NumPy writes a missing value, and how PCD marks a
// point a scanner did not see) are left out and counted; an infinite coordinate is an error.
// Element files are loaded as they are, invalid points included.
#ifndef VANTOR_POINT_FILE_H
#define VANTOR_POINT_FILE_H

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "vantor/actual.h"
#include "vantor/export.h"

namespace vantor {

enum class point_format : int {
    unknown = 0,  // in read_options: tell the format from the file
    element,      // the library's element file (actual::save)
    text,         // x y z per line, separated by blanks, commas or semicolons
    ply,          // Polygon File Format: the x, y, z properties of the "vertex" element
    stl,          // stereolithography triangles: each distinct vertex once
    pcd,          // Point Cloud Data: the x, y, z fields
    obj,          // Wavefront OBJ: the "v" lines
};

// "element", "text", "ply", "stl", "pcd", "obj"; "unknown" for unknown and any other value.
VANTOR_EXPORT const char* point_format_name(point_format f);

struct read_options {
    // The format to read; unknown: tell it from the file.
    point_format format = point_format::unknown;
    // The columns of x, y and z in a text file: three 1-based column numbers ("2", "3", "4") or
    // three names of its header line (compared without regard to case). Empty: the columns
    // named x, y and z in the header line when it has them, else a point line holds exactly
    // three fields. With columns chosen, a line may hold more fields than those; the others
    // are not read.
    std::vector<std::string> columns;
};

// The outcome of reading a point file. On failure `points` is null and `error` says what is
// wrong: "NAME:LINE: ..." for a line of text or of a header, "NAME: byte N: ..." for binary
// data, "NAME: ..." for the file as a whole.
struct loaded_points {
    std::unique_ptr<actual> points;  // every point read, capacity their number; null on failure
    point_format format = point_format::unknown;
    long long nan_rows = 0;  // rows or vertices left out for a NaN coordinate
    std::string error;       // empty on success

    bool valid() const { return points != nullptr; }
};

// Reads the points of the file at `path`. Without a format in `options` the content decides:
// the element-file signature, a first line "ply", a binary STL (a size of exactly 84 bytes plus
// 50 per triangle counted at byte 80), a first word "solid" (ASCII STL), a PCD header (a first
// line "# .PCD", or one of its keywords first); then the extension (.ply, .stl, .pcd, .obj,
// case ignored), or a first statement of OBJ (the first line that is not blank or a '#'
// comment opening with v, vn, vt, o, g, s, mtllib or usemtl); anything else is text.
//
// A file without points (none, or only NaN rows) is a failure. Counts in a header are checked
// against the size of the file before anything is allocated for them.
VANTOR_EXPORT loaded_points read_point_file(const std::string& path,
                                            const read_options& options = read_options());

// Reads points from a stream, named `name` in messages, as read_point_file reads a file (without
// an extension; a stream whose size cannot be told, such as a pipe, is never taken for binary
// STL).
VANTOR_EXPORT loaded_points read_point_stream(std::FILE* in, const std::string& name,
                                              const read_options& options = read_options());

}  // namespace vantor

#endif  // VANTOR_POINT_FILE_H

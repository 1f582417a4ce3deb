// SPDX-License-Identifier: Apache-2.0
// Point files: read in every format the library reads; written as text or as element files.
#ifndef VANTOR_FRONT_POINT_FILE_H
#define VANTOR_FRONT_POINT_FILE_H

#include <cstdio>
#include <memory>
#include <string>

#include <vantor/actual.h>
#include <vantor/point_file.h>

#include "output_file.h"

namespace vantor::cli {

// A point set read from a file, and where it came from.
struct point_file {
    std::string name;                        // the path as given, or "<stdin>"
    std::unique_ptr<vantor::actual> points;  // never null, never empty
    bool element = false;  // read from an element file, which carries a creation date and time
    vantor::point_format format = vantor::point_format::text;
    long long nan_rows = 0;  // rows or vertices left out for a NaN coordinate
    std::string unit;        // of the coordinates, as reports state it (units.h); empty: not stated
};

// Reads the points of `path`, or of standard input for "-", in any format the library reads
// (vantor::read_point_file; `options` chooses the columns of a text file). Whatever the library
// prints about a damaged element file goes to standard error, where the program's own messages
// go.
//
// Throws error with the library's message (naming file and line or byte) for a file that
// cannot be opened or read, that its format does not allow, or that holds no points.
point_file read_points(const std::string& path, const vantor::read_options& options = {});

// Reads a text point file from `in`; `name` stands for it in messages. One point a line: x y z
// separated by spaces, tabs, a comma or a semicolon (see vantor::read_options for the columns of
// wider lines and docs/command-line.md, "Point files", for the rules). Throws error "name:line:
// ..." for what the text does not allow and "name: no points" for a file without points.
std::unique_ptr<vantor::actual> read_text_points(std::FILE* in, const std::string& name);

// Writes the points of `points` to `out` as text: the header line "x y z", then one line per
// point, each number in the shortest form that reads back to the same double. Points with a
// coordinate that is not finite (invalid points among them) cannot be written as text and are
// left out; returns their number.
int write_text_points(const vantor::actual& points, std::FILE* out);

// Writes the points into the prepared output file and commits it: as text (write_text_points)
// or as an element file (actual::save). Returns the number of points left out of a text file.
// Throws error when the file cannot be written.
int write_points(const vantor::actual& points, output_file& out, bool text);

// Writes the points into the prepared output file as binary little-endian PLY (one vertex
// element with the double properties x, y, z) and commits it. Points with a coordinate that is
// not finite are left out; returns their number. Throws error when the file cannot be written.
int write_ply_points(const vantor::actual& points, output_file& out);

}  // namespace vantor::cli

#endif  // VANTOR_FRONT_POINT_FILE_H

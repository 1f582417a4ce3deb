// Point files: text files of x y z lines and the library's element files.
#ifndef VANTOR_TOOLS_POINT_FILE_H
#define VANTOR_TOOLS_POINT_FILE_H

#include <cstdio>
#include <memory>
#include <string>

#include <vantor/actual.h>

#include "output_file.h"

namespace vantor::cli {

// A point set read from a file, and where it came from.
struct point_file {
    std::string name;                        // the path as given, or "<stdin>"
    std::unique_ptr<vantor::actual> points;  // never null, never empty
    bool element = false;  // read from an element file, which carries a creation date and time
};

// Reads the points of `path`, or of standard input for "-".
//
// A file that opens with the element-file signature (vantor::has_element_signature) is an
// element file, which the library loads; whatever the library prints about a damaged one goes
// to standard error, where the program's own messages go.
//
// Anything else is read as text (see read_text_points). Standard input is always read as text.
//
// Throws error for a file that cannot be opened or read, bad text (naming file and line), an
// element file that does not load, and a file without points.
point_file read_points(const std::string& path);

// Reads a text point file from `in`; `name` stands for it in messages. One point a line: x y z
// separated by spaces, tabs, a comma or a semicolon (with or without spaces around it). A line
// whose fields are separated by semicolons or tabs and each hold one comma uses the decimal
// comma ("20,5;-7,25;3,0"). Blank
// lines and everything from '#' to the end of a line are skipped; the first line that is not
// skipped may be a header of column names (no field of it a number, well formed or not). The text
// is read line by line and the points are kept in blocks, so no copy of the text and no growing
// array is held. Throws error "name:line: ..." for a malformed number, an empty field, a line
// without exactly three coordinates or a zero byte, and "name: no points" for a file without
// points.
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

}  // namespace vantor::cli

#endif  // VANTOR_TOOLS_POINT_FILE_H

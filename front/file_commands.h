// SPDX-License-Identifier: Apache-2.0
// The commands about point files: info and convert.
#ifndef VANTOR_FRONT_FILE_COMMANDS_H
#define VANTOR_FRONT_FILE_COMMANDS_H

#include <optional>
#include <string>

#include <vantor/point_file.h>

#include "point_file.h"
#include "report.h"

namespace vantor::cli {

// Count, bounding box, centroid; for an element file its creation date and time.
report info(const point_file& in);

// The kinds of point file convert writes.
enum class output_kind { text, element, ply };

// The format convert writes to `out`: `to` when given; otherwise text for "-" (standard output)
// and for the extensions .txt, .csv and .xyz, PLY for .ply (in any case), an element file for any
// other name but those of formats it only reads (.stl, .pcd, .obj), which throw error.
output_kind output_format(const std::string& out, const std::optional<output_kind>& to);

// Writes the points of `in` to `out` in output_format(out, to): text (numbers that read back
// to the same doubles), binary PLY (write_ply_points) or an element file. Text and PLY leave out
// the points with a coordinate that is not finite and report their number as points_left_out. "-"
// as `out` prints the text on standard output and returns only points_left_out, if any (else null);
// an element file cannot go there. Never replaces an existing file unless `force`. `input` chooses
// the columns of a text file read.
report convert(const std::string& in, const vantor::read_options& input, const std::string& out,
               const std::optional<output_kind>& to, bool force);

}  // namespace vantor::cli

#endif  // VANTOR_FRONT_FILE_COMMANDS_H

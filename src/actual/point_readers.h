// SPDX-License-Identifier: Apache-2.0
// The readers of each point-file format. Each takes the bytes of `source` from its position,
// puts the points into `sink` and throws read_failure, naming the place, for what it cannot read.
#ifndef VANTOR_ACTUAL_POINT_READERS_H
#define VANTOR_ACTUAL_POINT_READERS_H

#include <string>
#include <string_view>
#include <vector>

#include "actual/point_sink.h"
#include "actual/point_source.h"

namespace vantor::detail {

// Text: one point a line (see read_options::columns and the tool's documentation of the rules).
void read_text(point_source& source, const std::vector<std::string>& columns, point_sink& sink);

// PLY: the header, then the elements before "vertex" skipped and the x, y, z of its instances.
void read_ply(point_source& source, point_sink& sink);

// STL, binary when `binary_stl` says so of its first bytes and size or ascii_stl does not say
// they are text, else ASCII; each distinct vertex once, in the order of first
// appearance.
void read_stl(point_source& source, point_sink& sink);
// True when `head` (at least its first 84 bytes) and the file size `size` (-1: unknown) make a
// binary STL: exactly 84 bytes plus 50 for each triangle counted at byte 80.
bool binary_stl(std::string_view head, long long size);
// True when `head`, the first bytes of a file, opens with the word "solid" and holds no zero
// byte.
bool ascii_stl(std::string_view head);

// PCD: the header, then the x, y, z fields of each point, ASCII or binary.
void read_pcd(point_source& source, point_sink& sink);
// True when the line opens a PCD header: "# .PCD" or a first keyword of one.
bool pcd_header_line(std::string_view line);

// OBJ: the "v" lines; every other kind of line is skipped.
void read_obj(point_source& source, point_sink& sink);

}  // namespace vantor::detail

#endif  // VANTOR_ACTUAL_POINT_READERS_H

// SPDX-License-Identifier: Apache-2.0
// What the SVG charts share: number formats for coordinates and captions, text escaping, and the
// 1-2-5 steps of scales.
#ifndef VANTOR_FRONT_SVG_H
#define VANTOR_FRONT_SVG_H

#include <string>
#include <string_view>

namespace vantor::cli::svg {

// The largest of 1, 2, 5 times a power of ten not above x (x > 0).
double nice_floor(double x);
// The smallest of 1, 2, 5 times a power of ten not below x (x > 0).
double nice_ceil(double x);

// Text with the XML special characters escaped and control characters shown as '?'.
std::string escape(std::string_view text);

// A chart coordinate, in millimetres with micrometre resolution: "12.345".
std::string mm(double v);

// A plain number for a caption or a scale: up to ten significant digits, "0.0005", "2000".
std::string plain(double v);

// A <text> element at (x, y) with the given attributes and (already escaped) content, and a
// line end.
std::string text(double x, double y, const std::string& attributes, const std::string& content);

// The start of a chart's document: the XML declaration, the <svg> element of the page (width and
// height in millimetres, user units of one millimetre), its <title> (already escaped) and a
// white background. The caller closes the <svg> element.
std::string document_start(double page_width, double page_height, const std::string& title);

// The symbol of a length unit as the charts print it (units.h): "mm", "\u00b5m" for "um" (or
// any other name of it), "m", "in"; the text itself for a name of no unit.
std::string unit_symbol(const std::string& unit);

// A value with its unit, " " between them: "0.008698 mm"; the value alone without a unit.
std::string with_unit(const std::string& value, const std::string& unit);

}  // namespace vantor::cli::svg

#endif  // VANTOR_FRONT_SVG_H

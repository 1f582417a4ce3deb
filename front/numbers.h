// SPDX-License-Identifier: Apache-2.0
// Reading numbers from text: the coordinates of point files and the values of options.
#ifndef VANTOR_FRONT_NUMBERS_H
#define VANTOR_FRONT_NUMBERS_H

#include <string>
#include <string_view>
#include <vector>

namespace vantor::cli {

// Parses the whole of `text` as a finite decimal number: an optional sign, digits with an
// optional decimal point, an optional exponent ("-1.5", "+2", ".5", "3e-4"). Empty text, "nan",
// "inf", hexadecimal forms, values beyond the range of double and trailing characters give false
// and leave `value` unchanged.
bool parse_number(std::string_view text, double& value);

// Parses an option value of exactly `names.size()` comma-separated numbers (spaces around the
// commas allowed), e.g. "0,0,1" for names {"X", "Y", "Z"}. Throws error naming `option` and the
// expected form ("--direction expects X,Y,Z ...", "--upper expects a number: ...") otherwise.
std::vector<double> parse_numbers(std::string_view text, const std::string& option,
                                  const std::vector<std::string>& names);

// A piece of input text fit for a message: non-printable characters shown as '?', cut to 40
// characters with "..." appended.
std::string printable(std::string_view text);

}  // namespace vantor::cli

#endif  // VANTOR_FRONT_NUMBERS_H

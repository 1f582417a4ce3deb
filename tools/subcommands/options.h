// SPDX-License-Identifier: Apache-2.0
// The options several subcommands share: the point file read, numbers into geometry, the
// tolerance, the criteria and the reference element fitted without a datum, and the report's
// output. Option values are taken as the user typed them and converted after parsing, with
// messages of our own.
#ifndef VANTOR_TOOLS_SUBCOMMANDS_OPTIONS_H
#define VANTOR_TOOLS_SUBCOMMANDS_OPTIONS_H

#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <spanto/spanto.h>
#include <vantor/fit.h>
#include <vantor/point_file.h>
#include <CLI/CLI.hpp>

#include "command_report.h"
#include "fits.h"
#include "point_file.h"
#include "report.h"

namespace vantor::cli {

// The options of the program itself, which every subcommand takes as well (before or after its
// name).
struct program_options {
    bool json = false;   // --json
    bool force = false;  // --force
    int trace = 0;       // --trace N
};

// --- The point file.

struct input_options {
    std::string file;
    std::optional<std::string> columns;  // --columns
    std::string input_unit = "mm";       // --input-unit
    std::optional<std::string> unit;     // --unit
};

// The point file a command reads (positional `name`) and --columns.
void add_input(CLI::App* command, const char* name, input_options& o);

// --input-unit and --unit of a command that reads points and reports lengths.
void add_units(CLI::App* command, input_options& o);

// A subcommand that reads a point file FILE and reports lengths (add_input, add_units).
CLI::App* add_command(CLI::App& app, const char* name, const std::string& description,
                      input_options& o);

// --columns: three column numbers or names separated by commas; throws error otherwise.
vantor::read_options columns_of(const input_options& o);

// The points of the file read with `columns`, converted to the report's unit as read (--unit, by
// default --input-unit), so that every length of the report and of the command line is in it.
point_file read_input(const input_options& o, const vantor::read_options& columns);

// --- Numbers into geometry.

// An option of comma-separated numbers, `form` naming them in the help ("X,Y,Z").
CLI::Option* add_numbers(CLI::App* command, const char* name, std::optional<std::string>& value,
                         const char* form, const std::string& description);

// At most one of the options.
void exclusive(const std::vector<CLI::Option*>& options);

// The element the numbers of `option` give (parse_numbers). Refused with error: a direction or
// normal of zero, a radius of a circle, sphere or cylinder that is not positive, a cone's radius
// that is negative and a cone whose two points are one.
spanto::vector direction_of(const std::string& text, const std::string& option);
spanto::point point_of(const std::string& text, const std::string& option);
spanto::line line_of(const std::string& text, const std::string& option);
spanto::axis axis_of(const std::string& text, const std::string& option);
spanto::plane plane_of(const std::string& text, const std::string& option);
spanto::circle circle_of(const std::string& text, const std::string& option);
spanto::sphere sphere_of(const std::string& text, const std::string& option);
spanto::cylinder cylinder_of(const std::string& text, const std::string& option);
spanto::cone cone_of(const std::string& text, const std::string& option);

// --- The tolerance.

struct tolerance_options {
    std::optional<std::string> nominal, lower, upper;
};

// --upper, --nominal and --lower (the last two need --upper).
void add_tolerance(CLI::App* command, tolerance_options& o);

// The tolerance given; throws error for a zone of negative width (upper below lower).
tolerance tolerance_of(const tolerance_options& o);

// --- Criteria and the reference element fitted without a datum.

// The names as a list for a sentence: "gauss or zone", "line, plane, circle, sphere, cylinder or
// cone".
std::string listed(const std::vector<std::string>& names);

// The criteria's option names, as --criterion and --reference take them.
std::vector<std::string> criterion_options();

// The criteria that --criterion names: one, or with "all" every one of `all`.
std::vector<vantor::criterion> criteria_of(const std::string& name,
                                           const std::vector<vantor::criterion>& all);

std::vector<vantor::criterion> every_criterion();

// ", or about the minimum-zone plane": the reference measured against without a datum.
std::string without_datum(element_kind element);

// --reference of a form command: one of the criteria its element has.
CLI::Option* add_reference(CLI::App* command, element_kind element,
                           std::optional<std::string>& reference);

// The criterion of the element a form command fits without a datum: --reference, by default
// default_reference.
vantor::criterion reference_of(const std::optional<std::string>& reference);

// The options that steer a fit: --axis, --max-tilt, --time-budget and (fit only) --reject.
struct fit_steering {
    std::optional<std::string> axis, max_tilt, time_budget, reject;
};

// The options of the fit of the reference element a form command measures about without a
// datum: --time-budget, and for a line or cylinder (`axial`) --axis and --max-tilt, for a cone
// --max-tilt. (Conicity defines its own --axis, which also takes a datum axis.)
void add_reference_fit(CLI::App* command, element_kind element, bool axial, fit_steering& o);

// The options of a fit as `vantor fit` reads them: `axis` (an approximate axis direction, the
// value of --axis), --max-tilt, --time-budget and --reject; refused as the library refuses them.
vantor::fit_options fit_options_of(const fit_steering& o, const std::optional<std::string>& axis);

// The options of the reference element a form command fits without a datum (fit_options_of;
// `axis` only for a line, cylinder or cone). `datum` names the datum given, empty for none: with
// one nothing is fitted, so each of these options is refused.
vantor::fit_options reference_options(const fit_steering& o, element_kind element,
                                      const std::string& datum,
                                      const std::optional<std::string>& axis = std::nullopt);

// The first of the options that are given, empty when none is.
std::string first_given(const std::vector<std::pair<const char*, bool>>& options);

// --cutoff of straightness and flatness (`form`: "STR", "FLT"): the filtered form about the
// least-squares reference, so it takes none of the command's datum and reference options, which
// must be defined before it.
void add_cutoff(CLI::App* command, const char* form, std::optional<double>& value);

// --- The report.

// Prints the report: as JSON with --json, else as text.
void print(const report& r, const program_options& program, std::ostream& out);

// Prints a form command's report and returns its exit status: within the tolerance or not.
int print_outcome(const outcome& o, const program_options& program, std::ostream& out);

// The exit status of a fit or circle report, whose failed fits it prints on `err`: exit_ok when
// at least one fit is valid (--criterion all may meet a criterion that fails).
int fits_status(const report& r, std::ostream& err);

}  // namespace vantor::cli

#endif  // VANTOR_TOOLS_SUBCOMMANDS_OPTIONS_H

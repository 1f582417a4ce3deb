// SPDX-License-Identifier: Apache-2.0
#include "options.h"

#include <algorithm>
#include <string_view>

#include "cli.h"
#include "element_values.h"
#include "error.h"
#include "fit_commands.h"
#include "fits.h"
#include "numbers.h"
#include "reference.h"
#include "units.h"

namespace vantor::cli {
namespace {

// The vector (v[i], v[i+1], v[i+2]), which must not be zero.
spanto::vector nonzero_vector(const std::vector<double>& v, std::size_t i,
                              const std::string& option, const char* what) {
    const spanto::vector d = vector_at(v, i);
    if (d.unit().invalid()) throw error(option + ": the " + what + " must not be zero");
    return d;
}

// A cone's radius, which is 0 at its apex.
double radius_at(const std::vector<double>& v, std::size_t i, const std::string& option) {
    if (v[i] < 0.0) throw error(option + ": the radius must not be negative");
    return v[i];
}

// The radius of a datum circle, sphere or cylinder: one of 0 is no such element.
double positive_radius_at(const std::vector<double>& v, std::size_t i, const std::string& option) {
    if (!(v[i] > 0.0)) throw error(option + ": the radius must be positive");
    return v[i];
}

}  // namespace

// --- The point file.

void add_input(CLI::App* command, const char* name, input_options& o) {
    command
        ->add_option(name, o.file,
                     "point file: text (x y z per line, CSV), PLY, STL, PCD, OBJ or element file; "
                     "- reads standard input")
        ->required();
    command
        ->add_option("--columns", o.columns,
                     "the columns of x, y and z in a text file: numbers from 1 (2,3,4) or names of "
                     "its header line (x,y,z); other columns are then allowed")
        ->type_name("X,Y,Z");
}

void add_units(CLI::App* command, input_options& o) {
    const CLI::Validator known(
        [](std::string& value) {
            return unit_named(value) != nullptr
                       ? std::string()
                       : "unknown unit '" + printable(value) + "': give " + unit_names();
        },
        "");
    command
        ->add_option("--input-unit", o.input_unit,
                     "the unit of the file's coordinates: " + unit_names() + " (default mm)")
        ->type_name("UNIT")
        ->check(known);
    command
        ->add_option("--unit", o.unit,
                     "the unit of the report (text, JSON, charts) and of every length given on "
                     "the command line (datums, tolerances); the coordinates are converted to it "
                     "(default: the input unit). Text prints a length with 5 significant digits "
                     "or to 1 nm, whichever shows more")
        ->type_name("UNIT")
        ->check(known);
}

CLI::App* add_command(CLI::App& app, const char* name, const std::string& description,
                      input_options& o) {
    CLI::App* command = app.add_subcommand(name, description);
    add_input(command, "FILE", o);
    add_units(command, o);
    return command;
}

vantor::read_options columns_of(const input_options& o) {
    vantor::read_options options;
    if (!o.columns) return options;
    std::string_view rest = *o.columns;
    while (true) {
        const std::size_t comma = rest.find(',');
        std::string_view column = rest.substr(0, comma);
        while (!column.empty() && column.front() == ' ') column.remove_prefix(1);
        while (!column.empty() && column.back() == ' ') column.remove_suffix(1);
        options.columns.emplace_back(column);
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    const auto empty = [](const std::string& c) { return c.empty(); };
    if (options.columns.size() != 3 ||
        std::any_of(options.columns.begin(), options.columns.end(), empty)) {
        throw error(
            "--columns expects X,Y,Z: three column numbers from 1 or names of the header "
            "line, separated by commas: got '" +
            printable(*o.columns) + "'");
    }
    return options;
}

point_file read_input(const input_options& o, const vantor::read_options& columns) {
    const length_unit& input_unit = *unit_named(o.input_unit);
    const length_unit& unit = o.unit ? *unit_named(*o.unit) : input_unit;
    point_file in = read_points(o.file, columns);
    convert_points(in, input_unit, unit);
    return in;
}

// --- Numbers into geometry.

CLI::Option* add_numbers(CLI::App* command, const char* name, std::optional<std::string>& value,
                         const char* form, const std::string& description) {
    return command->add_option(name, value, description)->type_name(form);
}

void exclusive(const std::vector<CLI::Option*>& options) {
    for (CLI::Option* a : options) {
        for (CLI::Option* b : options) {
            if (a != b) a->excludes(b);
        }
    }
}

spanto::vector direction_of(const std::string& text, const std::string& option) {
    return nonzero_vector(parse_numbers(text, option, {"X", "Y", "Z"}), 0, option, "direction");
}

spanto::point point_of(const std::string& text, const std::string& option) {
    return point_at(parse_numbers(text, option, {"X", "Y", "Z"}), 0);
}

spanto::line line_of(const std::string& text, const std::string& option) {
    const auto v = parse_numbers(text, option, {"PX", "PY", "PZ", "DX", "DY", "DZ"});
    return spanto::line(point_at(v, 0), nonzero_vector(v, 3, option, "direction"));
}

spanto::axis axis_of(const std::string& text, const std::string& option) {
    return spanto::axis(line_of(text, option));
}

spanto::plane plane_of(const std::string& text, const std::string& option) {
    const auto v = parse_numbers(text, option, {"PX", "PY", "PZ", "NX", "NY", "NZ"});
    return spanto::plane(point_at(v, 0), nonzero_vector(v, 3, option, "normal"));
}

spanto::circle circle_of(const std::string& text, const std::string& option) {
    const auto v = parse_numbers(text, option, {"CX", "CY", "CZ", "NX", "NY", "NZ", "R"});
    return spanto::circle(point_at(v, 0), nonzero_vector(v, 3, option, "normal"),
                          positive_radius_at(v, 6, option));
}

spanto::sphere sphere_of(const std::string& text, const std::string& option) {
    const auto v = parse_numbers(text, option, {"CX", "CY", "CZ", "R"});
    return spanto::sphere(point_at(v, 0), positive_radius_at(v, 3, option));
}

spanto::cylinder cylinder_of(const std::string& text, const std::string& option) {
    const auto v = parse_numbers(text, option, {"PX", "PY", "PZ", "DX", "DY", "DZ", "R"});
    return spanto::cylinder(point_at(v, 0), nonzero_vector(v, 3, option, "direction"),
                            positive_radius_at(v, 6, option));
}

spanto::cone cone_of(const std::string& text, const std::string& option) {
    const auto v = parse_numbers(text, option, {"X0", "Y0", "Z0", "R0", "X1", "Y1", "Z1", "R1"});
    const spanto::point p0(v[0], v[1], v[2]), p1(v[4], v[5], v[6]);
    if (p0.distance(p1) == 0.0) throw error(option + ": the two points must differ");
    return spanto::cone(p0, radius_at(v, 3, option), p1, radius_at(v, 7, option));
}

// --- The tolerance.

void add_tolerance(CLI::App* command, tolerance_options& o) {
    CLI::Option* upper = add_numbers(command, "--upper", o.upper, "U",
                                     "upper tolerance: the value may reach nominal + U; U, V "
                                     "and L are in the report's unit (--unit)");
    add_numbers(command, "--nominal", o.nominal, "V", "nominal value (default 0; needs --upper)")
        ->needs(upper);
    add_numbers(command, "--lower", o.lower, "L",
                "lower tolerance: the value must reach nominal + L (default 0; needs --upper)")
        ->needs(upper);
}

tolerance tolerance_of(const tolerance_options& o) {
    const auto number = [](const std::optional<std::string>& text, const char* option) {
        return text ? std::optional<double>(parse_numbers(*text, option, {"V"})[0]) : std::nullopt;
    };
    tolerance t{number(o.nominal, "--nominal"), number(o.lower, "--lower"),
                number(o.upper, "--upper")};
    // A tolerance zone of negative width holds no value at all.
    if (t.upper && *t.upper < t.lower.value_or(0.0)) {
        throw error(t.lower ? "--upper must not be below --lower"
                            : "--upper must not be below --lower, which is 0 unless given");
    }
    return t;
}

// --- Criteria and the reference element fitted without a datum.

std::string listed(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t k = 0; k < names.size(); ++k)
        text += (k == 0 ? "" : k + 1 == names.size() ? " or " : ", ") + names[k];
    return text;
}

std::vector<std::string> criterion_options() {
    std::vector<std::string> options;
    for (const vantor::criterion_info& c : vantor::criteria()) options.push_back(c.name);
    return options;
}

std::vector<vantor::criterion> criteria_of(const std::string& name,
                                           const std::vector<vantor::criterion>& all) {
    if (name == "all") return all;
    std::vector<vantor::criterion> chosen;
    for (const vantor::criterion_info& c : vantor::criteria()) {
        if (name == c.name) chosen.push_back(c.criterion);
    }
    return chosen;
}

std::vector<vantor::criterion> every_criterion() {
    std::vector<vantor::criterion> all;
    for (const vantor::criterion_info& c : vantor::criteria()) all.push_back(c.criterion);
    return all;
}

std::string without_datum(element_kind element) {
    return ", or about the " + reference_name(default_reference, vantor::info_of(element).name);
}

CLI::Option* add_reference(CLI::App* command, element_kind element,
                           std::optional<std::string>& reference) {
    const vantor::element_info& names = vantor::info_of(element);
    std::vector<std::string> options;
    for (const vantor::criterion c : names.criteria) options.push_back(vantor::criterion_name(c));
    std::string set;  // "{gauss,zone}", as the help shows the choices of the other options
    for (std::size_t k = 0; k < options.size(); ++k) set += (k == 0 ? "{" : ",") + options[k];
    set += "}";
    const std::string refusal = std::string("a ") + names.name + " is fitted by " + listed(options);
    const CLI::Validator member(
        [options, refusal](std::string& value) {
            const bool known = std::find(options.begin(), options.end(), value) != options.end();
            return known ? std::string() : refusal + ", not by '" + printable(value) + "'";
        },
        set);
    return command
        ->add_option("--reference", reference,
                     std::string("without a datum: the criterion of the ") + names.name +
                         " fitted to the points (default " +
                         vantor::criterion_name(default_reference) + ")")
        ->check(member);
}

vantor::criterion reference_of(const std::optional<std::string>& reference) {
    return reference ? criteria_of(*reference, {}).at(0) : default_reference;
}

void add_reference_fit(CLI::App* command, element_kind element, bool axial, fit_steering& o) {
    const std::string name = vantor::info_of(element).name;
    if (axial) {
        add_numbers(command, "--axis", o.axis, "X,Y,Z",
                    "without a datum: approximate axis direction of the fitted " + name +
                        " (the drawing's nominal direction): its axis stays within --max-tilt of "
                        "it");
    }
    if (axial || element == element_kind::cone) {
        add_numbers(command, "--max-tilt", o.max_tilt, "DEG",
                    "without a datum: largest angle of the fitted " + name +
                        "'s axis from --axis or, without it, of a minimax fit's axis from the "
                        "least-squares axis (default 15; 90: every direction)");
    }
    add_numbers(command, "--time-budget", o.time_budget, "S",
                "without a datum: seconds a minimax fit of the " + name +
                    " may spend proving its optimum (default 1)");
}

vantor::fit_options fit_options_of(const fit_steering& o, const std::optional<std::string>& axis) {
    vantor::fit_options options;
    if (axis) options.axis = direction_of(*axis, "--axis");
    if (o.max_tilt) options.max_tilt = parse_numbers(*o.max_tilt, "--max-tilt", {"DEG"})[0];
    if (o.time_budget) {
        options.time_budget = parse_numbers(*o.time_budget, "--time-budget", {"S"})[0];
    }
    if (o.reject) options.reject_beyond = parse_numbers(*o.reject, "--reject", {"K"})[0];
    const std::string refused = vantor::fit_options_refusal(options);
    if (!refused.empty()) throw error(refused);
    return options;
}

vantor::fit_options reference_options(const fit_steering& o, element_kind element,
                                      const std::string& datum,
                                      const std::optional<std::string>& axis) {
    if (!datum.empty()) {
        const std::pair<const char*, bool> steering[] = {
            {"--axis", axis.has_value()},
            {"--max-tilt", o.max_tilt.has_value()},
            {"--time-budget", o.time_budget.has_value()},
        };
        for (const auto& [option, given] : steering) {
            if (given) {
                throw error(std::string(option) + " only steers the " +
                            vantor::info_of(element).name + " fitted without a datum: not with " +
                            datum);
            }
        }
    }
    return fit_options_of(o, axis);
}

std::string first_given(const std::vector<std::pair<const char*, bool>>& options) {
    for (const auto& [option, given] : options) {
        if (given) return option;
    }
    return "";
}

void add_cutoff(CLI::App* command, const char* form, std::optional<double>& value) {
    const std::string f = form;
    CLI::Option* cutoff =
        command
            ->add_option(
                "--cutoff", value,
                "filter the profile with the Gaussian filter of this cutoff wavelength "
                "(coordinate units; 50 % transmission) and report " +
                    f + "t, " + f + "p, " + f + "v, " + f +
                    "q about the least-squares reference of the filtered points; warns when the "
                    "median spacing of the points exceeds LENGTH / 7")
            ->type_name("LENGTH");
    for (const char* name : {"--line", "--plane", "--direction", "--reference", "--axis",
                             "--max-tilt", "--time-budget", "--reject"}) {
        if (CLI::Option* other = command->get_option_no_throw(name)) cutoff->excludes(other);
    }
}

// --- The report.

void print(const report& r, const program_options& program, std::ostream& out) {
    if (program.json) {
        out << r.dump(2) << '\n';
    } else {
        print_text(r, out);
    }
}

int print_outcome(const outcome& o, const program_options& program, std::ostream& out) {
    print(o.data, program, out);
    return o.within ? exit_ok : exit_outside_tolerance;
}

int fits_status(const report& r, std::ostream& err) {
    const std::vector<std::string> failures = failed_fits(r);
    for (const std::string& failure : failures) err << "vantor: " << failure << '\n';
    const report& fits = r.contains("circles") ? r.at("circles") : r.at("fits");
    return failures.size() < fits.size() ? exit_ok : exit_failure;
}

}  // namespace vantor::cli

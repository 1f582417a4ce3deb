// SPDX-License-Identifier: Apache-2.0
#include "cli.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include <vantor/version.h>
#include <CLI/CLI.hpp>

#include "criteria.h"
#include "demo.h"
#include "error.h"
#include "file_commands.h"
#include "fit_commands.h"
#include "form_commands.h"
#include "numbers.h"
#include "output_file.h"
#include "point_file.h"
#include "reference.h"
#include "roundness_command.h"
#include "spelling.h"
#include "units.h"

namespace vantor::cli {
namespace {

// Every option value as the user typed it; converted after parsing, with messages of our own.
// Only one subcommand runs, so the subcommands share the fields.
struct arguments {
    std::string file;
    std::optional<std::string> columns;
    std::string element;
    std::string output;
    bool json = false;
    bool force = false;
    int trace = 0;
    std::string criterion = "gauss";
    std::optional<std::string> direction, circle, line, plane, sphere, centre, cylinder, cone, axis;
    std::optional<std::string> nominal, lower, upper;
    std::optional<std::string> max_tilt, time_budget, reject;
    std::optional<double> cutoff;  // straightness, flatness: the filter's cutoff wavelength
    std::optional<std::string> plot;
    std::optional<std::string> to;
    std::optional<std::string> filter, reference, spectrum, unit;
    std::string input_unit = "mm";
    int harmonics = 0;  // 0: not asked for
    std::optional<std::string> sections;
    std::string samples;
};

// The options of the program itself, which every subcommand takes as well (before or after its
// name); listed in the help of each.
struct global_option {
    const char* name;
    const char* value;  // the value's name, "" for a flag
    const char* description;
};
constexpr global_option global_options[] = {
    {"--json", "", "print the report as JSON"},
    {"--force", "", "replace output files that exist"},
    {"--trace", "N", "print the library's trace lines up to level N (0-5) on standard error"},
};

const char* const exit_statuses =
    "Exit status: 0 done (within tolerance), 1 outside the tolerance given, 2 error.";

// The footer of each subcommand's help: the global options and the exit statuses.
std::string subcommand_footer() {
    std::string text = "Global options (also before the subcommand):\n";
    for (const global_option& o : global_options) {
        std::string form = std::string(o.name) + (*o.value != '\0' ? " " : "") + o.value;
        form.resize(std::max<std::size_t>(form.size() + 2, 28), ' ');
        text += "  " + form + o.description + "\n";
    }
    return text + "\n" + exit_statuses;
}

// --- Option values to geometry.

using names = std::vector<std::string>;

spanto::point point_at(const std::vector<double>& v, std::size_t i) {
    return spanto::point(v[i], v[i + 1], v[i + 2]);
}

// The vector (v[i], v[i+1], v[i+2]), which must not be zero.
spanto::vector nonzero_vector(const std::vector<double>& v, std::size_t i,
                              const std::string& option, const char* what) {
    const spanto::vector d(v[i], v[i + 1], v[i + 2]);
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

tolerance tolerance_of(const arguments& a) {
    const auto number = [](const std::optional<std::string>& text, const char* option) {
        return text ? std::optional<double>(parse_numbers(*text, option, {"V"})[0]) : std::nullopt;
    };
    tolerance t{number(a.nominal, "--nominal"), number(a.lower, "--lower"),
                number(a.upper, "--upper")};
    // A tolerance zone of negative width holds no value at all.
    if (t.upper && *t.upper < t.lower.value_or(0.0)) {
        throw error(t.lower ? "--upper must not be below --lower"
                            : "--upper must not be below --lower, which is 0 unless given");
    }
    return t;
}

// The criteria that --criterion names: one, or with "all" every one of `all`.
std::vector<vantor::criterion> criteria_of(const std::string& name,
                                           const std::vector<vantor::criterion>& all) {
    if (name == "all") return all;
    std::vector<vantor::criterion> chosen;
    for (const criterion_names& c : criteria()) {
        if (name == c.option) chosen.push_back(c.id);
    }
    return chosen;
}

std::vector<vantor::criterion> every_criterion() {
    std::vector<vantor::criterion> all;
    for (const criterion_names& c : criteria()) all.push_back(c.id);
    return all;
}

// --filter: a cutoff in UPR, or 0 for "none".
std::optional<double> filter_of(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    if (*text == "none") return 0.0;
    double cutoff = 0.0;
    if (!parse_number(*text, cutoff) || !(cutoff > 0.0)) {
        throw error("--filter expects a cutoff in UPR (a positive number, e.g. 50) or none: got '" +
                    printable(*text) + "'");
    }
    return cutoff;
}

// The criterion of the element a form command fits without a datum: --reference, by default
// default_reference.
vantor::criterion reference_of(const arguments& a) {
    return a.reference ? criteria_of(*a.reference, {}).at(0) : default_reference;
}

// The options of a fit as `vantor fit` reads them: `axis` (an approximate axis direction, the
// value of --axis), --max-tilt and --time-budget; refused as the library refuses them.
vantor::fit_options fit_options_of(const arguments& a, const std::optional<std::string>& axis) {
    vantor::fit_options options;
    if (axis) options.axis = direction_of(*axis, "--axis");
    if (a.max_tilt) options.max_tilt = parse_numbers(*a.max_tilt, "--max-tilt", {"DEG"})[0];
    if (a.time_budget) {
        options.time_budget = parse_numbers(*a.time_budget, "--time-budget", {"S"})[0];
    }
    if (a.reject) options.reject_beyond = parse_numbers(*a.reject, "--reject", {"K"})[0];
    const std::string refused = vantor::fit_options_refusal(options);
    if (!refused.empty()) throw error(refused);
    return options;
}

// The options of the reference element a form command fits without a datum (fit_options_of;
// `axis` only for a line, cylinder or cone). `datum` names the datum given, empty for none: with
// one nothing is fitted, so each of these options is refused.
vantor::fit_options reference_options(const arguments& a, element_kind element,
                                      const std::string& datum,
                                      const std::optional<std::string>& axis = std::nullopt) {
    if (!datum.empty()) {
        const std::pair<const char*, bool> steering[] = {
            {"--axis", axis.has_value()},
            {"--max-tilt", a.max_tilt.has_value()},
            {"--time-budget", a.time_budget.has_value()},
        };
        for (const auto& [option, given] : steering) {
            if (given) {
                throw error(std::string(option) + " only steers the " + names_of(element).name +
                            " fitted without a datum: not with " + datum);
            }
        }
    }
    return fit_options_of(a, axis);
}

// The first of the options that are given, empty when none is.
std::string first_given(const std::vector<std::pair<const char*, bool>>& options) {
    for (const auto& [option, given] : options) {
        if (given) return option;
    }
    return "";
}

// Conicity's datum and the options of the cone fitted without one. Its --axis is a datum axis
// with six numbers and the approximate axis direction of the fitted cone with three.
struct conicity_arguments {
    std::variant<std::monostate, spanto::cone, spanto::axis> datum;
    vantor::fit_options options;
};

conicity_arguments conicity_arguments_of(const arguments& a) {
    conicity_arguments c;
    if (a.cone) c.datum = cone_of(*a.cone, "--cone");
    std::string datum = a.cone ? "--cone" : "";
    std::optional<std::string> approximate;
    if (a.axis) {
        const auto fields = std::count(a.axis->begin(), a.axis->end(), ',') + 1;
        if (fields == 6) {
            if (a.cone) throw error("--cone and --axis are both datums: give one");
            c.datum = axis_of(*a.axis, "--axis");
            datum = "a datum axis (--axis with six numbers)";
            if (a.reference) {
                throw error("--reference only steers the cone fitted without a datum: not with " +
                            datum);
            }
        } else if (fields == 3) {
            approximate = a.axis;
        } else {
            throw error(
                "--axis expects PX,PY,PZ,DX,DY,DZ (a datum axis) or X,Y,Z (an approximate "
                "axis direction): got " +
                std::to_string(fields) + " in '" + printable(*a.axis) + "'");
        }
    }
    c.options = reference_options(a, element_kind::cone, datum, approximate);
    return c;
}

// --sections: auto, a whole number of sections, or cut heights (one cut with a decimal point).
vantor::section_request sections_of(const std::string& text) {
    vantor::section_request r;
    if (text == "auto") {
        r.how = vantor::section_request::rule::gaps;
        return r;
    }
    const bool whole = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    r.how = whole ? vantor::section_request::rule::count : vantor::section_request::rule::at;
    std::string_view rest = text;
    bool number = true;
    while (number) {
        const std::size_t comma = rest.find(',');
        std::string_view field = rest.substr(0, comma);
        while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
        while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
        double v = 0.0;
        number = parse_number(field, v);
        r.at.push_back(v);
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    if (whole && number && r.at[0] >= 1 && r.at[0] <= 1e6) {
        r.count = static_cast<int>(r.at[0]);
        r.at.clear();
        return r;
    }
    if (!number || whole) {
        throw error(
            "--sections expects auto, a number of sections from 1 (4) or the heights to cut at "
            "(10,30,50; one cut with a decimal point: 30.0): got '" +
            printable(text) + "'");
    }
    return r;
}

roundness_options roundness_options_of(const arguments& a) {
    roundness_options o;
    if (a.sections) {
        o.sections = sections_of(*a.sections);
        if (a.plot || a.spectrum) {
            throw error("--plot and --spectrum draw one profile: not with --sections");
        }
    }
    o.filter = filter_of(a.filter);
    if (a.reference) o.reference = criteria_of(*a.reference, {}).at(0);
    if (a.harmonics > 0) o.harmonics = a.harmonics;
    if (a.spectrum) o.spectrum = plot_request{*a.spectrum, a.force};
    const std::string datum =
        first_given({{"--circle", a.circle.has_value()}, {"--line", a.line.has_value()}});
    o.fit = reference_options(a, element_kind::circle, datum);
    // The analysis fits its reference circles to the profile itself, by default options.
    if (o.analysed() && a.time_budget) {
        throw error(
            "--time-budget only steers the circle fitted without the roundness analysis: not with "
            "--filter, --reference, --harmonics or --spectrum");
    }
    return o;
}

// Sends the library's trace lines to `err` while alive, so that standard output carries the
// report alone (with --json, nothing but JSON).
class trace_lines_to {
  public:
    explicit trace_lines_to(std::ostream& err) { vantor::tracesink(&write, &err); }
    ~trace_lines_to() { vantor::tracesink(nullptr, nullptr); }
    trace_lines_to(const trace_lines_to&) = delete;
    trace_lines_to& operator=(const trace_lines_to&) = delete;

  private:
    static void write(const char* line, void* err) { *static_cast<std::ostream*>(err) << line; }
};

// --- The command line.

// The point file a command reads (positional `name`) and --columns.
void add_input(CLI::App* command, const char* name, arguments& a) {
    command
        ->add_option(name, a.file,
                     "point file: text (x y z per line, CSV), PLY, STL, PCD, OBJ or element file; "
                     "- reads standard input")
        ->required();
    command
        ->add_option("--columns", a.columns,
                     "the columns of x, y and z in a text file: numbers from 1 (2,3,4) or names of "
                     "its header line (x,y,z); other columns are then allowed")
        ->type_name("X,Y,Z");
}

// --input-unit and --unit of a command that reads points and reports lengths.
void add_units(CLI::App* command, arguments& a) {
    const CLI::Validator known(
        [](std::string& value) {
            return unit_named(value) != nullptr
                       ? std::string()
                       : "unknown unit '" + printable(value) + "': give " + unit_names();
        },
        "");
    command
        ->add_option("--input-unit", a.input_unit,
                     "the unit of the file's coordinates: " + unit_names() + " (default mm)")
        ->type_name("UNIT")
        ->check(known);
    command
        ->add_option("--unit", a.unit,
                     "the unit of the report (text, JSON, charts) and of every length given on "
                     "the command line (datums, tolerances); the coordinates are converted to it "
                     "(default: the input unit). Text prints a length with 5 significant digits "
                     "or to 1 nm, whichever shows more")
        ->type_name("UNIT")
        ->check(known);
}

CLI::App* add_command(CLI::App& app, const char* name, const std::string& description,
                      arguments& a) {
    CLI::App* command = app.add_subcommand(name, description);
    add_input(command, "FILE", a);
    add_units(command, a);
    return command;
}

CLI::Option* add_numbers(CLI::App* command, const char* name, std::optional<std::string>& value,
                         const char* form, const std::string& description) {
    return command->add_option(name, value, description)->type_name(form);
}

void add_tolerance(CLI::App* command, arguments& a) {
    CLI::Option* upper = add_numbers(command, "--upper", a.upper, "U",
                                     "upper tolerance: the value may reach nominal + U; U, V "
                                     "and L are in the report's unit (--unit)");
    add_numbers(command, "--nominal", a.nominal, "V", "nominal value (default 0; needs --upper)")
        ->needs(upper);
    add_numbers(command, "--lower", a.lower, "L",
                "lower tolerance: the value must reach nominal + L (default 0; needs --upper)")
        ->needs(upper);
}

// A whole number from `least` to `most`, refused naming the range in plain numbers.
CLI::Validator whole_number(int least, int most) {
    const std::string range =
        "a whole number from " + std::to_string(least) + " to " + std::to_string(most);
    return CLI::Validator(
        [least, most, range](std::string& value) {
            long long n = 0;
            const char* const end = value.data() + value.size();
            const auto [stop, ec] = std::from_chars(value.data(), end, n);
            const bool whole = !value.empty() && ec == std::errc() && stop == end;
            return whole && n >= least && n <= most
                       ? std::string()
                       : "expects " + range + ": got '" + printable(value) + "'";
        },
        "");
}

// At most one of the datum options.
void exclusive(const std::vector<CLI::Option*>& options) {
    for (CLI::Option* a : options) {
        for (CLI::Option* b : options) {
            if (a != b) a->excludes(b);
        }
    }
}

// --cutoff of straightness and flatness: the filtered form about the least-squares reference,
// so it takes none of the command's datum and reference options.
void add_cutoff(CLI::App* command, const char* form, arguments& a) {
    const std::string f = form;
    CLI::Option* cutoff =
        command
            ->add_option(
                "--cutoff", a.cutoff,
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

void print(const report& r, const arguments& a, std::ostream& out) {
    if (a.json) {
        out << r.dump(2) << '\n';
    } else {
        print_text(r, out);
    }
}

int print_outcome(const outcome& o, const arguments& a, std::ostream& out) {
    print(o.data, a, out);
    return o.within ? exit_ok : exit_outside_tolerance;
}

// The exit status of a fit or circle report, whose failed fits it prints on `err`: exit_ok when
// at least one fit is valid (--criterion all may meet a criterion that fails).
int fits_status(const report& r, std::ostream& err) {
    const std::vector<std::string> failures = failed_fits(r);
    for (const std::string& failure : failures) err << "vantor: " << failure << '\n';
    const report& fits = r.contains("circles") ? r.at("circles") : r.at("fits");
    return failures.size() < fits.size() ? exit_ok : exit_failure;
}

struct subcommands {
    CLI::App *info, *circle, *fit, *roundness, *flatness, *straightness, *sphericity, *cylindricity,
        *conicity, *convert, *demo;
};

// ", or about the minimum-zone plane": the reference measured against without a datum.
std::string without_datum(element_kind element) {
    return ", or about the " + reference_name(default_reference, names_of(element).name);
}

// --reference of a form command: one of the criteria its element has.
CLI::Option* add_reference(CLI::App* command, element_kind element, arguments& a) {
    const element_names& names = names_of(element);
    std::vector<std::string> options;
    for (const vantor::criterion c : names.criteria) options.push_back(names_of(c).option);
    std::string listed;  // "gauss or zone", "gauss, zone, inscribed or circumscribed"
    std::string set;     // "{gauss,zone}", as the help shows the choices of the other options
    for (std::size_t k = 0; k < options.size(); ++k) {
        listed += (k == 0 ? "" : k + 1 == options.size() ? " or " : ", ") + options[k];
        set += (k == 0 ? "{" : ",") + options[k];
    }
    set += "}";
    const std::string refusal = std::string("a ") + names.name + " is fitted by " + listed;
    const CLI::Validator member(
        [options, refusal](std::string& value) {
            const bool known = std::find(options.begin(), options.end(), value) != options.end();
            return known ? std::string() : refusal + ", not by '" + printable(value) + "'";
        },
        set);
    return command
        ->add_option("--reference", a.reference,
                     std::string("without a datum: the criterion of the ") + names.name +
                         " fitted to the points (default " + names_of(default_reference).option +
                         ")")
        ->check(member);
}

// The options of the fit of the reference element a form command measures about without a
// datum: --time-budget, and for a line or cylinder (`axial`) --axis and --max-tilt. (Conicity
// defines its own --axis, which also takes a datum axis.)
void add_reference_fit(CLI::App* command, element_kind element, bool axial, arguments& a) {
    const std::string name = names_of(element).name;
    if (axial) {
        add_numbers(command, "--axis", a.axis, "X,Y,Z",
                    "without a datum: approximate axis direction of the fitted " + name +
                        " (the drawing's nominal direction): its axis stays within --max-tilt of "
                        "it");
    }
    if (axial || element == element_kind::cone) {
        add_numbers(command, "--max-tilt", a.max_tilt, "DEG",
                    "without a datum: largest angle of the fitted " + name +
                        "'s axis from --axis or, without it, of a minimax fit's axis from the "
                        "least-squares axis (default 15; 90: every direction)");
    }
    add_numbers(command, "--time-budget", a.time_budget, "S",
                "without a datum: seconds a minimax fit of the " + name +
                    " may spend proving its optimum (default 1)");
}

subcommands define(CLI::App& app, arguments& a) {
    std::vector<std::string> criterion_options;  // as --criterion and --reference take them
    for (const criterion_names& c : criteria()) criterion_options.push_back(c.option);

    subcommands s;
    s.info = add_command(
        app, "info",
        "count, format, bounding box, centroid; creation date and time of an element file", a);

    s.circle = add_command(app, "circle", "fitted circles: centre, normal, radius, deviation", a);
    std::vector<std::string> or_all = criterion_options;
    or_all.push_back("all");
    s.circle
        ->add_option("--criterion", a.criterion,
                     "fitting criterion (default gauss); all: every criterion. A fit that fails is "
                     "reported with its reason, also on standard error; the exit status is 0 when "
                     "at least one fit is valid, else 2")
        ->check(CLI::IsMember(or_all));
    add_numbers(s.circle, "--direction", a.direction, "X,Y,Z",
                "axis direction of the circle (default: normal of the least-squares plane)");

    s.fit = app.add_subcommand(
        "fit", "a fitted element with its deviation, RMS, iterations and uncertainties");
    std::vector<std::string> element_options;
    for (const element_names& e : elements()) element_options.push_back(e.name);
    s.fit->add_option("ELEMENT", a.element, "line, plane, circle, sphere, cylinder or cone")
        ->required()
        ->check(CLI::IsMember(element_options));
    add_input(s.fit, "FILE", a);
    add_units(s.fit, a);
    s.fit
        ->add_option("--criterion", a.criterion,
                     "fitting criterion (default gauss); all: every criterion of the element. "
                     "A fit that fails is reported with its reason, also on standard error; the "
                     "exit status is 0 when at least one fit is valid, else 2")
        ->check(CLI::IsMember(or_all));
    add_numbers(s.fit, "--direction", a.direction, "X,Y,Z",
                "a circle's axis direction (default: normal of the least-squares plane)");
    add_numbers(s.fit, "--axis", a.axis, "X,Y,Z",
                "approximate axis of a line, cylinder or cone (the drawing's nominal direction): "
                "every fit keeps its axis within --max-tilt of it");
    add_numbers(s.fit, "--max-tilt", a.max_tilt, "DEG",
                "largest angle of the axis from --axis or, without it, of a minimax fit's axis "
                "from the least-squares axis (default 15; 90: every direction)");
    add_numbers(s.fit, "--time-budget", a.time_budget, "S",
                "seconds a minimax fit may spend proving its optimum (default 1)");
    add_numbers(s.fit, "--reject", a.reject, "K",
                "leave out the points more than K (>= 2) standard deviations from the "
                "least-squares element, refitting until none is, and list them (default: keep "
                "every point)");

    s.roundness =
        add_command(app, "roundness", "roundness about a circle, an axis or a fitted circle", a);
    exclusive(
        {add_numbers(s.roundness, "--circle", a.circle, "CX,CY,CZ,NX,NY,NZ,R", "datum circle"),
         add_numbers(s.roundness, "--line", a.line, "PX,PY,PZ,DX,DY,DZ", "datum axis"),
         add_numbers(s.roundness, "--direction", a.direction, "X,Y,Z",
                     "about the circle fitted along this direction (the " +
                         reference_name(default_reference, "circle") +
                         " unless --reference; the default without a datum: along the normal of "
                         "the least-squares plane)")});
    s.roundness->add_option("--plot", a.plot, "write an SVG roundness plot")->type_name("OUT.svg");
    s.roundness
        ->add_option("--filter", a.filter,
                     "Gaussian filter of the profile with this cutoff in undulations per "
                     "revolution (15, 50, 150, 500 or any positive value), or none")
        ->type_name("UPR|none");
    s.roundness
        ->add_option("--reference", a.reference,
                     "report RONt, RONp, RONv, RONq about this reference circle fitted to the "
                     "profile (default " +
                         std::string(names_of(default_reference).option) +
                         ", the circle of the roundness without a datum); with --line or "
                         "--circle, also its eccentricity from that axis")
        ->check(CLI::IsMember(criterion_options));
    s.roundness
        ->add_option("--harmonics", a.harmonics,
                     "report the K largest harmonics of 2 UPR and up (amplitude, phase)")
        ->type_name("K")
        ->check(whole_number(1, std::numeric_limits<int>::max()));
    s.roundness
        ->add_option("--spectrum", a.spectrum, "write an SVG bar chart of the harmonic spectrum")
        ->type_name("OUT.svg");
    s.roundness
        ->add_option("--sections", a.sections,
                     "points measured as several profiles along the axis: split them and report "
                     "each section, then the largest value. auto: cut where consecutive heights "
                     "along the axis lie more than 1 % of the radius apart; N: cut at the N-1 "
                     "widest such gaps; AT,AT,...: cut at these heights, each in such a gap "
                     "(x*dx+y*dy+z*dz along "
                     "the axis, turned towards +z, then +y, then +x; one cut: 30.0). The axis is "
                     "the datum's, or the least-squares cylinder's. Without --sections, points "
                     "that spread along the axis by more than 1 % of the radius are refused")
        ->type_name("auto|N|AT,AT,...");
    add_reference_fit(s.roundness, element_kind::circle, false, a);
    add_tolerance(s.roundness, a);

    s.flatness = add_command(
        app, "flatness",
        "flatness about a plane or along a direction" + without_datum(element_kind::plane), a);
    exclusive({add_numbers(s.flatness, "--plane", a.plane, "PX,PY,PZ,NX,NY,NZ", "datum plane"),
               add_numbers(s.flatness, "--direction", a.direction, "X,Y,Z",
                           "normal of planes through the first point"),
               add_reference(s.flatness, element_kind::plane, a)});
    add_reference_fit(s.flatness, element_kind::plane, false, a);
    add_tolerance(s.flatness, a);
    add_cutoff(s.flatness, "FLT", a);

    s.straightness = add_command(
        app, "straightness", "straightness about a line" + without_datum(element_kind::line), a);
    exclusive({add_numbers(s.straightness, "--line", a.line, "PX,PY,PZ,DX,DY,DZ", "datum line"),
               add_reference(s.straightness, element_kind::line, a)});
    add_reference_fit(s.straightness, element_kind::line, true, a);
    add_tolerance(s.straightness, a);
    add_cutoff(s.straightness, "STR", a);

    s.sphericity = add_command(
        app, "sphericity",
        "sphericity about a sphere or a centre" + without_datum(element_kind::sphere), a);
    exclusive({add_numbers(s.sphericity, "--sphere", a.sphere, "CX,CY,CZ,R", "datum sphere"),
               add_numbers(s.sphericity, "--centre", a.centre, "X,Y,Z", "centre point"),
               add_reference(s.sphericity, element_kind::sphere, a)});
    add_reference_fit(s.sphericity, element_kind::sphere, false, a);
    add_tolerance(s.sphericity, a);

    s.cylindricity =
        add_command(app, "cylindricity",
                    "cylindricity about a cylinder" + without_datum(element_kind::cylinder), a);
    exclusive({add_numbers(s.cylindricity, "--cylinder", a.cylinder, "PX,PY,PZ,DX,DY,DZ,R",
                           "datum cylinder"),
               add_reference(s.cylindricity, element_kind::cylinder, a)});
    add_reference_fit(s.cylindricity, element_kind::cylinder, true, a);
    add_tolerance(s.cylindricity, a);

    s.conicity = add_command(app, "conicity",
                             "conicity about a cone, or about an axis with a fitted cone" +
                                 without_datum(element_kind::cone),
                             a);
    exclusive({add_numbers(s.conicity, "--cone", a.cone, "X0,Y0,Z0,R0,X1,Y1,Z1,R1",
                           "datum cone: radius R0 at the first point, R1 at the second"),
               add_reference(s.conicity, element_kind::cone, a)});
    // Six numbers are a datum axis; three the approximate axis of the cone fitted without one.
    add_numbers(s.conicity, "--axis", a.axis, "PX,PY,PZ,DX,DY,DZ|X,Y,Z",
                "six numbers: datum axis, the cone is fitted about it; three: approximate axis "
                "direction of the cone fitted without a datum (the drawing's nominal direction): "
                "its axis stays within --max-tilt of it");
    add_reference_fit(s.conicity, element_kind::cone, false, a);
    add_tolerance(s.conicity, a);

    s.convert = app.add_subcommand(
        "convert", "write the points of a point file as text, PLY or an element file");
    add_input(s.convert, "IN", a);
    s.convert
        ->add_option("OUT", a.output,
                     "file to write (never replaced without --force); - writes text to standard "
                     "output")
        ->required();
    s.convert
        ->add_option("--to", a.to,
                     "format to write (default: text for -, .txt, .csv and .xyz, binary PLY "
                     "for .ply, else element)")
        ->check(CLI::IsMember({"text", "element", "ply"}));

    s.demo = app.add_subcommand("demo", "a tour of the commands on sample measurements");
    s.demo
        ->add_option("--samples", a.samples,
                     "directory of the samples (default: found beside the program)")
        ->type_name("DIR");
    s.demo
        ->add_option("--plot", a.plot,
                     "where to write the roundness plot (default demo-roundness.svg)")
        ->type_name("OUT.svg");

    return s;
}

// --columns: three column numbers or names separated by commas.
vantor::read_options input_of(const arguments& a) {
    vantor::read_options options;
    if (!a.columns) return options;
    std::string_view rest = *a.columns;
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
            printable(*a.columns) + "'");
    }
    return options;
}

// Runs the chosen subcommand and returns the exit status.
int execute(const subcommands& s, const arguments& a, std::ostream& out, std::ostream& err) {
    vantor::tracelevel(a.trace);
    const tolerance tol = tolerance_of(a);
    const vantor::read_options input = input_of(a);
    // Converted to the report's unit as read, so that every length of the report and of the
    // command line is in it.
    const length_unit& input_unit = *unit_named(a.input_unit);
    const length_unit& unit = a.unit ? *unit_named(*a.unit) : input_unit;
    const auto points = [&] {
        point_file in = read_points(a.file, input);
        convert_points(in, input_unit, unit);
        return in;
    };
    if (s.info->parsed()) {
        print(info(points()), a, out);
    } else if (s.circle->parsed()) {
        std::optional<spanto::vector> direction;
        if (a.direction) direction = direction_of(*a.direction, "--direction");
        const report r = circle(points(), direction, criteria_of(a.criterion, every_criterion()));
        print(r, a, out);
        return fits_status(r, err);
    } else if (s.fit->parsed()) {
        const element_names& element = *element_named(a.element);
        std::optional<spanto::vector> direction;
        if (a.direction) direction = direction_of(*a.direction, "--direction");
        if (direction && element.kind != element_kind::circle) {
            throw error("--direction: only a circle is fitted along a direction, not a " +
                        a.element);
        }
        const vantor::fit_options options = fit_options_of(a, a.axis);
        const report r = fit(points(), element.kind, criteria_of(a.criterion, element.criteria),
                             direction, options);
        print(r, a, out);
        return fits_status(r, err);
    } else if (s.roundness->parsed()) {
        roundness_datum datum;
        if (a.circle) datum = circle_of(*a.circle, "--circle");
        if (a.line) datum = line_of(*a.line, "--line");
        if (a.direction) datum = direction_of(*a.direction, "--direction");
        std::optional<plot_request> plot;
        if (a.plot) plot = plot_request{*a.plot, a.force};
        const roundness_options options = roundness_options_of(a);
        const outcome o = roundness(points(), datum, tol, plot, options);
        const int status = print_outcome(o, a, out);
        // A refused plot or spectrum file fails the command, after its report.
        for (const std::string& refused : o.refused) err << "vantor: " << refused << '\n';
        return o.refused.empty() ? status : int(exit_failure);
    } else if (s.flatness->parsed() && a.cutoff) {
        return print_outcome(filtered_flatness(points(), *a.cutoff, tol), a, out);
    } else if (s.straightness->parsed() && a.cutoff) {
        return print_outcome(filtered_straightness(points(), *a.cutoff, tol), a, out);
    } else if (s.flatness->parsed()) {
        std::variant<std::monostate, spanto::plane, spanto::vector> datum;
        if (a.plane) datum = plane_of(*a.plane, "--plane");
        if (a.direction) datum = direction_of(*a.direction, "--direction");
        const vantor::fit_options options =
            reference_options(a, element_kind::plane,
                              first_given({{"--plane", a.plane.has_value()},
                                           {"--direction", a.direction.has_value()}}));
        return print_outcome(flatness(points(), datum, tol, reference_of(a), options), a, out);
    } else if (s.straightness->parsed()) {
        std::optional<spanto::line> line;
        if (a.line) line = line_of(*a.line, "--line");
        const vantor::fit_options options =
            reference_options(a, element_kind::line, a.line ? "--line" : "", a.axis);
        return print_outcome(straightness(points(), line, tol, reference_of(a), options), a, out);
    } else if (s.sphericity->parsed()) {
        std::variant<std::monostate, spanto::sphere, spanto::point> datum;
        if (a.sphere) datum = sphere_of(*a.sphere, "--sphere");
        if (a.centre) datum = point_of(*a.centre, "--centre");
        const vantor::fit_options options = reference_options(
            a, element_kind::sphere,
            first_given({{"--sphere", a.sphere.has_value()}, {"--centre", a.centre.has_value()}}));
        return print_outcome(sphericity(points(), datum, tol, reference_of(a), options), a, out);
    } else if (s.cylindricity->parsed()) {
        std::optional<spanto::cylinder> cylinder;
        if (a.cylinder) cylinder = cylinder_of(*a.cylinder, "--cylinder");
        const vantor::fit_options options =
            reference_options(a, element_kind::cylinder, a.cylinder ? "--cylinder" : "", a.axis);
        return print_outcome(cylindricity(points(), cylinder, tol, reference_of(a), options), a,
                             out);
    } else if (s.conicity->parsed()) {
        const conicity_arguments c = conicity_arguments_of(a);
        return print_outcome(conicity(points(), c.datum, tol, reference_of(a), c.options), a, out);
    } else if (s.convert->parsed()) {
        std::optional<output_kind> to;
        if (a.to) {
            to = *a.to == "text"  ? output_kind::text
                 : *a.to == "ply" ? output_kind::ply
                                  : output_kind::element;
        }
        const report r = convert(a.file, input, a.output, to, a.force);
        if (a.output != "-") {
            print(r, a, out);
        } else if (r.contains("points_left_out")) {
            err << "vantor: " << r["points_left_out"].get<int>()
                << " points with coordinates that are not finite were left out\n";
        }
    } else if (s.demo->parsed()) {
        return demo({a.samples, a.plot, a.force, a.json}, out);
    }
    return exit_ok;
}

// The usage summary: the program's form and each subcommand with its description.
std::string usage(CLI::App& app) {
    std::string text =
        "Usage: vantor [--json] [--force] [--trace N] SUBCOMMAND ...\n\nSubcommands:\n";
    for (const CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
        std::string name = command->get_name();
        name.resize(std::max<std::size_t>(name.size() + 2, 14), ' ');
        text += "  " + name + command->get_description() + "\n";
    }
    return text + "\nvantor SUBCOMMAND --help lists the options of each.\n";
}

// " (did you mean 'roundness'?)" when the first word that is not an option is a misspelt
// subcommand; empty otherwise.
std::string suggestion(CLI::App& app, int argc, const char* const* argv) {
    std::vector<std::string> names;
    for (const CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
        names.push_back(command->get_name());
    }
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == global_options[2].name) {
            ++i;  // its value
            continue;
        }
        if (word.empty() || word[0] == '-') continue;
        if (std::find(names.begin(), names.end(), word) != names.end()) return "";
        const std::string closest = closest_name(word, names);
        return closest.empty() ? "" : " (did you mean '" + closest + "'?)";
    }
    return "";
}

}  // namespace

int run(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    arguments a;
    CLI::App app(
        "Reference elements and form values of measured points: fitted lines, planes, circles, "
        "spheres, cylinders and cones, roundness, flatness, straightness, sphericity, "
        "cylindricity, conicity, and a roundness plot.",
        "vantor");
    app.require_subcommand(0, 1);  // none is reported below, after unknown words
    app.fallthrough();
    app.set_version_flag("--version", std::string("vantor ") + vantor::version());
    app.add_flag(global_options[0].name, a.json, global_options[0].description);
    app.add_flag(global_options[1].name, a.force, global_options[1].description);
    app.add_option(global_options[2].name, a.trace, global_options[2].description)
        ->type_name(global_options[2].value)
        ->check(CLI::Range(0, 5));
    app.footer(exit_statuses);

    const subcommands s = define(app, a);
    const std::string footer = subcommand_footer();
    for (CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
        command->footer(footer);
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return app.exit(e, out, err);  // --help, --version
        std::string help = "vantor --help";
        const std::vector<CLI::App*> chosen = app.get_subcommands();
        if (!chosen.empty()) help = "vantor " + chosen.front()->get_name() + " --help";
        const std::string closest = chosen.empty() ? suggestion(app, argc, argv) : "";
        err << "vantor: " << e.what() << closest << " (see " << help << ")\n";
        return exit_failure;
    }
    if (app.get_subcommands().empty()) {
        err << "vantor: a subcommand is required (see vantor --help)\n\n" << usage(app);
        return exit_failure;
    }

    try {
        const trace_lines_to trace(err);
        const int status = execute(s, a, out, err);
        check_written(out.flush(), "standard output");
        return status;
    } catch (const error& e) {
        err << "vantor: " << e.what() << '\n';
    } catch (const std::bad_alloc&) {
        err << "vantor: out of memory\n";
    }
    return exit_failure;
}

}  // namespace vantor::cli

// SPDX-License-Identifier: Apache-2.0
// vantor roundness FILE [--circle ...|--line ...|--direction ...] [--plot OUT.svg] [--filter UPR]
// [--reference C] [--harmonics K] [--spectrum OUT.svg] [--sections ...] [tolerance]
#include <charconv>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "cli.h"
#include "error.h"
#include "fits.h"
#include "numbers.h"
#include "reference.h"
#include "roundness_command.h"
#include "subcommands.h"

namespace vantor::cli {
namespace {

struct roundness_command_options {
    input_options input;
    std::optional<std::string> circle, line, direction, plot, filter, reference, spectrum, sections;
    int harmonics = 0;  // 0: not asked for
    fit_steering steering;
    tolerance_options tolerance;
};

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

roundness_options roundness_options_of(const roundness_command_options& a, bool force) {
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
    if (a.spectrum) o.spectrum = plot_request{*a.spectrum, force};
    const std::string datum =
        first_given({{"--circle", a.circle.has_value()}, {"--line", a.line.has_value()}});
    o.fit = reference_options(a.steering, element_kind::circle, datum);
    // The analysis fits its reference circles to the profile itself, by default options.
    if (o.analysed() && a.steering.time_budget) {
        throw error(
            "--time-budget only steers the circle fitted without the roundness analysis: not with "
            "--filter, --reference, --harmonics or --spectrum");
    }
    return o;
}

}  // namespace

subcommand roundness_command(CLI::App& app, const program_options& program) {
    const auto o = std::make_shared<roundness_command_options>();
    CLI::App* command = add_command(
        app, "roundness", "roundness about a circle, an axis or a fitted circle", o->input);
    exclusive(
        {add_numbers(command, "--circle", o->circle, "CX,CY,CZ,NX,NY,NZ,R", "datum circle"),
         add_numbers(command, "--line", o->line, "PX,PY,PZ,DX,DY,DZ", "datum axis"),
         add_numbers(command, "--direction", o->direction, "X,Y,Z",
                     "about the circle fitted along this direction (the " +
                         reference_name(default_reference, "circle") +
                         " unless --reference; the default without a datum: along the normal of "
                         "the least-squares plane)")});
    command->add_option("--plot", o->plot, "write an SVG roundness plot")->type_name("OUT.svg");
    command
        ->add_option("--filter", o->filter,
                     "Gaussian filter of the profile with this cutoff in undulations per "
                     "revolution (15, 50, 150, 500 or any positive value), or none")
        ->type_name("UPR|none");
    command
        ->add_option("--reference", o->reference,
                     "report RONt, RONp, RONv, RONq about this reference circle fitted to the "
                     "profile (default " +
                         std::string(vantor::criterion_name(default_reference)) +
                         ", the circle of the roundness without a datum); with --line or "
                         "--circle, also its eccentricity from that axis")
        ->check(CLI::IsMember(criterion_options()));
    command
        ->add_option("--harmonics", o->harmonics,
                     "report the K largest harmonics of 2 UPR and up (amplitude, phase)")
        ->type_name("K")
        ->check(whole_number(1, std::numeric_limits<int>::max()));
    command
        ->add_option("--spectrum", o->spectrum, "write an SVG bar chart of the harmonic spectrum")
        ->type_name("OUT.svg");
    command
        ->add_option("--sections", o->sections,
                     "points measured as several profiles along the axis: split them and report "
                     "each section, then the largest value. auto: cut where consecutive heights "
                     "along the axis lie more than 1 % of the radius apart; N: cut at the N-1 "
                     "widest such gaps; AT,AT,...: cut at these heights, each in such a gap "
                     "(x*dx+y*dy+z*dz along "
                     "the axis, turned towards +z, then +y, then +x; one cut: 30.0). The axis is "
                     "the datum's, or the least-squares cylinder's. Without --sections, points "
                     "that spread along the axis by more than 1 % of the radius are refused")
        ->type_name("auto|N|AT,AT,...");
    add_reference_fit(command, element_kind::circle, false, o->steering);
    add_tolerance(command, o->tolerance);

    return {command, [o, &program](std::ostream& out, std::ostream& err) -> int {
                const tolerance tol = tolerance_of(o->tolerance);
                const vantor::read_options columns = columns_of(o->input);
                roundness_datum datum;
                if (o->circle) datum = circle_of(*o->circle, "--circle");
                if (o->line) datum = line_of(*o->line, "--line");
                if (o->direction) datum = direction_of(*o->direction, "--direction");
                std::optional<plot_request> plot;
                if (o->plot) plot = plot_request{*o->plot, program.force};
                const roundness_options options = roundness_options_of(*o, program.force);
                const outcome r =
                    roundness(read_input(o->input, columns), datum, tol, plot, options);
                const int status = print_outcome(r, program, out);
                // A refused plot or spectrum file fails the command, after its report.
                for (const std::string& refused : r.refused) err << "vantor: " << refused << '\n';
                return r.refused.empty() ? status : int(exit_failure);
            }};
}

}  // namespace vantor::cli

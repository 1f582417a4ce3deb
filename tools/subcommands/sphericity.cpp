// SPDX-License-Identifier: Apache-2.0
// vantor sphericity FILE [--sphere ...|--centre ...|--reference C] [tolerance]
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "form_commands.h"
#include "subcommands.h"

namespace vantor::cli {
namespace {

struct sphericity_options {
    input_options input;
    std::optional<std::string> sphere, centre, reference;
    fit_steering steering;
    tolerance_options tolerance;
};

}  // namespace

subcommand sphericity_command(CLI::App& app, const program_options& program) {
    const auto o = std::make_shared<sphericity_options>();
    CLI::App* command = add_command(
        app, "sphericity",
        "sphericity about a sphere or a centre" + without_datum(element_kind::sphere), o->input);
    exclusive({add_numbers(command, "--sphere", o->sphere, "CX,CY,CZ,R", "datum sphere"),
               add_numbers(command, "--centre", o->centre, "X,Y,Z", "centre point"),
               add_reference(command, element_kind::sphere, o->reference)});
    add_reference_fit(command, element_kind::sphere, false, o->steering);
    add_tolerance(command, o->tolerance);
    return {command, [o, &program](std::ostream& out, std::ostream&) -> int {
                const tolerance tol = tolerance_of(o->tolerance);
                const vantor::read_options columns = columns_of(o->input);
                std::variant<std::monostate, spanto::sphere, spanto::point> datum;
                if (o->sphere) datum = sphere_of(*o->sphere, "--sphere");
                if (o->centre) datum = point_of(*o->centre, "--centre");
                const vantor::fit_options options =
                    reference_options(o->steering, element_kind::sphere,
                                      first_given({{"--sphere", o->sphere.has_value()},
                                                   {"--centre", o->centre.has_value()}}));
                return print_outcome(sphericity(read_input(o->input, columns), datum, tol,
                                                reference_of(o->reference), options),
                                     program, out);
            }};
}

}  // namespace vantor::cli

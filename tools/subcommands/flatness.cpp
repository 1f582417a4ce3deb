// SPDX-License-Identifier: Apache-2.0
// vantor flatness FILE [--plane ...|--direction ...|--reference C] [--cutoff LENGTH] [tolerance]
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "form_commands.h"
#include "subcommands.h"

namespace vantor::cli {
namespace {

struct flatness_options {
    input_options input;
    std::optional<std::string> plane, direction, reference;
    fit_steering steering;
    tolerance_options tolerance;
    std::optional<double> cutoff;
};

}  // namespace

subcommand flatness_command(CLI::App& app, const program_options& program) {
    const auto o = std::make_shared<flatness_options>();
    CLI::App* command = add_command(
        app, "flatness",
        "flatness about a plane or along a direction" + without_datum(element_kind::plane),
        o->input);
    exclusive({add_numbers(command, "--plane", o->plane, "PX,PY,PZ,NX,NY,NZ", "datum plane"),
               add_numbers(command, "--direction", o->direction, "X,Y,Z",
                           "normal of planes through the first point"),
               add_reference(command, element_kind::plane, o->reference)});
    add_reference_fit(command, element_kind::plane, false, o->steering);
    add_tolerance(command, o->tolerance);
    add_cutoff(command, "FLT", o->cutoff);
    return {command, [o, &program](std::ostream& out, std::ostream&) -> int {
                const tolerance tol = tolerance_of(o->tolerance);
                const vantor::read_options columns = columns_of(o->input);
                if (o->cutoff) {
                    return print_outcome(
                        filtered_flatness(read_input(o->input, columns), *o->cutoff, tol), program,
                        out);
                }
                std::variant<std::monostate, spanto::plane, spanto::vector> datum;
                if (o->plane) datum = plane_of(*o->plane, "--plane");
                if (o->direction) datum = direction_of(*o->direction, "--direction");
                const vantor::fit_options options =
                    reference_options(o->steering, element_kind::plane,
                                      first_given({{"--plane", o->plane.has_value()},
                                                   {"--direction", o->direction.has_value()}}));
                return print_outcome(flatness(read_input(o->input, columns), datum, tol,
                                              reference_of(o->reference), options),
                                     program, out);
            }};
}

}  // namespace vantor::cli

// SPDX-License-Identifier: Apache-2.0
// vantor cylindricity FILE [--cylinder ...|--reference C] [--axis X,Y,Z] [--max-tilt DEG]
// [tolerance]
#include <memory>
#include <optional>
#include <string>

#include "form_commands.h"
#include "subcommands.h"

namespace vantor::cli {
namespace {

struct cylindricity_options {
    input_options input;
    std::optional<std::string> cylinder, reference;
    fit_steering steering;
    tolerance_options tolerance;
};

}  // namespace

subcommand cylindricity_command(CLI::App& app, const program_options& program) {
    const auto o = std::make_shared<cylindricity_options>();
    CLI::App* command = add_command(
        app, "cylindricity",
        "cylindricity about a cylinder" + without_datum(element_kind::cylinder), o->input);
    exclusive(
        {add_numbers(command, "--cylinder", o->cylinder, "PX,PY,PZ,DX,DY,DZ,R", "datum cylinder"),
         add_reference(command, element_kind::cylinder, o->reference)});
    add_reference_fit(command, element_kind::cylinder, true, o->steering);
    add_tolerance(command, o->tolerance);
    return {command, [o, &program](std::ostream& out, std::ostream&) -> int {
                const tolerance tol = tolerance_of(o->tolerance);
                const vantor::read_options columns = columns_of(o->input);
                std::optional<spanto::cylinder> cylinder;
                if (o->cylinder) cylinder = cylinder_of(*o->cylinder, "--cylinder");
                const vantor::fit_options options =
                    reference_options(o->steering, element_kind::cylinder,
                                      o->cylinder ? "--cylinder" : "", o->steering.axis);
                return print_outcome(cylindricity(read_input(o->input, columns), cylinder, tol,
                                                  reference_of(o->reference), options),
                                     program, out);
            }};
}

}  // namespace vantor::cli

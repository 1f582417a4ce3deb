// SPDX-License-Identifier: Apache-2.0
// vantor straightness FILE [--line ...|--reference C] [--axis X,Y,Z] [--max-tilt DEG]
// [--cutoff LENGTH] [tolerance]
#include <memory>
#include <optional>
#include <string>

#include "form_commands.h"
#include "subcommands.h"

namespace vantor::cli {
namespace {

struct straightness_options {
    input_options input;
    std::optional<std::string> line, reference;
    fit_steering steering;
    tolerance_options tolerance;
    std::optional<double> cutoff;
};

}  // namespace

subcommand straightness_command(CLI::App& app, const program_options& program) {
    const auto o = std::make_shared<straightness_options>();
    CLI::App* command =
        add_command(app, "straightness",
                    "straightness about a line" + without_datum(element_kind::line), o->input);
    exclusive({add_numbers(command, "--line", o->line, "PX,PY,PZ,DX,DY,DZ", "datum line"),
               add_reference(command, element_kind::line, o->reference)});
    add_reference_fit(command, element_kind::line, true, o->steering);
    add_tolerance(command, o->tolerance);
    add_cutoff(command, "STR", o->cutoff);
    return {command, [o, &program](std::ostream& out, std::ostream&) -> int {
                const tolerance tol = tolerance_of(o->tolerance);
                const vantor::read_options columns = columns_of(o->input);
                if (o->cutoff) {
                    return print_outcome(
                        filtered_straightness(read_input(o->input, columns), *o->cutoff, tol),
                        program, out);
                }
                std::optional<spanto::line> line;
                if (o->line) line = line_of(*o->line, "--line");
                const vantor::fit_options options = reference_options(
                    o->steering, element_kind::line, o->line ? "--line" : "", o->steering.axis);
                return print_outcome(straightness(read_input(o->input, columns), line, tol,
                                                  reference_of(o->reference), options),
                                     program, out);
            }};
}

}  // namespace vantor::cli

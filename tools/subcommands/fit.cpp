// SPDX-License-Identifier: Apache-2.0
// vantor fit ELEMENT FILE [--criterion C|all] [--direction X,Y,Z] [--axis X,Y,Z] [--max-tilt DEG]
// [--time-budget S] [--reject K]
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "error.h"
#include "fit_commands.h"
#include "subcommands.h"

namespace vantor::cli {
namespace {

struct fit_command_options {
    std::string element;
    input_options input;
    std::string criterion = "gauss";
    std::optional<std::string> direction;
    fit_steering steering;
};

}  // namespace

subcommand fit_command(CLI::App& app, const program_options& program) {
    const auto o = std::make_shared<fit_command_options>();
    CLI::App* command = app.add_subcommand(
        "fit", "a fitted element with its deviation, RMS, iterations and uncertainties");
    std::vector<std::string> element_options;
    for (const vantor::element_info& e : vantor::elements()) element_options.push_back(e.name);
    command->add_option("ELEMENT", o->element, listed(element_options))
        ->required()
        ->check(CLI::IsMember(element_options));
    add_input(command, "FILE", o->input);
    add_units(command, o->input);
    std::vector<std::string> or_all = criterion_options();
    or_all.push_back("all");
    command
        ->add_option("--criterion", o->criterion,
                     "fitting criterion (default gauss); all: every criterion of the element. "
                     "A fit that fails is reported with its reason, also on standard error; the "
                     "exit status is 0 when at least one fit is valid, else 2")
        ->check(CLI::IsMember(or_all));
    add_numbers(command, "--direction", o->direction, "X,Y,Z",
                "a circle's axis direction (default: normal of the least-squares plane)");
    add_numbers(command, "--axis", o->steering.axis, "X,Y,Z",
                "approximate axis of a line, cylinder or cone (the drawing's nominal direction): "
                "every fit keeps its axis within --max-tilt of it");
    add_numbers(command, "--max-tilt", o->steering.max_tilt, "DEG",
                "largest angle of the axis from --axis or, without it, of a minimax fit's axis "
                "from the least-squares axis (default 15; 90: every direction)");
    add_numbers(command, "--time-budget", o->steering.time_budget, "S",
                "seconds a minimax fit may spend proving its optimum (default 1)");
    add_numbers(command, "--reject", o->steering.reject, "K",
                "leave out the points more than K (>= 2) standard deviations from the "
                "least-squares element, refitting until none is, and list them (default: keep "
                "every point)");
    return {command, [o, &program](std::ostream& out, std::ostream& err) -> int {
                const vantor::read_options columns = columns_of(o->input);
                const vantor::element_info& element = *vantor::element_named(o->element);
                std::optional<spanto::vector> direction;
                if (o->direction) direction = direction_of(*o->direction, "--direction");
                if (direction && element.kind != element_kind::circle) {
                    throw error("--direction: only a circle is fitted along a direction, not a " +
                                o->element);
                }
                const vantor::fit_options options = fit_options_of(o->steering, o->steering.axis);
                const report r =
                    fit(read_input(o->input, columns), element.kind,
                        criteria_of(o->criterion, element.criteria), direction, options);
                print(r, program, out);
                return fits_status(r, err);
            }};
}

}  // namespace vantor::cli

// SPDX-License-Identifier: Apache-2.0
// vantor circle FILE [--criterion C|all] [--direction X,Y,Z]
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fit_commands.h"
#include "subcommands.h"

namespace vantor::cli {
namespace {

struct circle_options {
    input_options input;
    std::string criterion = "gauss";
    std::optional<std::string> direction;
};

}  // namespace

subcommand circle_command(CLI::App& app, const program_options& program) {
    const auto o = std::make_shared<circle_options>();
    CLI::App* command =
        add_command(app, "circle", "fitted circles: centre, normal, radius, deviation", o->input);
    std::vector<std::string> or_all = criterion_options();
    or_all.push_back("all");
    command
        ->add_option("--criterion", o->criterion,
                     "fitting criterion (default gauss); all: every criterion. A fit that fails is "
                     "reported with its reason, also on standard error; the exit status is 0 when "
                     "at least one fit is valid, else 2")
        ->check(CLI::IsMember(or_all));
    add_numbers(command, "--direction", o->direction, "X,Y,Z",
                "axis direction of the circle (default: normal of the least-squares plane)");
    return {command, [o, &program](std::ostream& out, std::ostream& err) -> int {
                const vantor::read_options columns = columns_of(o->input);
                std::optional<spanto::vector> direction;
                if (o->direction) direction = direction_of(*o->direction, "--direction");
                const report r = circle(read_input(o->input, columns), direction,
                                        criteria_of(o->criterion, every_criterion()));
                print(r, program, out);
                return fits_status(r, err);
            }};
}

}  // namespace vantor::cli

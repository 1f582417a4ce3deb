// SPDX-License-Identifier: Apache-2.0
// vantor inspect PLAN: the inspection plan's tolerances (front/inspection.h, docs/inspection.md).
#include <memory>
#include <string>

#include "inspection.h"
#include "subcommands.h"

namespace vantor::cli {

subcommand inspect_command(CLI::App& app, const program_options& program) {
    const auto plan = std::make_shared<std::string>();
    CLI::App* command = app.add_subcommand(
        "inspect",
        "evaluate an inspection plan: datums, form, orientation, location, runout and size "
        "tolerances, one line each with value, limits and verdict");
    command
        ->add_option("PLAN", *plan,
                     "the plan (JSON): features with their point files, tolerances with their "
                     "datums and limits; see docs/inspection.md")
        ->required();
    return {command, [plan, &program](std::ostream& out, std::ostream&) {
                return print_outcome(inspect(*plan), program, out);
            }};
}

}  // namespace vantor::cli

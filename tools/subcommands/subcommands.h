// SPDX-License-Identifier: Apache-2.0
// The subcommands of the program, one file each: each defines its options on the program's
// command line and runs its command from them.
#ifndef VANTOR_TOOLS_SUBCOMMANDS_SUBCOMMANDS_H
#define VANTOR_TOOLS_SUBCOMMANDS_SUBCOMMANDS_H

#include <functional>
#include <ostream>

#include <CLI/CLI.hpp>

#include "options.h"

namespace vantor::cli {

// A subcommand defined on the program's command line, and what runs it once the command line is
// parsed: it prints its report on `out` and returns the exit status (cli.h), or throws error.
struct subcommand {
    CLI::App* command;
    std::function<int(std::ostream& out, std::ostream& err)> run;
};

// Each defines its subcommand on `app`; `program` holds the program's own options when it runs.
subcommand info_command(CLI::App& app, const program_options& program);
subcommand circle_command(CLI::App& app, const program_options& program);
subcommand fit_command(CLI::App& app, const program_options& program);
subcommand roundness_command(CLI::App& app, const program_options& program);
subcommand flatness_command(CLI::App& app, const program_options& program);
subcommand straightness_command(CLI::App& app, const program_options& program);
subcommand sphericity_command(CLI::App& app, const program_options& program);
subcommand cylindricity_command(CLI::App& app, const program_options& program);
subcommand conicity_command(CLI::App& app, const program_options& program);
subcommand inspect_command(CLI::App& app, const program_options& program);
subcommand convert_command(CLI::App& app, const program_options& program);
subcommand demo_command(CLI::App& app, const program_options& program);

}  // namespace vantor::cli

#endif  // VANTOR_TOOLS_SUBCOMMANDS_SUBCOMMANDS_H

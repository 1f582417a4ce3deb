// SPDX-License-Identifier: Apache-2.0
// vantor demo [--samples DIR] [--plot OUT.svg]: the tour itself is tools/demo.cpp.
#include <memory>

#include "demo.h"
#include "subcommands.h"

namespace vantor::cli {

subcommand demo_command(CLI::App& app, const program_options& program) {
    const auto o = std::make_shared<demo_options>();
    CLI::App* command = app.add_subcommand("demo", "a tour of the commands on sample measurements");
    command
        ->add_option("--samples", o->samples,
                     "directory of the samples (default: found beside the program)")
        ->type_name("DIR");
    command
        ->add_option("--plot", o->plot,
                     "where to write the roundness plot (default demo-roundness.svg)")
        ->type_name("OUT.svg");
    return {command, [o, &program](std::ostream& out, std::ostream&) {
                return demo({o->samples, o->plot, program.force, program.json}, out);
            }};
}

}  // namespace vantor::cli

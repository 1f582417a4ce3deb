// SPDX-License-Identifier: Apache-2.0
// vantor info FILE
#include <memory>

#include "cli.h"
#include "file_commands.h"
#include "subcommands.h"

namespace vantor::cli {

subcommand info_command(CLI::App& app, const program_options& program) {
    const auto o = std::make_shared<input_options>();
    CLI::App* command = add_command(
        app, "info",
        "count, format, bounding box, centroid; creation date and time of an element file", *o);
    return {command, [o, &program](std::ostream& out, std::ostream&) -> int {
                const vantor::read_options columns = columns_of(*o);
                print(info(read_input(*o, columns)), program, out);
                return exit_ok;
            }};
}

}  // namespace vantor::cli

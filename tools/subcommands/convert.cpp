// SPDX-License-Identifier: Apache-2.0
// vantor convert IN OUT [--to text|element|ply]
#include <memory>
#include <optional>
#include <string>

#include "cli.h"
#include "file_commands.h"
#include "subcommands.h"

namespace vantor::cli {
namespace {

struct convert_options {
    input_options input;
    std::string output;
    std::optional<std::string> to;
};

}  // namespace

subcommand convert_command(CLI::App& app, const program_options& program) {
    const auto o = std::make_shared<convert_options>();
    CLI::App* command = app.add_subcommand(
        "convert", "write the points of a point file as text, PLY or an element file");
    add_input(command, "IN", o->input);
    command
        ->add_option("OUT", o->output,
                     "file to write (never replaced without --force); - writes text to standard "
                     "output")
        ->required();
    command
        ->add_option("--to", o->to,
                     "format to write (default: text for -, .txt, .csv and .xyz, binary PLY "
                     "for .ply, else element)")
        ->check(CLI::IsMember({"text", "element", "ply"}));
    return {command, [o, &program](std::ostream& out, std::ostream& err) -> int {
                const vantor::read_options columns = columns_of(o->input);
                std::optional<output_kind> to;
                if (o->to) {
                    to = *o->to == "text"  ? output_kind::text
                         : *o->to == "ply" ? output_kind::ply
                                           : output_kind::element;
                }
                const report r = convert(o->input.file, columns, o->output, to, program.force);
                if (o->output != "-") {
                    print(r, program, out);
                } else if (r.contains("points_left_out")) {
                    err << "vantor: " << r["points_left_out"].get<int>()
                        << " points with coordinates that are not finite were left out\n";
                }
                return exit_ok;
            }};
}

}  // namespace vantor::cli

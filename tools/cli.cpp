// SPDX-License-Identifier: Apache-2.0
#include "cli.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include <vantor/version.h>
#include <CLI/CLI.hpp>

#include "error.h"
#include "output_file.h"
#include "spelling.h"
#include "subcommands/subcommands.h"

namespace vantor::cli {
namespace {

// The subcommands, in the order the usage lists them (subcommands/).
subcommand (*const subcommands[])(CLI::App&, const program_options&) = {
    info_command,     circle_command,       fit_command,        roundness_command,
    flatness_command, straightness_command, sphericity_command, cylindricity_command,
    conicity_command, inspect_command,      convert_command,    demo_command,
};

// The options of the program itself, which every subcommand takes as well (before or after its
// name); listed in the help of each.
struct global_option {
    const char* name;
    const char* value;  // the value's name, "" for a flag
    const char* description;
};
constexpr global_option global_options[] = {
    {"--json", "", "print the report as JSON"},
    {"--force", "", "replace output files that exist"},
    {"--trace", "N", "print the library's trace lines up to level N (0-5) on standard error"},
};

const char* const exit_statuses =
    "Exit status: 0 done (within tolerance), 1 outside the tolerance given, 2 error.";

// The footer of each subcommand's help: the global options and the exit statuses.
std::string subcommand_footer() {
    std::string text = "Global options (also before the subcommand):\n";
    for (const global_option& o : global_options) {
        std::string form = std::string(o.name) + (*o.value != '\0' ? " " : "") + o.value;
        form.resize(std::max<std::size_t>(form.size() + 2, 28), ' ');
        text += "  " + form + o.description + "\n";
    }
    return text + "\n" + exit_statuses;
}

// Sends the library's trace lines to `err` while alive, so that standard output carries the
// report alone (with --json, nothing but JSON).
class trace_lines_to {
  public:
    explicit trace_lines_to(std::ostream& err) { vantor::tracesink(&write, &err); }
    ~trace_lines_to() { vantor::tracesink(nullptr, nullptr); }
    trace_lines_to(const trace_lines_to&) = delete;
    trace_lines_to& operator=(const trace_lines_to&) = delete;

  private:
    static void write(const char* line, void* err) { *static_cast<std::ostream*>(err) << line; }
};

// The usage summary: the program's form and each subcommand with its description.
std::string usage(CLI::App& app) {
    std::string text =
        "Usage: vantor [--json] [--force] [--trace N] SUBCOMMAND ...\n\nSubcommands:\n";
    for (const CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
        std::string name = command->get_name();
        name.resize(std::max<std::size_t>(name.size() + 2, 14), ' ');
        text += "  " + name + command->get_description() + "\n";
    }
    return text + "\nvantor SUBCOMMAND --help lists the options of each.\n";
}

// " (did you mean 'roundness'?)" when the first word that is not an option is a misspelt
// subcommand; empty otherwise.
std::string suggestion(CLI::App& app, int argc, const char* const* argv) {
    std::vector<std::string> names;
    for (const CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
        names.push_back(command->get_name());
    }
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == global_options[2].name) {
            ++i;  // its value
            continue;
        }
        if (word.empty() || word[0] == '-') continue;
        if (std::find(names.begin(), names.end(), word) != names.end()) return "";
        const std::string closest = closest_name(word, names);
        return closest.empty() ? "" : " (did you mean '" + closest + "'?)";
    }
    return "";
}

}  // namespace

int run(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    program_options program;
    CLI::App app(
        "Reference elements and form values of measured points: fitted lines, planes, circles, "
        "spheres, cylinders and cones, roundness, flatness, straightness, sphericity, "
        "cylindricity, conicity, and a roundness plot.",
        "vantor");
    app.require_subcommand(0, 1);  // none is reported below, after unknown words
    app.fallthrough();
    app.set_version_flag("--version", std::string("vantor ") + vantor::version());
    app.add_flag(global_options[0].name, program.json, global_options[0].description);
    app.add_flag(global_options[1].name, program.force, global_options[1].description);
    app.add_option(global_options[2].name, program.trace, global_options[2].description)
        ->type_name(global_options[2].value)
        ->check(CLI::Range(0, 5));
    app.footer(exit_statuses);

    std::vector<subcommand> commands;
    for (const auto define : subcommands) commands.push_back(define(app, program));
    const std::string footer = subcommand_footer();
    for (CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
        command->footer(footer);
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return app.exit(e, out, err);  // --help, --version
        std::string help = "vantor --help";
        const std::vector<CLI::App*> chosen = app.get_subcommands();
        if (!chosen.empty()) help = "vantor " + chosen.front()->get_name() + " --help";
        const std::string closest = chosen.empty() ? suggestion(app, argc, argv) : "";
        err << "vantor: " << e.what() << closest << " (see " << help << ")\n";
        return exit_failure;
    }
    if (app.get_subcommands().empty()) {
        err << "vantor: a subcommand is required (see vantor --help)\n\n" << usage(app);
        return exit_failure;
    }

    try {
        const trace_lines_to trace(err);
        vantor::tracelevel(program.trace);
        int status = exit_ok;
        for (const subcommand& c : commands) {
            if (c.command->parsed()) status = c.run(out, err);
        }
        check_written(out.flush(), "standard output");
        return status;
    } catch (const error& e) {
        err << "vantor: " << e.what() << '\n';
        // With --json a failure is a report too, so that a script reads its kind as a fit's.
        if (program.json) {
            print({{"valid", false}, {"status", vantor::status_name(e.code)}, {"error", e.what()}},
                  program, out);
        }
    } catch (const std::bad_alloc&) {
        err << "vantor: out of memory\n";
    }
    return exit_failure;
}

}  // namespace vantor::cli

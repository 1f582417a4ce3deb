// SPDX-License-Identifier: Apache-2.0
// The command line: options and subcommands, dispatch, and how the program ends.
#ifndef VANTOR_TOOLS_CLI_H
#define VANTOR_TOOLS_CLI_H

#include <ostream>

namespace vantor::cli {

// Exit statuses of the program.
enum exit_status : int {
    exit_ok = 0,                 // done; the value lies within the tolerance, if one was given
    exit_outside_tolerance = 1,  // done; the value lies outside the tolerance given
    exit_failure = 2,            // bad arguments or input, or a failed evaluation
};

// Runs the program: parses the arguments, runs the subcommand and prints its report on `out`
// (aligned text, or JSON with --json). Usage errors and bad input are printed on `err` as one
// line "vantor: ..." and end with exit_failure; --help and --version print on `out`.
int run(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace vantor::cli

#endif  // VANTOR_TOOLS_CLI_H

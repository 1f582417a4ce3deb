// SPDX-License-Identifier: Apache-2.0
// Helpers of the program's tests: running the program (and front/support.h's scratch directory and
// test data).
#ifndef VANTOR_TESTS_TOOLS_SUPPORT_H
#define VANTOR_TESTS_TOOLS_SUPPORT_H

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "front/support.h"

namespace vantor::cli::testing {

struct program_result {
    int status;
    std::string out;
    std::string err;
};

// Runs the built program with `args`, `input` on its standard input, in directory `cwd` (the
// scratch directory when empty).
inline program_result run_program(const std::vector<std::string>& args,
                                  const std::string& input = "", const std::string& cwd = "") {
    const auto quote = [](const std::string& s) {
        std::string q = "'";
        for (const char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return q + "'";
    };
    static int runs = 0;
    const std::string base = scratch("run" + std::to_string(++runs));
    write_file(base + ".in", input);
    std::string command =
        "cd " + quote(cwd.empty() ? scratch_directory() : cwd) + " && " + quote(VANTOR_CLI_PROGRAM);
    for (const std::string& a : args) command += " " + quote(a);
    command +=
        " <" + quote(base + ".in") + " >" + quote(base + ".out") + " 2>" + quote(base + ".err");
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(base + ".out"),
            read_file(base + ".err")};
}

// The program's JSON report for `args` (--json added), expecting exit status `status` and
// nothing on standard error; {} when it printed nothing.
inline nlohmann::json report_of(std::vector<std::string> args, int status = 0) {
    args.push_back("--json");
    const program_result r = run_program(args);
    EXPECT_EQ(r.status, status) << r.err;
    EXPECT_EQ(r.err, "");
    return nlohmann::json::parse(r.out.empty() ? "{}" : r.out);
}

}  // namespace vantor::cli::testing

#endif  // VANTOR_TESTS_TOOLS_SUPPORT_H

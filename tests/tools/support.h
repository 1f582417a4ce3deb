// SPDX-License-Identifier: Apache-2.0
// Helpers of the program's tests: a scratch directory, the test data, and running the program.
#ifndef VANTOR_TESTS_TOOLS_SUPPORT_H
#define VANTOR_TESTS_TOOLS_SUPPORT_H

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace vantor::cli::testing {

// A directory of this test process (under $VANTOR_TEST_TMP, or the system's temporary
// directory), removed with its contents at exit.
inline const std::string& scratch_directory() {
    // On the heap and never freed, so that it outlives the removal at exit.
    static const std::string& path = *new std::string([] {
        const char* base = std::getenv("VANTOR_TEST_TMP");
        const std::filesystem::path root =
            base && *base ? std::filesystem::path(base) : std::filesystem::temp_directory_path();
        std::string pattern = (root / "tools-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        std::atexit([] { std::filesystem::remove_all(scratch_directory()); });
        return pattern;
    }());
    return path;
}

// A path in the scratch directory.
inline std::string scratch(const std::string& name) { return scratch_directory() + "/" + name; }

// A file of tests/data/cli.
inline std::string data_file(const std::string& name) {
    return std::string(VANTOR_TEST_DATA) + "/cli/" + name;
}

inline std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void write_file(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

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

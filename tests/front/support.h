// SPDX-License-Identifier: Apache-2.0
// Helpers of the front end's and the program's tests: a scratch directory and the test data.
#ifndef VANTOR_TESTS_FRONT_SUPPORT_H
#define VANTOR_TESTS_FRONT_SUPPORT_H

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

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

}  // namespace vantor::cli::testing

#endif  // VANTOR_TESTS_FRONT_SUPPORT_H

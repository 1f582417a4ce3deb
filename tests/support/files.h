// SPDX-License-Identifier: Apache-2.0
// Scratch files for tests that write and read element files.
#ifndef VANTOR_TESTS_SUPPORT_FILES_H
#define VANTOR_TESTS_SUPPORT_FILES_H

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace vantor::testing {

using bytes = std::vector<unsigned char>;

// The scratch directory: $VANTOR_TEST_TMP (set by CTest), else GoogleTest's temporary
// directory; with a trailing '/'.
inline std::string scratch_dir() {
    const char* dir = std::getenv("VANTOR_TEST_TMP");
    std::string path = dir != nullptr && *dir != '\0' ? dir : ::testing::TempDir();
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

// A path in the scratch directory unique to the running test: tests may run in parallel.
inline std::string scratch_path(const std::string& suffix) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return scratch_dir() + test->test_suite_name() + "." + test->name() + "." + suffix;
}

inline bytes read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void write_file(const std::string& path, const bytes& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(content.data()),
              static_cast<std::streamsize>(content.size()));
}

// v as `width` little-endian bytes (zero beyond its 8), for building expected files by hand.
inline bytes le(unsigned long long v, int width) {
    bytes out;
    for (int i = 0; i < width; ++i) {
        out.push_back(i < 8 ? static_cast<unsigned char>(v >> (8 * i)) : 0);
    }
    return out;
}

inline bytes operator+(bytes a, const bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace vantor::testing

#endif  // VANTOR_TESTS_SUPPORT_FILES_H

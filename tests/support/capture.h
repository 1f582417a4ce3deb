// SPDX-License-Identifier: Apache-2.0
// Captures what the code under test prints on standard output.
#ifndef VANTOR_TESTS_SUPPORT_CAPTURE_H
#define VANTOR_TESTS_SUPPORT_CAPTURE_H

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "vantor/version.h"

namespace vantor::testing {

// Runs f with the trace threshold set to `level` and returns everything printed meanwhile.
template <typename F>
std::string printed(int level, F&& f) {
    const int saved = tracelevel();
    tracelevel(level);
    std::fflush(stdout);
    ::testing::internal::CaptureStdout();
    f();
    std::fflush(stdout);
    std::string out = ::testing::internal::GetCapturedStdout();
    tracelevel(saved);
    return out;
}

}  // namespace vantor::testing

#endif  // VANTOR_TESTS_SUPPORT_CAPTURE_H

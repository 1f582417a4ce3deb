// SPDX-License-Identifier: Apache-2.0
// printf-style formatting of expected trace lines, which show addresses of the caller's objects.
#ifndef VANTOR_TESTS_FORM_FORMATTED_H
#define VANTOR_TESTS_FORM_FORMATTED_H

#include <cstdarg>
#include <cstdio>
#include <string>

namespace vantor::testing {

#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
inline std::string
formatted(const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

}  // namespace vantor::testing

#endif  // VANTOR_TESTS_FORM_FORMATTED_H

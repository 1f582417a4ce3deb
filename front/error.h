// SPDX-License-Identifier: Apache-2.0
// The error the front end and the program throw for bad input or a failed step.
#ifndef VANTOR_FRONT_ERROR_H
#define VANTOR_FRONT_ERROR_H

#include <stdexcept>
#include <string>

#include <vantor/fit.h>

namespace vantor::cli {

// A message for the user, complete in itself (it names the file and line where there is one).
// The program prints it after "vantor: " and exits with status 2.
// `code` says what kind of failure it is, as the library's results name it (vantor::status):
// refused for bad input and failed steps of the program, the library's own code where an
// evaluation failed.
struct error : std::runtime_error {
    explicit error(const std::string& message, vantor::status code = vantor::status::refused)
        : std::runtime_error(message), code(code) {}
    vantor::status code;
};

}  // namespace vantor::cli

#endif  // VANTOR_FRONT_ERROR_H

// SPDX-License-Identifier: Apache-2.0
// The error the front end and the program throw for bad input or a failed step.
#ifndef VANTOR_FRONT_ERROR_H
#define VANTOR_FRONT_ERROR_H

#include <stdexcept>
#include <string>

namespace vantor::cli {

// A message for the user, complete in itself (it names the file and line where there is one).
// The program prints it after "vantor: " and exits with status 2.
struct error : std::runtime_error {
    explicit error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace vantor::cli

#endif  // VANTOR_FRONT_ERROR_H

// SPDX-License-Identifier: Apache-2.0
#include "element_values.h"

#include <string>

#include "error.h"

namespace vantor::cli {

void check_count(const char* kind, std::size_t expected, const numbers& v) {
    if (v.size() != expected) {
        throw error(std::string(kind) + ": expected " + std::to_string(expected) +
                    " numbers, got " + std::to_string(v.size()));
    }
}

void check_radius(const char* kind, double r, const char* name) {
    if (r < 0.0) throw error(std::string(kind) + ": the " + name + " must not be negative");
}

void check_made(const char* kind, bool invalid, const char* why) {
    if (invalid) throw error(std::string(kind) + ": " + why);
}

}  // namespace vantor::cli

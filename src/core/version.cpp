// SPDX-License-Identifier: Apache-2.0
#include "vantor/version.h"

#include "core/version_number.h"

namespace vantor {

const char* version(int& major, int& minor, int& patch) {
    major = detail::version_major;
    minor = detail::version_minor;
    patch = detail::version_patch;
    return detail::version_text;
}

const char* version() { return detail::version_text; }

}  // namespace vantor

// SPDX-License-Identifier: Apache-2.0
// Loading element files. element::load is declared with the element (core), but it creates the
// object of the stored type, so it is defined here, in the lowest layer that knows every type
// with a file body (today the point set alone). Core itself calls nothing above it.
#include <cstdio>

#include "core/element_file.h"
#include "vantor/actual.h"
#include "vantor/element.h"

namespace vantor {

element* element::load(const char* filename) {
    if (filename == nullptr) return nullptr;
    std::FILE* f = std::fopen(filename, "rb");
    if (f == nullptr) return nullptr;
    element* loaded = load(f);
    if (loaded != nullptr) loaded->name(filename);
    std::fclose(f);
    return loaded;
}

element* element::load(std::FILE* f) {
    detail::element_header header;
    if (!detail::read_element_header(f, header)) return nullptr;
    // Only point sets have a body and a loader; any other type loads as nothing.
    if (header.type != type_actual) return nullptr;
    actual* set = actual::load(f);
    if (set != nullptr) {
        set->date_ = header.date;
        set->time_ = header.time;
    }
    return set;
}

}  // namespace vantor

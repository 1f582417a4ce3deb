// SPDX-License-Identifier: Apache-2.0
#include "vantor/element.h"

#include <cstring>

#include "core/clock.h"

namespace vantor {

element::element(elemtype t) : type_(t), name_{}, colour_(-1) {
    const detail::stamp now = detail::local_stamp();
    date_ = now.date;
    time_ = now.time;
}

element::element(const element& other) = default;
element& element::operator=(const element& other) = default;
element::~element() = default;

void element::name(const char* s) {
    // memmove: s may point into this element's own name.
    const std::size_t length = s == nullptr ? 0 : strnlen(s, sizeof name_ - 1);
    if (length > 0) std::memmove(name_, s, length);
    std::memset(name_ + length, 0, sizeof name_ - length);
}

bool element::save(std::FILE*) const { return false; }

}  // namespace vantor

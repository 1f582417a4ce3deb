// SPDX-License-Identifier: Apache-2.0
// The short text forms of cylindricity and conicity.
#include <cstdio>

#include "vantor/feature.h"

namespace vantor {

namespace {

// The ring of text buffers shared by both text forms, one per thread: a returned text stays
// intact for the next nine calls on the same thread.
struct textring {
    static constexpr int size = 10;
    char buffers[size][80];
    int index = 0;
};

// Advances the ring, then writes "<prefix>(invalid)" or "<prefix>(<value>)" into the buffer
// it reaches; a null feature reads as invalid. Bounded: a value too large for the buffer is
// cut, never written past it.
const char* form_text(const char* prefix, const feature* f) {
    thread_local textring ring;
    ring.index = (ring.index + 1) % textring::size;
    char* text = ring.buffers[ring.index];
    if (f == nullptr || f->invalid()) {
        std::snprintf(text, sizeof ring.buffers[0], "%s(invalid)", prefix);
    } else {
        std::snprintf(text, sizeof ring.buffers[0], "%s(%.3f)", prefix, f->value());
    }
    return text;
}

}  // namespace

const char* toa(const cylindricity& c) { return form_text("clf", &c); }
const char* toa(const cylindricity* c) { return form_text("clf", c); }
const char* toa(const coneicity& c) { return form_text("cnf", &c); }
const char* toa(const coneicity* c) { return form_text("cnf", c); }

}  // namespace vantor

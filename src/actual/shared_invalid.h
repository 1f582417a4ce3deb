// SPDX-License-Identifier: Apache-2.0
// The shared invalid point that out-of-range indexing and empty queries hand out.
#ifndef VANTOR_ACTUAL_SHARED_INVALID_H
#define VANTOR_ACTUAL_SHARED_INVALID_H

#include <spanto/point.h>

namespace vantor::detail {

// One point per thread, marked invalid again on every call: a caller that wrote into it
// through a writable reference gets it back invalid.
spanto::point& shared_invalid_point();

}  // namespace vantor::detail

#endif  // VANTOR_ACTUAL_SHARED_INVALID_H

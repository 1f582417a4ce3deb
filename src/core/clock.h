// SPDX-License-Identifier: Apache-2.0
// The local date and time as the integers that elements carry.
#ifndef VANTOR_CORE_CLOCK_H
#define VANTOR_CORE_CLOCK_H

#include <cstdint>

namespace vantor::detail {

struct stamp {
    std::int32_t date;  // year * 10000 + month * 100 + day
    std::int32_t time;  // hour * 10000 + minute * 100 + second
};

// Reads the local clock once.
stamp local_stamp();

}  // namespace vantor::detail

#endif  // VANTOR_CORE_CLOCK_H

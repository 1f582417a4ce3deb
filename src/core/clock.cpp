// SPDX-License-Identifier: Apache-2.0
#include "core/clock.h"

#include <chrono>
#include <ctime>

namespace vantor::detail {

stamp local_stamp() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return stamp{(local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday,
                 local.tm_hour * 10000 + local.tm_min * 100 + local.tm_sec};
}

}  // namespace vantor::detail

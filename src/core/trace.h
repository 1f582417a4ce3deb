// SPDX-License-Identifier: Apache-2.0
// The levelled diagnostic trace: on standard output, or to the sink an application set
// (vantor::tracesink).
#ifndef VANTOR_CORE_TRACE_H
#define VANTOR_CORE_TRACE_H

#include <atomic>

namespace vantor::detail {

// The threshold set through vantor::tracelevel(int); 0 until set.
extern std::atomic<int> trace_threshold;

// True when a line of this level would be printed.
inline bool tracing(int level) { return level <= trace_threshold.load(std::memory_order_relaxed); }

// Formats one line in the manner of printf into a 160-byte buffer (longer output is cut after
// 159 characters) and, when level <= threshold, writes it unchanged to standard output or the
// sink. Returns the number of characters written.
#if defined(__GNUC__)
__attribute__((format(printf, 2, 3)))
#endif
int trace(int level, const char* format, ...);

}  // namespace vantor::detail

// Traces a line whose arguments are evaluated only when the line will be printed, so that a
// suppressed line costs one comparison even when an argument builds a text.
#define VANTOR_TRACE(level, ...)                           \
    do {                                                   \
        if (::vantor::detail::tracing(level)) {            \
            ::vantor::detail::trace((level), __VA_ARGS__); \
        }                                                  \
    } while (false)

#endif  // VANTOR_CORE_TRACE_H

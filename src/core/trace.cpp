// SPDX-License-Identifier: Apache-2.0
#include "core/trace.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "vantor/version.h"

namespace vantor {
namespace detail {

std::atomic<int> trace_threshold{0};

namespace {

// Where lines go. The mutex makes the sink see one line at a time and lets tracesink() wait
// for a line in flight; it is recursive, so that a sink that traces does not wait for itself.
struct trace_destination {
    std::recursive_mutex mutex;
    tracesink_fn sink = nullptr;  // null: standard output
    void* context = nullptr;
};

// Never destroyed: threads may still trace while static objects are destroyed at exit.
trace_destination& destination() {
    static trace_destination* d = new trace_destination;
    return *d;
}

}  // namespace

int trace(int level, const char* format, ...) {
    if (!tracing(level)) return 0;
    char line[160];
    va_list args;
    va_start(args, format);
    const int wanted = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (wanted < 0) return 0;
    trace_destination& d = destination();
    {
        const std::lock_guard<std::recursive_mutex> lock(d.mutex);
        if (d.sink != nullptr) {
            d.sink(line, d.context);
        } else {
            // fputs writes the text as it stands: a '%' in the formatted line is not a directive.
            std::fputs(line, stdout);
        }
    }
    return wanted < static_cast<int>(sizeof line) ? wanted : static_cast<int>(sizeof line) - 1;
}

}  // namespace detail

int tracelevel() { return detail::trace_threshold.load(std::memory_order_relaxed); }

void tracelevel(int level) { detail::trace_threshold.store(level, std::memory_order_relaxed); }

void tracesink(tracesink_fn sink, void* context) {
    detail::trace_destination& d = detail::destination();
    const std::lock_guard<std::recursive_mutex> lock(d.mutex);
    d.sink = sink;
    d.context = context;
}

}  // namespace vantor

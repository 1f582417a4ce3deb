#include "core/trace.h"

#include <cstdarg>
#include <cstdio>

#include "vantor/version.h"

namespace vantor {
namespace detail {

std::atomic<int> trace_threshold{0};

int trace(int level, const char* format, ...) {
    if (!tracing(level)) return 0;
    char line[160];
    va_list args;
    va_start(args, format);
    const int wanted = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (wanted < 0) return 0;
    // fputs writes the text as it stands: a '%' in the formatted line is not a directive.
    std::fputs(line, stdout);
    return wanted < static_cast<int>(sizeof line) ? wanted : static_cast<int>(sizeof line) - 1;
}

}  // namespace detail

int tracelevel() { return detail::trace_threshold.load(std::memory_order_relaxed); }

void tracelevel(int level) { detail::trace_threshold.store(level, std::memory_order_relaxed); }

}  // namespace vantor

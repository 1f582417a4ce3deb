// SPDX-License-Identifier: Apache-2.0
// Library version, and the threshold and destination of the diagnostic trace.
#ifndef VANTOR_VERSION_H
#define VANTOR_VERSION_H

#include "vantor/export.h"

namespace vantor {

// Stores the library's major, minor and patch version and returns its text "major.minor.patch".
// The text belongs to the library.
VANTOR_EXPORT const char* version(int& major, int& minor, int& patch);

// Returns the version text "major.minor.patch". The text belongs to the library.
VANTOR_EXPORT const char* version();

// The trace threshold: trace lines of a level up to it are printed on standard output.
// It is 0 unless set, so that only the library's few level-0 lines appear.
//
// Levels: 0 set-up failures of a fit, 1 failures ("*"), 2 results ("-"), 3 entries ("+"),
// 4 details (" "), 5 inner steps of circle fitting.
VANTOR_EXPORT int tracelevel();
VANTOR_EXPORT void tracelevel(int level);

// A destination of trace lines: called with each printed line (NUL-terminated; it ends in "\n"
// unless it was cut after 159 characters) and the context given with the sink.
using tracesink_fn = void (*)(const char* line, void* context);

// Sends the trace lines printed from now on to `sink`, with `context`; a null sink restores the
// default, standard output. Safe to call while other threads trace: a sink receives one line at
// a time, never two at once, and once tracesink returns the previous sink is not called again,
// so its context may go. A line the sink itself causes to be traced reaches it nested in the
// call. The lines that are not trace lines ("idx under/overflow", the element-file loader's)
// still go to standard output.
VANTOR_EXPORT void tracesink(tracesink_fn sink, void* context);

}  // namespace vantor

#endif  // VANTOR_VERSION_H

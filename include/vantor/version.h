// Library version and the threshold of the diagnostic trace.
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

}  // namespace vantor

#endif  // VANTOR_VERSION_H

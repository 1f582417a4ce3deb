// SPDX-License-Identifier: Apache-2.0
// Suggestions for misspelt words of the command line.
#ifndef VANTOR_TOOLS_SPELLING_H
#define VANTOR_TOOLS_SPELLING_H

#include <string>
#include <vector>

namespace vantor::cli {

// The candidate closest to `word` by edit distance (insertions, deletions, substitutions and
// transpositions of neighbours), when it is close: at most 2 edits and at most a third of the
// word's length, rounded up. Empty when none is that close; the first of equally close ones.
std::string closest_name(const std::string& word, const std::vector<std::string>& candidates);

}  // namespace vantor::cli

#endif  // VANTOR_TOOLS_SPELLING_H

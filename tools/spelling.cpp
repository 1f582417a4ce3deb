// SPDX-License-Identifier: Apache-2.0
#include "spelling.h"

#include <algorithm>
#include <cstddef>

namespace vantor::cli {
namespace {

// The optimal string alignment distance of a and b.
std::size_t edit_distance(const std::string& a, const std::string& b) {
    const std::size_t n = b.size() + 1;
    std::vector<std::size_t> before(n), previous(n), current(n);
    for (std::size_t j = 0; j < n; ++j) previous[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j < n; ++j) {
            const std::size_t substitute = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, substitute});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                current[j] = std::min(current[j], before[j - 2] + 1);
            }
        }
        before.swap(previous);
        previous.swap(current);
    }
    return previous[n - 1];
}

}  // namespace

std::string closest_name(const std::string& word, const std::vector<std::string>& candidates) {
    const std::size_t most = std::min<std::size_t>(2, (word.size() + 2) / 3);
    std::string best;
    std::size_t best_distance = most + 1;
    for (const std::string& c : candidates) {
        const std::size_t d = edit_distance(word, c);
        if (d < best_distance) {
            best = c;
            best_distance = d;
        }
    }
    return best;
}

}  // namespace vantor::cli

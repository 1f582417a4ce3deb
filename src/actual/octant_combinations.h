// SPDX-License-Identifier: Apache-2.0
// The combinations of octant indices among which the extremum points are chosen.
#ifndef VANTOR_ACTUAL_OCTANT_COMBINATIONS_H
#define VANTOR_ACTUAL_OCTANT_COMBINATIONS_H

#include <array>

namespace vantor::detail {

// The number of ways to choose k of the eight octants.
constexpr int octant_choices(int k) {
    int n = 1;
    for (int i = 0; i < k; ++i) n = n * (8 - i) / (i + 1);
    return n;
}

template <int K>
using octant_combination_table = std::array<std::array<int, K>, octant_choices(K)>;

// Every choice of K distinct octant indices, each entry listing its indices in decreasing
// order, the entries ordered by their first index, then their second, and so on. The order
// decides between equally long choices. Bit masks in increasing order give exactly this order:
// of two masks with K bits set, the larger one holds the highest index in which they differ.
template <int K>
constexpr octant_combination_table<K> make_octant_combinations() {
    octant_combination_table<K> table{};
    int row = 0;
    for (int mask = 0; mask < 256; ++mask) {
        int bits = 0;
        for (int k = 0; k < 8; ++k) bits += (mask >> k) & 1;
        if (bits != K) continue;
        int column = 0;
        for (int k = 7; k >= 0; --k) {
            if ((mask >> k) & 1) table[row][column++] = k;
        }
        ++row;
    }
    return table;
}

template <int K>
inline constexpr octant_combination_table<K> octant_combinations = make_octant_combinations<K>();

}  // namespace vantor::detail

#endif  // VANTOR_ACTUAL_OCTANT_COMBINATIONS_H

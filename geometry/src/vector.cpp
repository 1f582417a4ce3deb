// SPDX-License-Identifier: Apache-2.0
#include <cmath>

#include "spanto/vector.h"

namespace spanto {

vector vector::orthogonal() const {
    const double ax = std::fabs(x), ay = std::fabs(y), az = std::fabs(z);
    vector e(0.0, 0.0, 1.0);
    if (ax <= ay && ax <= az) {
        e = vector(1.0, 0.0, 0.0);
    } else if (ay <= az) {
        e = vector(0.0, 1.0, 0.0);
    }
    return (*this ^ e).unit();
}

}  // namespace spanto

// SPDX-License-Identifier: Apache-2.0
#include "numeric/polyfit.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

namespace vantor::detail {
namespace {

// Work areas, sized for the largest supported degree (24). Each call clears the sums and the
// solution first; the last fit stays in them until the thread's next call.
thread_local double power_sums[51];         // [k]: sum of x^k, k = 0..2m; [0] counts samples
thread_local double moment_sums[26];        // [k]: sum of y * x^k, k = 0..m
thread_local double normal_matrix[25][30];  // augmented normal equations, rows 0..m'
thread_local double solution[26];           // [k]: coefficient of x^k

}  // namespace

void polyfit(const double* x, const double* y, int count, double* coefficients, int degree) {
    std::fill(std::begin(solution), std::end(solution), 0.0);
    std::fill(std::begin(moment_sums), std::end(moment_sums), 0.0);
    std::fill(std::begin(power_sums), std::end(power_sums), 0.0);

    double* const s = power_sums;
    double* const t = moment_sums;
    for (int j = 0; j < count; ++j) {
        const double a = x[j];
        const double b = y[j];
        s[0] += 1.0;
        t[0] += b;
        double power = 1.0;
        for (int k = 1; k <= degree; ++k) {
            power *= a;
            s[k] += power;
            t[k] += b * power;
        }
        for (int k = degree + 1; k <= 2 * degree; ++k) {
            power *= a;
            s[k] += power;
        }
    }

    // Fewer samples than degree + 1 lower the degree; without samples m is -1 and nothing is
    // solved.
    const int m = s[0] > degree ? degree : static_cast<int>(s[0] - 1.0);
    const int rhs = m + 1;  // column of the right-hand side
    auto& a = normal_matrix;
    for (int i = 0; i <= m; ++i) {
        for (int j = 0; j <= m; ++j) {
            a[i][j] = s[i + j];
        }
        a[i][rhs] = t[i];
    }

    for (int k = 0; k <= m; ++k) {
        int pivot = k;
        for (int r = k + 1; r <= m; ++r) {
            if (std::fabs(a[r][k]) > std::fabs(a[pivot][k])) {
                pivot = r;
            }
        }
        if (pivot != k) {
            for (int c = k; c <= rhs; ++c) {
                std::swap(a[k][c], a[pivot][c]);
            }
        }
        for (int r = k + 1; r <= m; ++r) {
            const double factor = a[r][k] / a[k][k];
            a[r][k] = 0.0;
            for (int c = k + 1; c <= rhs; ++c) {
                a[r][c] -= factor * a[k][c];
            }
        }
    }

    for (int i = m; i >= 0; --i) {
        double known = 0.0;
        for (int j = i + 1; j <= m; ++j) {
            known += solution[j] * a[i][j];
        }
        solution[i] = (a[i][rhs] - known) / a[i][i];
    }

    std::copy(solution, solution + degree + 1, coefficients);
}

}  // namespace vantor::detail

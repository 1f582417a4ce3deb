// SPDX-License-Identifier: Apache-2.0
#include "numeric/fourier.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <vector>

namespace vantor {
namespace detail {
namespace {

using exact = std::complex<long double>;

const long double two_pi = 6.283185307179586476925286766559L;

// Powers of two, the half-length transform of even lengths whose half is odd or prime, odd
// lengths and primes (Bluestein's), and the roundness analysis's common 3,600.
const std::size_t lengths[] = {1, 2, 3, 5, 8, 12, 97, 360, 1024, 3600, 4099};

std::vector<double> uniform(std::size_t count, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    std::vector<double> x(count);
    for (double& v : x) v = value(rng) + 0.25;  // a mean, so X_0 is not small
    return x;
}

// exp(2 pi i m / n), m taken modulo n, in long double: the direct sums' factors.
std::vector<exact> turns(std::size_t n) {
    std::vector<exact> w(n);
    for (std::size_t m = 0; m < n; ++m) w[m] = std::polar(1.0L, two_pi * m / n);
    return w;
}

double norm(const std::vector<double>& x) {
    double sum = 0.0;
    for (double v : x) sum += v * v;
    return std::sqrt(sum);
}

TEST(Fourier, RealTransformIsTheDirectSum) {
    for (std::size_t n : lengths) {
        SCOPED_TRACE(testing::Message() << n << " samples");
        const std::vector<double> x = uniform(n, static_cast<unsigned>(n));
        const std::vector<std::complex<double>> transform = real_dft(x);
        ASSERT_EQ(transform.size(), n / 2 + 1);
        const std::vector<exact> w = turns(n);
        // Parseval: the spectrum's norm is sqrt(N) times the samples'.
        const double tolerance = 1e-12 * std::sqrt(static_cast<double>(n)) * norm(x);
        long double error = 0.0L;
        for (std::size_t k = 0; k <= n / 2; ++k) {
            exact sum = 0.0L;
            for (std::size_t j = 0; j < n; ++j) {
                sum +=
                    static_cast<long double>(x[j]) * w[(n - k * j % n) % n];  // exp(-2 pi i kj/N)
            }
            const exact difference = exact(transform[k].real(), transform[k].imag()) - sum;
            error += std::norm(difference);
        }
        EXPECT_LT(std::sqrt(static_cast<double>(error)), tolerance);
    }
}

// The inverse of random coefficients against the direct sum over the Hermitian spectrum, with
// imaginary parts at X_0 and X_{N/2} and a coefficient beyond X_{N/2} that it must ignore; and
// the round trip of samples through both transforms.
TEST(Fourier, InverseIsTheDirectSumAndUndoesTheTransform) {
    for (std::size_t n : lengths) {
        SCOPED_TRACE(testing::Message() << n << " samples");
        const std::vector<double> parts = uniform(2 * (n / 2 + 2), static_cast<unsigned>(n) + 1);
        std::vector<std::complex<double>> coefficients(n / 2 + 2);
        for (std::size_t k = 0; k < coefficients.size(); ++k) {
            coefficients[k] = {parts[2 * k], parts[2 * k + 1]};
        }
        const std::vector<double> x = inverse_real_dft(coefficients, n);
        ASSERT_EQ(x.size(), n);
        const std::vector<exact> w = turns(n);
        double spectrum = 0.0;
        for (std::size_t k = 0; k <= n / 2; ++k) spectrum += std::norm(coefficients[k]);
        // Parseval again: the samples' norm is that of the whole spectrum over sqrt(N).
        const double tolerance = 1e-12 * std::sqrt(spectrum / static_cast<double>(n));
        long double error = 0.0L;
        for (std::size_t j = 0; j < n; ++j) {
            long double sum = coefficients[0].real();
            for (std::size_t k = 1; 2 * k < n; ++k) {
                const exact c(coefficients[k].real(), coefficients[k].imag());
                sum += 2 * (c * w[k * j % n]).real();
            }
            if (n % 2 == 0) sum += coefficients[n / 2].real() * (j % 2 == 0 ? 1 : -1);
            error += (x[j] - sum / n) * (x[j] - sum / n);
        }
        EXPECT_LT(std::sqrt(static_cast<double>(error)), tolerance);

        const std::vector<double> samples = uniform(n, static_cast<unsigned>(n) + 2);
        const std::vector<double> back = inverse_real_dft(real_dft(samples), n);
        ASSERT_EQ(back.size(), n);
        std::vector<double> difference(n);
        for (std::size_t j = 0; j < n; ++j) difference[j] = back[j] - samples[j];
        EXPECT_LT(norm(difference), 1e-12 * norm(samples));
    }
}

}  // namespace
}  // namespace detail
}  // namespace vantor

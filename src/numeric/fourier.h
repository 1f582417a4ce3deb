// SPDX-License-Identifier: Apache-2.0
// Discrete Fourier transforms of real sequences of any length.
//
// For samples x_0 .. x_{N-1} the transform is X_k = sum_n x_n exp(-2 pi i k n / N); a real
// sequence has X_{N-k} = conj(X_k), so only X_0 .. X_{N/2} are kept. Every length, primes
// included, takes O(N log N): a real sequence of even length is transformed as a complex one of
// half the length; a complex length that is a power of two by the radix-2 transform, any other
// by Bluestein's chirp transform through a power of two of at least twice the length. The error
// is a few ulps times log N relative to the samples' norm.
//
// Safe to call from several threads at once: every call works on its own arrays and tables.
#ifndef VANTOR_NUMERIC_FOURIER_H
#define VANTOR_NUMERIC_FOURIER_H

#include <complex>
#include <cstddef>
#include <vector>

namespace vantor {
namespace detail {

// X_0 .. X_{N/2} of the N samples (N/2 rounded down); empty for no samples. Throws
// std::bad_alloc when the work arrays cannot be allocated.
std::vector<std::complex<double>> real_dft(const std::vector<double>& samples);

// The N real samples whose transform has X_0 .. X_{N/2} = `coefficients`:
// x_n = (1/N) sum_k X_k exp(2 pi i k n / N) over k = 0 .. N-1. Coefficients beyond X_{N/2} are
// ignored and missing ones count as 0; so are the imaginary parts of X_0 and, for even N, of
// X_{N/2}. Throws std::bad_alloc as real_dft does.
std::vector<double> inverse_real_dft(std::vector<std::complex<double>> coefficients, std::size_t n);

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_FOURIER_H

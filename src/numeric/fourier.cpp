// SPDX-License-Identifier: Apache-2.0
#include "numeric/fourier.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <utility>

namespace vantor {
namespace detail {
namespace {

using complex = std::complex<double>;

constexpr double half_pi = 1.570796326794896619;

// exp(-2 pi i k / n) for k < n, from the ratio k / n itself rather than as a power of one root,
// so that each factor carries only the rounding of its own sine and cosine. The quarter turn and
// the octant are split off in integers: the angle left is at most pi / 4, and the roots at
// multiples of a quarter turn come out exact (X_{N/2} of a real sequence is then real).
complex root(std::uint64_t k, std::uint64_t n) {
    const std::uint64_t quarter = 4 * k / n;
    const std::uint64_t r = 4 * k - quarter * n;  // the angle within the quarter: pi/2 r/n
    const bool upper = 2 * r > n;
    const double t = half_pi * static_cast<double>(upper ? n - r : r) / static_cast<double>(n);
    const double c = upper ? std::sin(t) : std::cos(t);
    const double s = upper ? std::cos(t) : std::sin(t);
    switch (quarter) {
        case 0:
            return {c, -s};
        case 1:
            return {-s, -c};
        case 2:
            return {-c, s};
        default:
            return {s, c};
    }
}

// a * b without the checks for infinite parts of std::complex's product, which is slower.
complex times(complex a, complex b) {
    return {a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real()};
}

// exp(-2 pi i k / m) for k < m / 2: the factors of the radix-2 transform of length m.
std::vector<complex> roots_of(std::size_t m) {
    std::vector<complex> roots(m / 2);
    for (std::size_t k = 0; k < roots.size(); ++k) roots[k] = root(k, m);
    return roots;
}

// The forward transform of `a` in place, m a power of two: the values in bit-reversed order,
// then the butterflies of spans 2, 4, .. m.
void radix2(complex* a, std::size_t m, const std::vector<complex>& roots) {
    for (std::size_t i = 1, j = 0; i < m; ++i) {
        std::size_t bit = m >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j |= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (std::size_t half = 1; half < m; half *= 2) {
        const std::size_t stride = m / (2 * half);
        for (std::size_t start = 0; start < m; start += 2 * half) {
            for (std::size_t j = 0; j < half; ++j) {
                const complex t = times(roots[j * stride], a[start + half + j]);
                a[start + half + j] = a[start + j] - t;
                a[start + j] += t;
            }
        }
    }
}

// The complex transform of one length n >= 1: its tables, and work arrays of its own per call.
class complex_dft {
  public:
    explicit complex_dft(std::size_t n) : n_(n), m_(1) {
        while (m_ < n) m_ *= 2;
        if (m_ != n) {
            // Bluestein: as k j = (k^2 + j^2 - (k - j)^2) / 2, X_k = c_k sum_j (x_j c_j)
            // conj(c_{k-j}) with the chirp c_j = exp(-pi i j^2 / n), a cyclic convolution in any
            // length m >= 2 n - 1 whose kernel holds conj(c_j) at j and at m - j. j^2 is reduced
            // modulo 2 n in integers, so that the angles stay exact however long the sequence.
            while (m_ < 2 * n - 1) m_ *= 2;
            chirp_.resize(n);
            for (std::size_t j = 0; j < n; ++j) {
                chirp_[j] = root(static_cast<std::uint64_t>(j) * j % (2 * n), 2 * n);
            }
        }
        roots_ = roots_of(m_);
        if (chirp_.empty()) return;
        // The kernel's transform, with the 1/m of the convolution's inverse transform.
        kernel_.assign(m_, complex());
        const double scale = 1.0 / static_cast<double>(m_);
        for (std::size_t j = 0; j < n; ++j) {
            kernel_[j] = std::conj(chirp_[j]) * scale;
            if (j > 0) kernel_[m_ - j] = kernel_[j];
        }
        radix2(kernel_.data(), m_, roots_);
    }

    // Replaces the n values of `a` by sum_j a_j exp(-2 pi i k j / n).
    void forward(std::vector<complex>& a) const {
        if (chirp_.empty()) {
            radix2(a.data(), m_, roots_);
            return;
        }
        std::vector<complex> work(m_);
        for (std::size_t j = 0; j < n_; ++j) work[j] = times(a[j], chirp_[j]);
        radix2(work.data(), m_, roots_);
        // The convolution's inverse transform, as the conjugate of the forward one of the
        // conjugate.
        for (std::size_t k = 0; k < m_; ++k) work[k] = std::conj(times(work[k], kernel_[k]));
        radix2(work.data(), m_, roots_);
        for (std::size_t k = 0; k < n_; ++k) a[k] = times(chirp_[k], std::conj(work[k]));
    }

    // Replaces the n values of `a` by sum_k a_k exp(2 pi i k j / n) (unnormalised).
    void backward(std::vector<complex>& a) const {
        for (complex& z : a) z = std::conj(z);
        forward(a);
        for (complex& z : a) z = std::conj(z);
    }

  private:
    std::size_t n_;
    std::size_t m_;                // the radix-2 length: n, or Bluestein's m >= 2 n - 1
    std::vector<complex> roots_;   // of the radix-2 transform of length m
    std::vector<complex> chirp_;   // Bluestein's c_j, j < n; empty for a power of two
    std::vector<complex> kernel_;  // the transform of Bluestein's kernel, divided by m
};

// The tables of the real transforms of length n >= 1: the complex transform of n / 2 values for
// an even n, of n for an odd one; and for an even n, exp(-2 pi i k / n) for k <= n / 2.
struct real_tables {
    explicit real_tables(std::size_t length) : n(length), transform(n % 2 == 0 ? n / 2 : n) {
        if (n % 2 == 1) return;
        roots.resize(n / 2 + 1);
        for (std::size_t k = 0; k < roots.size(); ++k) roots[k] = root(k, n);
    }
    std::size_t n;
    complex_dft transform;
    std::vector<complex> roots;
};

// The tables of the last length transformed on this thread. Setting them up costs as much as a
// transform; the roundness analysis transforms a profile forward and back at one length, and a
// series of profiles mostly at one length. Per thread, so no call waits for another's.
const real_tables& tables_of(std::size_t n) {
    thread_local std::unique_ptr<const real_tables> last;
    if (!last || last->n != n) last = std::make_unique<const real_tables>(n);
    return *last;
}

}  // namespace

std::vector<std::complex<double>> real_dft(const std::vector<double>& samples) {
    const std::size_t n = samples.size();
    if (n == 0) return {};
    if (n % 2 == 1) {
        std::vector<complex> a(samples.begin(), samples.end());
        tables_of(n).transform.forward(a);
        a.resize(n / 2 + 1);
        return a;
    }
    // The even and odd samples as the real and imaginary parts of half as many values:
    // z_j = x_2j + i x_2j+1 has the transform Z_k = E_k + i O_k, E and O those of the even and
    // the odd samples, which X_k = E_k + exp(-2 pi i k / n) O_k combines.
    const real_tables& tables = tables_of(n);
    const std::size_t h = n / 2;
    std::vector<complex> z(h);
    for (std::size_t j = 0; j < h; ++j) z[j] = {samples[2 * j], samples[2 * j + 1]};
    tables.transform.forward(z);
    std::vector<complex> out(h + 1);
    for (std::size_t k = 0; k <= h; ++k) {
        const complex a = z[k % h];
        const complex b = std::conj(z[(h - k) % h]);
        const complex even = 0.5 * (a + b);
        const complex odd = 0.5 * complex((a - b).imag(), -(a - b).real());  // (a - b) / 2i
        out[k] = even + times(tables.roots[k], odd);
    }
    return out;
}

std::vector<double> inverse_real_dft(std::vector<std::complex<double>> coefficients,
                                     std::size_t n) {
    if (n == 0) return {};
    coefficients.resize(n / 2 + 1);
    coefficients[0].imag(0.0);
    const double scale = 1.0 / static_cast<double>(n);
    std::vector<double> out(n);
    if (n % 2 == 1) {
        // The whole Hermitian spectrum, X_{n-k} = conj(X_k).
        std::vector<complex> a(n);
        for (std::size_t k = 0; k < n; ++k) {
            a[k] = k <= n / 2 ? coefficients[k] : std::conj(coefficients[n - k]);
        }
        tables_of(n).transform.backward(a);
        for (std::size_t j = 0; j < n; ++j) out[j] = a[j].real() * scale;
        return out;
    }
    // real_dft's combination undone: 2 Z_k = 2 E_k + 2 i O_k from X_k and conj(X_{h-k}), whose
    // half-length inverse gives n (x_2j + i x_2j+1).
    const real_tables& tables = tables_of(n);
    const std::size_t h = n / 2;
    coefficients[h].imag(0.0);
    std::vector<complex> z(h);
    for (std::size_t k = 0; k < h; ++k) {
        const complex a = coefficients[k];
        const complex b = std::conj(coefficients[h - k]);
        const complex odd = times(a - b, std::conj(tables.roots[k]));  // 2 O_k
        z[k] = a + b + complex(-odd.imag(), odd.real());
    }
    tables.transform.backward(z);
    for (std::size_t j = 0; j < h; ++j) {
        out[2 * j] = z[j].real() * scale;
        out[2 * j + 1] = z[j].imag() * scale;
    }
    return out;
}

}  // namespace detail
}  // namespace vantor

#include "numeric/fourier.h"

#include <fftw3.h>

#include <memory>
#include <mutex>
#include <new>
#include <type_traits>

namespace vantor {
namespace detail {
namespace {

// FFTW's planner keeps global state. Its thread-safe mode serialises every planner call in the
// process, ours and any the application makes elsewhere.
void make_planner_thread_safe() {
    static std::once_flag once;
    std::call_once(once, [] { fftw_make_planner_thread_safe(); });
}

struct plan_deleter {
    void operator()(fftw_plan p) const { fftw_destroy_plan(p); }
};
using plan = std::unique_ptr<std::remove_pointer_t<fftw_plan>, plan_deleter>;

// Plans for the caller's own arrays, so that their alignment is the one planned for.
// FFTW_ESTIMATE plans without trial runs (fast, and deterministic) and leaves the arrays alone.
plan checked(fftw_plan p) {
    if (p == nullptr) throw std::bad_alloc();
    return plan(p);
}

// std::complex<double> has the layout of fftw_complex (double[2]).
fftw_complex* as_fftw(std::complex<double>* z) { return reinterpret_cast<fftw_complex*>(z); }

}  // namespace

std::vector<std::complex<double>> real_dft(const std::vector<double>& samples) {
    if (samples.empty()) return {};
    std::vector<double> in = samples;  // FFTW takes a non-const input; this transform keeps it
    std::vector<std::complex<double>> out(samples.size() / 2 + 1);
    make_planner_thread_safe();
    const plan p = checked(fftw_plan_dft_r2c_1d(static_cast<int>(in.size()), in.data(),
                                                as_fftw(out.data()), FFTW_ESTIMATE));
    fftw_execute(p.get());
    return out;
}

std::vector<double> inverse_real_dft(std::vector<std::complex<double>> coefficients,
                                     std::size_t n) {
    if (n == 0) return {};
    coefficients.resize(n / 2 + 1);
    std::vector<double> out(n);
    make_planner_thread_safe();
    // The complex-to-real transform overwrites its input: `coefficients` is our own copy.
    const plan p = checked(fftw_plan_dft_c2r_1d(static_cast<int>(n), as_fftw(coefficients.data()),
                                                out.data(), FFTW_ESTIMATE));
    fftw_execute(p.get());
    const double scale = 1.0 / static_cast<double>(n);  // FFTW's inverse is unnormalised
    for (double& x : out) x *= scale;
    return out;
}

}  // namespace detail
}  // namespace vantor

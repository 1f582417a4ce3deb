// SPDX-License-Identifier: Apache-2.0
#include "numeric/minimiser.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <utility>

#include "numeric/polyfit.h"

namespace vantor::detail {
namespace {

constexpr int max_parameters = 32;
constexpr int max_sweeps = 10;
constexpr int record_capacity = 128;  // bytes; the largest supported resultsize

}  // namespace

void minimiser::init(objective_fn objective, int resultsize) {
    tolerance = default_tolerance;
    separation = default_separation;
    this->objective = objective;
    // The line search's record buffers hold record_capacity bytes; never copy more.
    this->resultsize = std::min(resultsize, record_capacity);
}

void minimiser::minimise(const double* start, double* lower, double* upper, int n, void* context,
                         void* result) {
    if (n < 1 || n > max_parameters) {
        return;
    }
    this->context = context;
    this->result = result;

    for (int i = 0; i < n; ++i) {
        if (lower[i] > upper[i]) {
            std::swap(lower[i], upper[i]);
        }
        if (start[i] < lower[i] || start[i] > upper[i]) {
            return;
        }
    }

    // Each step is the larger distance from the start to a bound, so the first bracket is the
    // caller's; the halved steps then give brackets centred on the current value.
    double step[max_parameters];
    for (int i = 0; i < n; ++i) {
        const double below = start[i] - lower[i];
        const double above = upper[i] - start[i];
        step[i] = below < above ? above : below;
    }

    double current[max_parameters];
    std::copy(start, start + n, current);
    parameters = current;

    best = objective(parameters, context, result);
    double reference = best;
    bool stalled = false;  // the previous sweep ended within tolerance of the reference
    for (int sweep = 0; sweep < max_sweeps; ++sweep) {
        for (int i = 0; i < n; ++i) {
            linesearch(i, lower[i], upper[i]);
        }

        // The reference moves only on a sweep within tolerance, so after a large improvement the
        // following sweeps are still measured against the older value. NaN counts as outside.
        if (std::fabs(reference - best) < tolerance) {
            if (stalled) {
                break;
            }
            stalled = true;
            reference = best;
        } else {
            stalled = false;
        }

        for (int i = 0; i < n; ++i) {
            step[i] *= 0.5;
            lower[i] = parameters[i] - step[i];
            upper[i] = parameters[i] + step[i];
        }
    }
    parameters = nullptr;  // the vector ends with this call
}

void minimiser::linesearch(int index, double low, double high) {
    alignas(std::max_align_t) unsigned char record_low[record_capacity];
    alignas(std::max_align_t) unsigned char record_high[record_capacity];
    alignas(std::max_align_t) unsigned char record_vertex[record_capacity];

    const double here = parameters[index];
    parameters[index] = low;
    const double value_low = objective(parameters, context, record_low);
    parameters[index] = high;
    const double value_high = objective(parameters, context, record_high);

    const double positions[3] = {low, here, high};
    const double values[3] = {value_low, best, value_high};
    double parabola[3];
    polyfit(positions, values, 3, parabola, 2);

    // The vertex must clear the lower end and the current value by the separation; at the upper
    // end the separation is a margin, so a vertex up to it is tried. NaN fails every test.
    bool vertex_tried = false;
    double vertex = 0.0;
    double value_vertex = 0.0;
    if (parabola[2] != 0.0) {
        vertex = -parabola[1] / (2.0 * parabola[2]);
        if (vertex - separation > low && std::fabs(vertex - here) > separation &&
            vertex < high + separation) {
            parameters[index] = vertex;
            value_vertex = objective(parameters, context, record_vertex);
            vertex_tried = true;
        }
    }
    parameters[index] = here;

    const unsigned char* winner = nullptr;
    const auto consider = [&](double position, double value, const unsigned char* record) {
        if (value < best) {
            best = value;
            parameters[index] = position;
            winner = record;
        }
    };
    consider(low, value_low, record_low);
    consider(high, value_high, record_high);
    if (vertex_tried) {
        consider(vertex, value_vertex, record_vertex);
    }
    if (winner != nullptr && resultsize > 0) {
        std::memcpy(result, winner, static_cast<std::size_t>(resultsize));
    }
}

}  // namespace vantor::detail

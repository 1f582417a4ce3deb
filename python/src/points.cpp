// SPDX-License-Identifier: Apache-2.0
#include "points.h"

#include "failure.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <string>

namespace py = pybind11;

namespace vantor::python {
namespace {

// One coordinate, read through memcpy: NumPy arrays need not be aligned.
template <typename T>
double coordinate(const char* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return static_cast<double>(value);
}

template <typename T>
std::unique_ptr<vantor::actual> read_rows(const char* data, int rows, py::ssize_t row_stride,
                                          py::ssize_t column_stride, invalid_rows invalid) {
    auto set = std::make_unique<vantor::actual>(rows);
    for (int i = 0; i < rows; ++i) {
        const char* row = data + i * row_stride;
        const spanto::point p(coordinate<T>(row), coordinate<T>(row + column_stride),
                              coordinate<T>(row + 2 * column_stride));
        if (!(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z))) {
            if (p.valid()) {
                throw failure("points: row " + std::to_string(i) + " has an infinite coordinate",
                              vantor::status::invalid_points);
            }
            if (invalid == invalid_rows::drop) continue;
        }
        set->append(p);
    }
    if (set->numpoints() == 0) {
        throw failure("points: no valid point (every row has a NaN coordinate)",
                      vantor::status::too_few_points);
    }
    return set;
}

}  // namespace

point_rows::point_rows(const py::array& array) {
    const bool dbl = py::isinstance<py::array_t<double>>(array);
    single_ = !dbl && py::isinstance<py::array_t<float>>(array);
    if (!dbl && !single_) throw py::value_error("points: expected float64 or float32 values");
    if (array.ndim() != 2 || array.shape(1) != 3) {
        throw py::value_error("points: expected an (N, 3) array");
    }
    if (array.shape(0) == 0) throw py::value_error("points: no rows");
    if (array.shape(0) > INT_MAX) throw py::value_error("points: more rows than a point set holds");
    data_ = static_cast<const char*>(array.data());
    rows_ = static_cast<int>(array.shape(0));
    row_stride_ = array.strides(0);
    column_stride_ = array.strides(1);
}

std::unique_ptr<vantor::actual> point_rows::points(invalid_rows invalid) const {
    return single_ ? read_rows<float>(data_, rows_, row_stride_, column_stride_, invalid)
                   : read_rows<double>(data_, rows_, row_stride_, column_stride_, invalid);
}

namespace {

py::array_t<double> array_of(const spanto::point* begin, const spanto::point* end) {
    py::array_t<double> array({static_cast<py::ssize_t>(end - begin), py::ssize_t{3}});
    double* out = array.mutable_data();
    for (const spanto::point* p = begin; p != end; ++p) {
        *out++ = p->x;
        *out++ = p->y;
        *out++ = p->z;
    }
    return array;
}

}  // namespace

py::array_t<double> to_array(const vantor::actual& points) {
    return array_of(points.begin(), points.end());
}

py::array_t<double> to_array(const std::vector<spanto::point>& points) {
    return array_of(points.data(), points.data() + points.size());
}

}  // namespace vantor::python

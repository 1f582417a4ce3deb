// SPDX-License-Identifier: Apache-2.0
// Point arrays between NumPy and the library.
#ifndef VANTOR_PYTHON_POINTS_H
#define VANTOR_PYTHON_POINTS_H

#include <memory>
#include <vector>

#include <pybind11/numpy.h>
#include <vantor/actual.h>

namespace vantor::python {

// What becomes of the rows with a NaN coordinate, which the library treats as invalid points.
enum class invalid_rows {
    drop,  // left out, so that no evaluation sees them (the library's form evaluations would
           // start their extremes at a NaN first point)
    keep,  // stored as they are (an element file keeps them)
};

// An (N, 3) array of float64 or float32 of any strides and alignment, checked with the GIL held
// and read in one pass without it. The array must outlive the view.
class point_rows {
  public:
    // Throws ValueError for another dtype or shape, for no rows and for more rows than a point
    // set holds.
    explicit point_rows(const pybind11::array& array);

    // The rows as a point set of capacity N. Throws ValueError for a row with an infinite
    // coordinate (and none NaN), and, when invalid rows are dropped, for an array without a
    // valid row. Touches no Python object: call it with the GIL released.
    std::unique_ptr<vantor::actual> points(invalid_rows invalid) const;

  private:
    const char* data_;
    int rows_;
    pybind11::ssize_t row_stride_;
    pybind11::ssize_t column_stride_;
    bool single_;  // float32
};

// The stored points of `points` as a new (N, 3) float64 array, invalid points included.
pybind11::array_t<double> to_array(const vantor::actual& points);
// The points as a new (N, 3) float64 array, e.g. an axis's section centres.
pybind11::array_t<double> to_array(const std::vector<spanto::point>& points);

}  // namespace vantor::python

#endif  // VANTOR_PYTHON_POINTS_H

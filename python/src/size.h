// SPDX-License-Identifier: Apache-2.0
// Linear sizes of circles, cylinders and spheres (vantor/size.h) for Python.
#ifndef VANTOR_PYTHON_SIZE_H
#define VANTOR_PYTHON_SIZE_H

#include <string>
#include <vector>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

namespace vantor::python {

// The sizes of the valid rows of `points`, each as (value, status, points, sizes, statistics):
// statistics (count, maximum, minimum, average, median, range). Elements and criteria by name;
// sections by the rules of split_rows. Throws the library's failure with its status.
pybind11::tuple global_size(const pybind11::array& points, const std::string& element,
                            const std::string& criterion);
pybind11::tuple two_point_sizes(const pybind11::array& points, const std::string& element,
                                const std::string& rule, int count, const std::vector<double>& at);
pybind11::tuple section_sizes(const pybind11::array& points, const std::string& criterion,
                              const std::string& rule, int count, const std::vector<double>& at);

// Registers the three in the module.
void register_sizes(pybind11::module_& m);

}  // namespace vantor::python

#endif  // VANTOR_PYTHON_SIZE_H

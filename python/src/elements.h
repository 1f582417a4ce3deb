// SPDX-License-Identifier: Apache-2.0
// Geometry values between Python and C++.
//
// The Python value types hand an element over as its kind name and a flat list of numbers, in
// the order of the values the front end names (element_values.h): a point as x y z, every
// element a fit gives as element_values<E> lists its fields.
#ifndef VANTOR_PYTHON_ELEMENTS_H
#define VANTOR_PYTHON_ELEMENTS_H

#include <string>
#include <utility>
#include <vector>

#include <pybind11/pybind11.h>
#include <spanto/spanto.h>

#include <vantor/datum.h>

#include "element_values.h"

namespace vantor::python {

using cli::numbers;

// An element as Python receives it: kind name and numbers.
using element_values = std::pair<std::string, numbers>;

// The element of `kind` ("point" or the kind of an element a fit gives) made from user input by
// the geometry layer's constructor (which scales directions and normals to unit length),
// returned as numbers. Throws ValueError naming what is wrong: an unknown kind, a wrong count of
// numbers, a number that is not finite, or input the constructor rejects.
numbers make_element(const std::string& kind, const numbers& v);

// An element from numbers that make_element returned (or a fit or evaluation reported), its
// members taken as they are (element_values<E>::from). Throws ValueError for a wrong count.
template <typename Element>
Element element_from(const numbers& v) {
    const std::size_t expected = cli::size<Element>();
    if (v.size() != expected) {
        throw pybind11::value_error(std::string(cli::element_values<Element>::kind) +
                                    ": expected " + std::to_string(expected) + " numbers, got " +
                                    std::to_string(v.size()));
    }
    return cli::element_values<Element>::from(v);
}
template <>
spanto::point element_from(const numbers& v);

// The side of a round feature by its name, "hole" or "shaft"; ValueError for another.
vantor::feature_side side_of(const std::string& side);

template <typename Element>
element_values values_of(const Element& e) {
    return {cli::element_values<Element>::kind, cli::element_values<Element>::of(e)};
}
element_values values_of(const spanto::point& p);

}  // namespace vantor::python

#endif  // VANTOR_PYTHON_ELEMENTS_H

// SPDX-License-Identifier: Apache-2.0
// Geometry values between Python and C++.
//
// The Python value types hand an element over as its kind name and a flat list of numbers, in
// the order of the parameters that the types and the tool's JSON reports name:
//   point     x y z
//   plane     origin(3) normal(3)
//   line      origin(3) direction(3)
//   circle    centre(3) normal(3) radius
//   sphere    centre(3) radius
//   cylinder  origin(3) direction(3) radius
//   cone      point0(3) radius0 point1(3) radius1
#ifndef VANTOR_PYTHON_ELEMENTS_H
#define VANTOR_PYTHON_ELEMENTS_H

#include <string>
#include <utility>
#include <vector>

#include <spanto/spanto.h>

namespace vantor::python {

using numbers = std::vector<double>;

// An element as Python receives it: kind name and numbers.
using element_values = std::pair<std::string, numbers>;

// The element of `kind` made from user input by the geometry layer's constructor (which scales
// directions and normals to unit length), returned as numbers. Throws ValueError naming what is
// wrong: an unknown kind, a wrong count of numbers, or input the constructor rejects.
numbers make_element(const std::string& kind, const numbers& v);

// An element from numbers that make_element returned (or a fit or evaluation reported): the
// members are taken as they are, never scaled again, so that the element is bit for bit the one
// that was made. The cone, whose members are private, is made again by its constructor, which
// is deterministic. Throws ValueError for a wrong count of numbers.
template <typename Element>
Element element_from(const numbers& v);
template <>
spanto::point element_from(const numbers& v);
template <>
spanto::plane element_from(const numbers& v);
template <>
spanto::line element_from(const numbers& v);
template <>
spanto::circle element_from(const numbers& v);
template <>
spanto::sphere element_from(const numbers& v);
template <>
spanto::cylinder element_from(const numbers& v);
template <>
spanto::cone element_from(const numbers& v);

element_values values_of(const spanto::point& p);
element_values values_of(const spanto::plane& p);
element_values values_of(const spanto::line& l);
element_values values_of(const spanto::circle& c);
element_values values_of(const spanto::sphere& s);
element_values values_of(const spanto::cylinder& c);
element_values values_of(const spanto::cone& c);

}  // namespace vantor::python

#endif  // VANTOR_PYTHON_ELEMENTS_H

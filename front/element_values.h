// SPDX-License-Identifier: Apache-2.0
// The values of a geometry element in one fixed order, named as the program's JSON names them
// (to_report) and stored as the Python package stores an element: its kind and a flat list of
// numbers.
//   plane     origin(3) normal(3)
//   line      origin(3) direction(3)
//   axis      origin(3) direction(3)
//   circle    centre(3) normal(3) radius
//   sphere    centre(3) radius
//   cylinder  origin(3) direction(3) radius
//   cone      point0(3) radius0 point1(3) radius1
// A new element type needs its specialisation of element_values here, and nothing else in the
// front end or the Python module's conversions.
#ifndef VANTOR_FRONT_ELEMENT_VALUES_H
#define VANTOR_FRONT_ELEMENT_VALUES_H

#include <array>
#include <string>
#include <vector>

#include <spanto/spanto.h>

namespace vantor::cli {

using numbers = std::vector<double>;

// One named value of an element: a point or vector (size 3) or a number (size 1).
struct value_field {
    const char* name;
    int size;
};

// For each element type E:
//   kind                 its name: "cylinder"
//   fields               its values' names and sizes, in order
//   of(e)                its numbers, in the order of `fields`
//   from(v)              the element of numbers that of() gave (or a fit reported): members taken
//                        as they are, never scaled again, so that it is bit for bit the same
//   made(v)              the element made from a caller's numbers by the geometry layer's
//                        constructor (directions and normals scaled to unit length); throws
//                        error naming what is wrong (a radius below 0, a zero direction)
// from() and made() take exactly size() numbers (check_count says otherwise).
template <class Element>
struct element_values;

template <>
struct element_values<spanto::plane> {
    static constexpr const char* kind = "plane";
    static constexpr std::array<value_field, 2> fields = {{{"origin", 3}, {"normal", 3}}};
    static numbers of(const spanto::plane& p);
    static spanto::plane from(const numbers& v);
    static spanto::plane made(const numbers& v);
};

template <>
struct element_values<spanto::line> {
    static constexpr const char* kind = "line";
    static constexpr std::array<value_field, 2> fields = {{{"origin", 3}, {"direction", 3}}};
    static numbers of(const spanto::line& l);
    static spanto::line from(const numbers& v);
    static spanto::line made(const numbers& v);
};

template <>
struct element_values<spanto::axis> {
    static constexpr const char* kind = "axis";
    static constexpr std::array<value_field, 2> fields = {{{"origin", 3}, {"direction", 3}}};
    static numbers of(const spanto::axis& a);
    static spanto::axis from(const numbers& v);
    static spanto::axis made(const numbers& v);
};

template <>
struct element_values<spanto::circle> {
    static constexpr const char* kind = "circle";
    static constexpr std::array<value_field, 3> fields = {
        {{"centre", 3}, {"normal", 3}, {"radius", 1}}};
    static numbers of(const spanto::circle& c);
    static spanto::circle from(const numbers& v);
    static spanto::circle made(const numbers& v);
};

template <>
struct element_values<spanto::sphere> {
    static constexpr const char* kind = "sphere";
    static constexpr std::array<value_field, 2> fields = {{{"centre", 3}, {"radius", 1}}};
    static numbers of(const spanto::sphere& s);
    static spanto::sphere from(const numbers& v);
    static spanto::sphere made(const numbers& v);
};

template <>
struct element_values<spanto::cylinder> {
    static constexpr const char* kind = "cylinder";
    static constexpr std::array<value_field, 3> fields = {
        {{"origin", 3}, {"direction", 3}, {"radius", 1}}};
    static numbers of(const spanto::cylinder& c);
    static spanto::cylinder from(const numbers& v);
    static spanto::cylinder made(const numbers& v);
};

template <>
struct element_values<spanto::cone> {
    static constexpr const char* kind = "cone";
    static constexpr std::array<value_field, 4> fields = {
        {{"point0", 3}, {"radius0", 1}, {"point1", 3}, {"radius1", 1}}};
    static numbers of(const spanto::cone& c);
    static spanto::cone from(const numbers& v);
    static spanto::cone made(const numbers& v);
};

// The count of numbers of an element of type E.
template <class Element>
constexpr std::size_t size() {
    std::size_t n = 0;
    for (const value_field& f : element_values<Element>::fields)
        n += static_cast<std::size_t>(f.size);
    return n;
}

// Throws error "<kind>: expected N numbers, got M" unless v holds size<E>() numbers.
void check_count(const char* kind, std::size_t expected, const numbers& v);

}  // namespace vantor::cli

#endif  // VANTOR_FRONT_ELEMENT_VALUES_H

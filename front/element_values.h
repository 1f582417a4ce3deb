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
#include <cstddef>
#include <vector>

#include <spanto/spanto.h>

namespace vantor::cli {

using numbers = std::vector<double>;

// One named value of an element: a point or vector (size 3) or a number (size 1).
struct value_field {
    const char* name;
    int size;
};

// Throws error "<kind>: expected N numbers, got M" unless v holds `expected` numbers.
void check_count(const char* kind, std::size_t expected, const numbers& v);
// Throws error "<kind>: the <name> must not be negative" for r below 0.
void check_radius(const char* kind, double r, const char* name);
// Throws error "<kind>: <why>" when the constructor rejected the input (e invalid).
void check_made(const char* kind, bool invalid, const char* why);

inline spanto::point point_at(const numbers& v, std::size_t i) {
    return spanto::point(v[i], v[i + 1], v[i + 2]);
}
inline spanto::vector vector_at(const numbers& v, std::size_t i) {
    return spanto::vector(v[i], v[i + 1], v[i + 2]);
}

// For each element type E:
//   kind      its name: "cylinder"
//   fields    its values' names and sizes, in order
//   of(e)     its numbers, in the order of `fields`
//   from(v)   the element of numbers that of() gave (or a fit reported): members taken as they
//             are, never scaled again, so that it is bit for bit the same
//   made(v)   the element made from a caller's numbers by the geometry layer's constructor
//             (directions and normals scaled to unit length); throws error naming what is
//             wrong (a radius below 0, a zero direction)
// from() and made() take exactly size<E>() numbers (check_count it first).
template <class Element>
struct element_values;

template <>
struct element_values<spanto::plane> {
    static constexpr const char* kind = "plane";
    static constexpr std::array<value_field, 2> fields = {{{"origin", 3}, {"normal", 3}}};
    static numbers of(const spanto::plane& p) {
        return {p.origin.x, p.origin.y, p.origin.z, p.normal.x, p.normal.y, p.normal.z};
    }
    static spanto::plane from(const numbers& v) {
        spanto::plane p;
        p.origin = point_at(v, 0);
        p.normal = vector_at(v, 3);
        return p;
    }
    static spanto::plane made(const numbers& v) {
        const spanto::plane p(point_at(v, 0), vector_at(v, 3));
        check_made(kind, p.invalid(), "the normal must have a finite, non-zero length");
        return p;
    }
};

template <>
struct element_values<spanto::line> {
    static constexpr const char* kind = "line";
    static constexpr std::array<value_field, 2> fields = {{{"origin", 3}, {"direction", 3}}};
    static numbers of(const spanto::line& l) {
        return {l.origin.x, l.origin.y, l.origin.z, l.direction.x, l.direction.y, l.direction.z};
    }
    static spanto::line from(const numbers& v) {
        spanto::line l;
        l.origin = point_at(v, 0);
        l.direction = vector_at(v, 3);
        return l;
    }
    static spanto::line made(const numbers& v) {
        const spanto::line l(point_at(v, 0), vector_at(v, 3));
        check_made(kind, l.invalid(), "the direction must have a finite, non-zero length");
        return l;
    }
};

// An axis is a line that names itself "axis".
template <>
struct element_values<spanto::axis> {
    static constexpr const char* kind = "axis";
    static constexpr std::array<value_field, 2> fields = element_values<spanto::line>::fields;
    static numbers of(const spanto::axis& a) { return element_values<spanto::line>::of(a); }
    static spanto::axis from(const numbers& v) {
        return spanto::axis(element_values<spanto::line>::from(v));
    }
    static spanto::axis made(const numbers& v) {
        return spanto::axis(element_values<spanto::line>::made(v));
    }
};

template <>
struct element_values<spanto::circle> {
    static constexpr const char* kind = "circle";
    static constexpr std::array<value_field, 3> fields = {
        {{"centre", 3}, {"normal", 3}, {"radius", 1}}};
    static numbers of(const spanto::circle& c) {
        const spanto::point& o = c.centre;
        const spanto::vector& n = c.normal;
        return {o.x, o.y, o.z, n.x, n.y, n.z, c.radius};
    }
    static spanto::circle from(const numbers& v) {
        spanto::circle c;
        c.centre = point_at(v, 0);
        c.normal = vector_at(v, 3);
        c.radius = v[6];
        return c;
    }
    static spanto::circle made(const numbers& v) {
        check_radius(kind, v[6], "radius");
        const spanto::circle c(point_at(v, 0), vector_at(v, 3), v[6]);
        check_made(kind, c.invalid(), "the normal must have a finite, non-zero length");
        return c;
    }
};

template <>
struct element_values<spanto::sphere> {
    static constexpr const char* kind = "sphere";
    static constexpr std::array<value_field, 2> fields = {{{"centre", 3}, {"radius", 1}}};
    static numbers of(const spanto::sphere& s) {
        return {s.centre.x, s.centre.y, s.centre.z, s.radius};
    }
    static spanto::sphere from(const numbers& v) {
        spanto::sphere s;
        s.centre = point_at(v, 0);
        s.radius = v[3];
        return s;
    }
    static spanto::sphere made(const numbers& v) {
        check_radius(kind, v[3], "radius");
        const spanto::sphere s(point_at(v, 0), v[3]);
        check_made(kind, s.invalid(), "invalid");
        return s;
    }
};

template <>
struct element_values<spanto::cylinder> {
    static constexpr const char* kind = "cylinder";
    static constexpr std::array<value_field, 3> fields = {
        {{"origin", 3}, {"direction", 3}, {"radius", 1}}};
    static numbers of(const spanto::cylinder& c) {
        const spanto::point& o = c.origin;
        const spanto::vector& d = c.direction;
        return {o.x, o.y, o.z, d.x, d.y, d.z, c.radius};
    }
    static spanto::cylinder from(const numbers& v) {
        spanto::cylinder c;
        c.origin = point_at(v, 0);
        c.direction = vector_at(v, 3);
        c.radius = v[6];
        return c;
    }
    static spanto::cylinder made(const numbers& v) {
        check_radius(kind, v[6], "radius");
        const spanto::cylinder c(point_at(v, 0), vector_at(v, 3), v[6]);
        check_made(kind, c.invalid(), "the direction must have a finite, non-zero length");
        return c;
    }
};

// The cone's members are private: from() makes it again by its constructor, which is
// deterministic.
template <>
struct element_values<spanto::cone> {
    static constexpr const char* kind = "cone";
    static constexpr std::array<value_field, 4> fields = {
        {{"point0", 3}, {"radius0", 1}, {"point1", 3}, {"radius1", 1}}};
    static numbers of(const spanto::cone& c) {
        const spanto::point& p0 = c.point0();
        const spanto::point& p1 = c.point1();
        return {p0.x, p0.y, p0.z, c.radius0(), p1.x, p1.y, p1.z, c.radius1()};
    }
    static spanto::cone from(const numbers& v) {
        return spanto::cone(point_at(v, 0), v[3], point_at(v, 4), v[7]);
    }
    static spanto::cone made(const numbers& v) {
        check_radius(kind, v[3], "radius0");
        check_radius(kind, v[7], "radius1");
        const spanto::cone c(point_at(v, 0), v[3], point_at(v, 4), v[7]);
        check_made(kind, c.invalid(), "the two points must lie a finite, non-zero distance apart");
        return c;
    }
};

// The count of numbers of an element of type E.
template <class Element>
constexpr std::size_t size() {
    std::size_t n = 0;
    for (const value_field& f : element_values<Element>::fields) {
        n += static_cast<std::size_t>(f.size);
    }
    return n;
}

}  // namespace vantor::cli

#endif  // VANTOR_FRONT_ELEMENT_VALUES_H

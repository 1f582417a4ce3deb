// SPDX-License-Identifier: Apache-2.0
#include "elements.h"

#include <cmath>

#include <pybind11/pybind11.h>

namespace py = pybind11;

namespace vantor::python {
namespace {

// How many numbers an element of each kind has.
std::size_t count_of(const std::string& kind) {
    if (kind == "point") return 3;
    if (kind == "plane" || kind == "line") return 6;
    if (kind == "circle" || kind == "cylinder") return 7;
    if (kind == "sphere") return 4;
    if (kind == "cone") return 8;
    throw py::value_error("unknown element kind '" + kind + "'");
}

void check_count(const std::string& kind, const numbers& v) {
    const std::size_t n = count_of(kind);
    if (v.size() != n) {
        throw py::value_error(kind + ": expected " + std::to_string(n) + " numbers, got " +
                              std::to_string(v.size()));
    }
}

spanto::point point_at(const numbers& v, std::size_t i) {
    return spanto::point(v[i], v[i + 1], v[i + 2]);
}

spanto::vector vector_at(const numbers& v, std::size_t i) {
    return spanto::vector(v[i], v[i + 1], v[i + 2]);
}

// The numbers of a made element; `otherwise` says what made the constructor reject the input.
template <typename Element>
numbers made(const Element& e, const std::string& kind, const char* otherwise) {
    if (e.invalid()) throw py::value_error(kind + ": " + otherwise);
    return values_of(e).second;
}

void check_radius(const std::string& kind, double r, const char* name) {
    if (r < 0.0) throw py::value_error(kind + ": the " + name + " must not be negative");
}

}  // namespace

numbers make_element(const std::string& kind, const numbers& v) {
    check_count(kind, v);
    for (const double x : v) {
        if (!std::isfinite(x)) throw py::value_error(kind + ": every number must be finite");
    }
    constexpr const char* zero_normal = "the normal must have a finite, non-zero length";
    constexpr const char* zero_direction = "the direction must have a finite, non-zero length";
    if (kind == "point") return v;
    if (kind == "plane") {
        return made(spanto::plane(point_at(v, 0), vector_at(v, 3)), kind, zero_normal);
    }
    if (kind == "line") {
        return made(spanto::line(point_at(v, 0), vector_at(v, 3)), kind, zero_direction);
    }
    if (kind == "circle") {
        check_radius(kind, v[6], "radius");
        return made(spanto::circle(point_at(v, 0), vector_at(v, 3), v[6]), kind, zero_normal);
    }
    if (kind == "sphere") {
        check_radius(kind, v[3], "radius");
        return made(spanto::sphere(point_at(v, 0), v[3]), kind, "invalid");
    }
    if (kind == "cylinder") {
        check_radius(kind, v[6], "radius");
        return made(spanto::cylinder(point_at(v, 0), vector_at(v, 3), v[6]), kind, zero_direction);
    }
    check_radius(kind, v[3], "radius0");
    check_radius(kind, v[7], "radius1");
    return made(spanto::cone(point_at(v, 0), v[3], point_at(v, 4), v[7]), kind,
                "the two points must lie a finite, non-zero distance apart");
}

template <>
spanto::point element_from(const numbers& v) {
    check_count("point", v);
    return point_at(v, 0);
}

template <>
spanto::plane element_from(const numbers& v) {
    check_count("plane", v);
    spanto::plane p;
    p.origin = point_at(v, 0);
    p.normal = vector_at(v, 3);
    return p;
}

template <>
spanto::line element_from(const numbers& v) {
    check_count("line", v);
    spanto::line l;
    l.origin = point_at(v, 0);
    l.direction = vector_at(v, 3);
    return l;
}

template <>
spanto::circle element_from(const numbers& v) {
    check_count("circle", v);
    spanto::circle c;
    c.centre = point_at(v, 0);
    c.normal = vector_at(v, 3);
    c.radius = v[6];
    return c;
}

template <>
spanto::sphere element_from(const numbers& v) {
    check_count("sphere", v);
    spanto::sphere s;
    s.centre = point_at(v, 0);
    s.radius = v[3];
    return s;
}

template <>
spanto::cylinder element_from(const numbers& v) {
    check_count("cylinder", v);
    spanto::cylinder c;
    c.origin = point_at(v, 0);
    c.direction = vector_at(v, 3);
    c.radius = v[6];
    return c;
}

template <>
spanto::cone element_from(const numbers& v) {
    check_count("cone", v);
    return spanto::cone(point_at(v, 0), v[3], point_at(v, 4), v[7]);
}

element_values values_of(const spanto::point& p) { return {"point", {p.x, p.y, p.z}}; }

element_values values_of(const spanto::plane& p) {
    const spanto::point& o = p.origin;
    const spanto::vector& n = p.normal;
    return {"plane", {o.x, o.y, o.z, n.x, n.y, n.z}};
}

element_values values_of(const spanto::line& l) {
    const spanto::point& o = l.origin;
    const spanto::vector& d = l.direction;
    return {"line", {o.x, o.y, o.z, d.x, d.y, d.z}};
}

element_values values_of(const spanto::circle& c) {
    const spanto::point& o = c.centre;
    const spanto::vector& n = c.normal;
    return {"circle", {o.x, o.y, o.z, n.x, n.y, n.z, c.radius}};
}

element_values values_of(const spanto::sphere& s) {
    const spanto::point& o = s.centre;
    return {"sphere", {o.x, o.y, o.z, s.radius}};
}

element_values values_of(const spanto::cylinder& c) {
    const spanto::point& o = c.origin;
    const spanto::vector& d = c.direction;
    return {"cylinder", {o.x, o.y, o.z, d.x, d.y, d.z, c.radius}};
}

element_values values_of(const spanto::cone& c) {
    const spanto::point& p0 = c.point0();
    const spanto::point& p1 = c.point1();
    return {"cone", {p0.x, p0.y, p0.z, c.radius0(), p1.x, p1.y, p1.z, c.radius1()}};
}

}  // namespace vantor::python

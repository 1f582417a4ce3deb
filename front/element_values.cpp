// SPDX-License-Identifier: Apache-2.0
#include "element_values.h"

#include "error.h"

namespace vantor::cli {
namespace {

spanto::point point_at(const numbers& v, std::size_t i) {
    return spanto::point(v[i], v[i + 1], v[i + 2]);
}

spanto::vector vector_at(const numbers& v, std::size_t i) {
    return spanto::vector(v[i], v[i + 1], v[i + 2]);
}

// The element the constructor made, unless it rejected the input; `otherwise` says what made
// it reject it.
template <class Element>
Element checked(const Element& e, const char* otherwise) {
    if (e.invalid()) throw error(std::string(element_values<Element>::kind) + ": " + otherwise);
    return e;
}

void check_radius(const char* kind, double r, const char* name) {
    if (r < 0.0) throw error(std::string(kind) + ": the " + name + " must not be negative");
}

template <class Element>
const numbers& counted(const numbers& v) {
    check_count(element_values<Element>::kind, size<Element>(), v);
    return v;
}

constexpr const char* zero_normal = "the normal must have a finite, non-zero length";
constexpr const char* zero_direction = "the direction must have a finite, non-zero length";

}  // namespace

void check_count(const char* kind, std::size_t expected, const numbers& v) {
    if (v.size() != expected) {
        throw error(std::string(kind) + ": expected " + std::to_string(expected) +
                    " numbers, got " + std::to_string(v.size()));
    }
}

numbers element_values<spanto::plane>::of(const spanto::plane& p) {
    return {p.origin.x, p.origin.y, p.origin.z, p.normal.x, p.normal.y, p.normal.z};
}
spanto::plane element_values<spanto::plane>::from(const numbers& v) {
    counted<spanto::plane>(v);
    spanto::plane p;
    p.origin = point_at(v, 0);
    p.normal = vector_at(v, 3);
    return p;
}
spanto::plane element_values<spanto::plane>::made(const numbers& v) {
    counted<spanto::plane>(v);
    return checked(spanto::plane(point_at(v, 0), vector_at(v, 3)), zero_normal);
}

numbers element_values<spanto::line>::of(const spanto::line& l) {
    return {l.origin.x, l.origin.y, l.origin.z, l.direction.x, l.direction.y, l.direction.z};
}
spanto::line element_values<spanto::line>::from(const numbers& v) {
    counted<spanto::line>(v);
    spanto::line l;
    l.origin = point_at(v, 0);
    l.direction = vector_at(v, 3);
    return l;
}
spanto::line element_values<spanto::line>::made(const numbers& v) {
    counted<spanto::line>(v);
    return checked(spanto::line(point_at(v, 0), vector_at(v, 3)), zero_direction);
}

numbers element_values<spanto::axis>::of(const spanto::axis& a) {
    return element_values<spanto::line>::of(a);
}
spanto::axis element_values<spanto::axis>::from(const numbers& v) {
    return spanto::axis(element_values<spanto::line>::from(v));
}
spanto::axis element_values<spanto::axis>::made(const numbers& v) {
    return spanto::axis(element_values<spanto::line>::made(v));
}

numbers element_values<spanto::circle>::of(const spanto::circle& c) {
    const spanto::point& o = c.centre;
    const spanto::vector& n = c.normal;
    return {o.x, o.y, o.z, n.x, n.y, n.z, c.radius};
}
spanto::circle element_values<spanto::circle>::from(const numbers& v) {
    counted<spanto::circle>(v);
    spanto::circle c;
    c.centre = point_at(v, 0);
    c.normal = vector_at(v, 3);
    c.radius = v[6];
    return c;
}
spanto::circle element_values<spanto::circle>::made(const numbers& v) {
    counted<spanto::circle>(v);
    check_radius(kind, v[6], "radius");
    return checked(spanto::circle(point_at(v, 0), vector_at(v, 3), v[6]), zero_normal);
}

numbers element_values<spanto::sphere>::of(const spanto::sphere& s) {
    return {s.centre.x, s.centre.y, s.centre.z, s.radius};
}
spanto::sphere element_values<spanto::sphere>::from(const numbers& v) {
    counted<spanto::sphere>(v);
    spanto::sphere s;
    s.centre = point_at(v, 0);
    s.radius = v[3];
    return s;
}
spanto::sphere element_values<spanto::sphere>::made(const numbers& v) {
    counted<spanto::sphere>(v);
    check_radius(kind, v[3], "radius");
    return checked(spanto::sphere(point_at(v, 0), v[3]), "invalid");
}

numbers element_values<spanto::cylinder>::of(const spanto::cylinder& c) {
    const spanto::point& o = c.origin;
    const spanto::vector& d = c.direction;
    return {o.x, o.y, o.z, d.x, d.y, d.z, c.radius};
}
spanto::cylinder element_values<spanto::cylinder>::from(const numbers& v) {
    counted<spanto::cylinder>(v);
    spanto::cylinder c;
    c.origin = point_at(v, 0);
    c.direction = vector_at(v, 3);
    c.radius = v[6];
    return c;
}
spanto::cylinder element_values<spanto::cylinder>::made(const numbers& v) {
    counted<spanto::cylinder>(v);
    check_radius(kind, v[6], "radius");
    return checked(spanto::cylinder(point_at(v, 0), vector_at(v, 3), v[6]), zero_direction);
}

numbers element_values<spanto::cone>::of(const spanto::cone& c) {
    const spanto::point& p0 = c.point0();
    const spanto::point& p1 = c.point1();
    return {p0.x, p0.y, p0.z, c.radius0(), p1.x, p1.y, p1.z, c.radius1()};
}
// The cone's members are private: it is made again by its constructor, which is deterministic.
spanto::cone element_values<spanto::cone>::from(const numbers& v) {
    counted<spanto::cone>(v);
    return spanto::cone(point_at(v, 0), v[3], point_at(v, 4), v[7]);
}
spanto::cone element_values<spanto::cone>::made(const numbers& v) {
    counted<spanto::cone>(v);
    check_radius(kind, v[3], "radius0");
    check_radius(kind, v[7], "radius1");
    return checked(spanto::cone(point_at(v, 0), v[3], point_at(v, 4), v[7]),
                   "the two points must lie a finite, non-zero distance apart");
}

}  // namespace vantor::cli

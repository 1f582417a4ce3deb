// SPDX-License-Identifier: Apache-2.0
// The substitute object, its centroid, and the element forms that fit nothing. Circle and arc
// fitting live in their own files.
#include "vantor/substitute.h"

namespace vantor {

substitute::substitute() : element(type_substitute) {}

substitute::substitute(const substitute& other) = default;
substitute& substitute::operator=(const substitute& other) = default;

spanto::point substitute::point(const actual& points, subtype) const {
    const int n = points.numpoints();
    if (n == 0) return spanto::point();
    spanto::point sum(0.0, 0.0, 0.0);
    for (const spanto::point& p : points) sum += p;
    sum /= static_cast<double>(n);
    return sum;
}

// The element forms below return the type's default, invalid value; the pointer forms do not
// read the point set either, so a null pointer is harmless.

spanto::line substitute::line(const actual&, subtype) const { return spanto::line(); }
spanto::line substitute::line(const actual*, subtype) const { return spanto::line(); }
spanto::line substitute::line(const actual&, const spanto::plane&, subtype) const {
    return spanto::line();
}
spanto::line substitute::line(const actual*, const spanto::plane&, subtype) const {
    return spanto::line();
}
spanto::line substitute::line(const actual&, const spanto::vector&, subtype) const {
    return spanto::line();
}
spanto::line substitute::line(const actual*, const spanto::vector&, subtype) const {
    return spanto::line();
}

spanto::lineseg substitute::lineseg(const actual&, subtype) const { return spanto::lineseg(); }
spanto::lineseg substitute::lineseg(const actual*, subtype) const { return spanto::lineseg(); }
spanto::lineseg substitute::lineseg(const actual&, const spanto::line&) const {
    return spanto::lineseg();
}
spanto::lineseg substitute::lineseg(const actual*, const spanto::line&) const {
    return spanto::lineseg();
}

spanto::plane substitute::plane(const actual&, subtype) const { return spanto::plane(); }
spanto::plane substitute::plane(const actual*, subtype) const { return spanto::plane(); }
spanto::plane substitute::plane(const actual&, const spanto::plane&, subtype) const {
    return spanto::plane();
}
spanto::plane substitute::plane(const actual*, const spanto::plane&, subtype) const {
    return spanto::plane();
}
spanto::plane substitute::plane(const actual&, const spanto::vector&, subtype) const {
    return spanto::plane();
}
spanto::plane substitute::plane(const actual*, const spanto::vector&, subtype) const {
    return spanto::plane();
}

spanto::sphere substitute::sphere(const actual&, subtype) const { return spanto::sphere(); }
spanto::sphere substitute::sphere(const actual*, subtype) const { return spanto::sphere(); }

spanto::cylinder substitute::cylinder(const actual&, subtype) const { return spanto::cylinder(); }
spanto::cylinder substitute::cylinder(const actual*, subtype) const { return spanto::cylinder(); }

spanto::cylindersect substitute::cylindersect(const actual&, subtype) const {
    return spanto::cylindersect();
}
spanto::cylindersect substitute::cylindersect(const actual*, subtype) const {
    return spanto::cylindersect();
}
spanto::cylindersect substitute::cylindersect(const actual&, const spanto::cylinder&) const {
    return spanto::cylindersect();
}
spanto::cylindersect substitute::cylindersect(const actual*, const spanto::cylinder&) const {
    return spanto::cylindersect();
}

spanto::cone substitute::cone(const actual&, subtype) const { return spanto::cone(); }
spanto::cone substitute::cone(const actual*, subtype) const { return spanto::cone(); }
spanto::cone substitute::cone(const actual&, const spanto::vector&, subtype) const {
    return spanto::cone();
}
spanto::cone substitute::cone(const actual*, const spanto::vector&, subtype) const {
    return spanto::cone();
}

spanto::conesect substitute::conesect(const actual&, subtype) const { return spanto::conesect(); }
spanto::conesect substitute::conesect(const actual*, subtype) const { return spanto::conesect(); }
spanto::conesect substitute::conesect(const actual&, const spanto::cone&) const {
    return spanto::conesect();
}
spanto::conesect substitute::conesect(const actual*, const spanto::cone&) const {
    return spanto::conesect();
}

substitute::subtype subtype_of(criterion c) {
    return static_cast<substitute::subtype>(static_cast<int>(c));
}

criterion criterion_of(substitute::subtype s) {
    return s == substitute::unspecified ? criterion::zone
                                        : static_cast<criterion>(static_cast<int>(s));
}

}  // namespace vantor

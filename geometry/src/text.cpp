// SPDX-License-Identifier: Apache-2.0
#include <cstdio>
#include <string>

#include "spanto/text.h"

namespace spanto {

namespace {

// One number as "%.3f". The buffer holds any double: at most 309 integer digits, a sign, the
// point and three decimals.
std::string num(double v) {
    char buf[320];
    std::snprintf(buf, sizeof buf, "%.3f", v);
    return buf;
}

std::string triple(const char* name, double x, double y, double z) {
    return std::string(name) + "(" + num(x) + "," + num(y) + "," + num(z) + ")";
}

}  // namespace

std::string toa(const point& p) { return triple("point", p.x, p.y, p.z); }

std::string toa(const vector& v) { return triple("vector", v.x, v.y, v.z); }

std::string toa(const line& l) { return "line(" + toa(l.origin) + "," + toa(l.direction) + ")"; }

std::string toa(const plane& p) { return "plane(" + toa(p.origin) + "," + toa(p.normal) + ")"; }

std::string toa(const circle& c) {
    return "circle(" + toa(c.centre) + "," + toa(c.normal) + "," + num(c.radius) + ")";
}

std::string toa(const arc& a) {
    return "arc(" + toa(a.centre()) + "," + toa(a.normal()) + "," + toa(a.start()) + "," +
           num(a.angle()) + ")";
}

std::string toa(const sphere& s) { return "sphere(" + toa(s.centre) + "," + num(s.radius) + ")"; }

std::string toa(const cylinder& c) {
    return "cylinder(" + toa(c.origin) + "," + toa(c.direction) + "," + num(c.radius) + ")";
}

std::string toa(const cone& c) {
    return "cone(" + toa(c.point0()) + "," + num(c.radius0()) + "," + toa(c.point1()) + "," +
           num(c.radius1()) + ")";
}

}  // namespace spanto

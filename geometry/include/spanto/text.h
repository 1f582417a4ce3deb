// SPDX-License-Identifier: Apache-2.0
// Text forms of geometry values, for diagnostics only, e.g. "point(1.000,2.000,3.000)".
#ifndef SPANTO_TEXT_H
#define SPANTO_TEXT_H

#include <string>

#include "spanto/circle.h"
#include "spanto/cone.h"
#include "spanto/cylinder.h"
#include "spanto/line.h"
#include "spanto/plane.h"
#include "spanto/sphere.h"

namespace spanto {

SPANTO_EXPORT std::string toa(const point& p);
SPANTO_EXPORT std::string toa(const vector& v);
SPANTO_EXPORT std::string toa(const line& l);
SPANTO_EXPORT std::string toa(const plane& p);
SPANTO_EXPORT std::string toa(const circle& c);
SPANTO_EXPORT std::string toa(const arc& a);
SPANTO_EXPORT std::string toa(const sphere& s);
SPANTO_EXPORT std::string toa(const cylinder& c);
SPANTO_EXPORT std::string toa(const cone& c);

}  // namespace spanto

#endif  // SPANTO_TEXT_H

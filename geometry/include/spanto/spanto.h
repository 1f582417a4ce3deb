// SPDX-License-Identifier: Apache-2.0
// spanto: plain geometric values in 3-D space and their distances.
//
// Every value type is copied by value; invalid means NaN. Constructors scale directions and
// normals to unit length; degenerate input gives an invalid (default) element. The library has
// no global state: every operation is safe to call from several threads.
#ifndef SPANTO_SPANTO_H
#define SPANTO_SPANTO_H

#include "spanto/circle.h"
#include "spanto/cone.h"
#include "spanto/cylinder.h"
#include "spanto/line.h"
#include "spanto/plane.h"
#include "spanto/point.h"
#include "spanto/sphere.h"
#include "spanto/text.h"
#include "spanto/tolerance.h"
#include "spanto/trafo.h"
#include "spanto/vector.h"

#endif  // SPANTO_SPANTO_H

// SPDX-License-Identifier: Apache-2.0
// vantor: a dimensional-metrology library. Fill a point set (`actual`), fit reference elements
// (`fit_line` ... `fit_cone`) or substitute circles (`substitute`), evaluate form
// (`straightness`, `flatness`, `roundness`, `sphereicity`, `cylindricity`, `coneicity`) against
// a datum, orientation and runout about given datums (`parallelism`, `circular_radial_runout`,
// ...). Read measured points from files: `read_point_file`.
#ifndef VANTOR_VANTOR_H
#define VANTOR_VANTOR_H

#include <spanto/spanto.h>

#include "vantor/actual.h"
#include "vantor/datum.h"
#include "vantor/element.h"
#include "vantor/feature.h"
#include "vantor/filtered_form.h"
#include "vantor/fit.h"
#include "vantor/location.h"
#include "vantor/orientation.h"
#include "vantor/point_file.h"
#include "vantor/roundness_analysis.h"
#include "vantor/sections.h"
#include "vantor/size.h"
#include "vantor/substitute.h"
#include "vantor/version.h"

#endif  // VANTOR_VANTOR_H

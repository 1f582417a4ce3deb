// SPDX-License-Identifier: Apache-2.0
// The evaluation of each kind of tolerance of an inspection plan, and the datums they refer to.
// Each throws error naming the plan's line (inspection_plan::fail) when the plan does not allow
// the tolerance or its evaluation fails.
#ifndef VANTOR_FRONT_INSPECTION_TOLERANCES_H
#define VANTOR_FRONT_INSPECTION_TOLERANCES_H

#include <string>
#include <variant>

#include <spanto/spanto.h>
#include <vantor/datum.h>
#include <vantor/fit.h>

#include "inspection_plan.h"

namespace vantor::cli {

// A tolerance's value and the limits it must lie within (lower <= value <= upper), with the
// status of the evaluation and of its datums (not_proved when a minimax fit's optimum is not).
struct tolerance_value {
    double value = 0.0;
    double lower = 0.0;
    double upper = 0.0;
    vantor::status status = vantor::status::ok;
    // A size's ISO 14405-1 modifiers: "LP SA" (two-point sizes, their average), "GX"; else "".
    std::string modifier;
};

// `value` against the tolerance's "limit" (the width or diameter of its zone): [0, limit].
tolerance_value within_limit(const inspection_plan& plan, const plan_tolerance& t, double value,
                             vantor::status status);

// The worse of two valid statuses: not_proved over ok.
vantor::status worse(vantor::status a, vantor::status b);

// The single datum a tolerance orients or locates by: a plane (a face's datum_plane) or an axis
// (a cylinder's datum_axis, a circle's datum_circle_axis, or a common datum axis "A-B").
struct single_datum {
    std::variant<spanto::plane, spanto::line> element;
    vantor::status status = vantor::status::ok;
};
single_datum datum_of(const inspection_plan& plan, const plan_tolerance& t);

// The frame of the tolerance's datums for a true position: one face's datum plane (its normal
// z; the rotation and the position in the plane free), or the datum system of two or three
// (vantor::datum_system).
struct position_frame {
    vantor::datum_frame frame;
    bool in_plane_free = false;  // one datum plane: only positions along z are fixed
};
position_frame frame_of(const inspection_plan& plan, const plan_tolerance& t);

// Form: the feature's form about its minimum-zone element (flatness, roundness, cylindricity,
// sphericity: the element table's form of the feature's element).
tolerance_value form_tolerance(const inspection_plan& plan, const plan_tolerance& t);
// parallelism, perpendicularity, angularity.
tolerance_value orientation_tolerance(const inspection_plan& plan, const plan_tolerance& t);
// circular_radial_runout, total_radial_runout, circular_axial_runout, total_axial_runout.
tolerance_value runout_tolerance(const inspection_plan& plan, const plan_tolerance& t);
// position, coaxiality, concentricity, symmetry.
tolerance_value location_tolerance(const inspection_plan& plan, const plan_tolerance& t);
// size.
tolerance_value size_tolerance(const inspection_plan& plan, const plan_tolerance& t);

}  // namespace vantor::cli

#endif  // VANTOR_FRONT_INSPECTION_TOLERANCES_H

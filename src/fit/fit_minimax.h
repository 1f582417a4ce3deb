// What the minimax fits of the fitting interface share: the sides a criterion bounds, the
// reasons a minimax solver gives for failing, and the report's progress and contact tolerance.
#ifndef VANTOR_FIT_FIT_MINIMAX_H
#define VANTOR_FIT_FIT_MINIMAX_H

#include <string>
#include <vector>

#include "numeric/minimax_fit.h"
#include "numeric/scatter.h"
#include "vantor/fit.h"

namespace vantor::detail {

// zone: both sides; circumscribed: the largest residual; inscribed: the smallest. Not for gauss.
minimax_sides sides_of(criterion c);

// The reason for a solver's failure of criterion c for the element ("cylinder"); `enclosed`
// names what the points of an inscribed element must surround ("the axis").
std::string minimax_reason(minimax_status status, criterion c, const char* element,
                           const char* enclosed);

// Where the fitted surface of criterion c lies among the residuals of a minimax solution (its
// radius, for a sphere or cylinder): the middle of a zone, the smallest residual for an inscribed
// element, the largest for a circumscribed one.
double surface_level(criterion c, const minimax_report& solution);

// The signed distances from that surface at which the contacts lie: both edges of a zone, the
// surface itself for an inscribed or circumscribed element.
std::vector<double> contact_distances(criterion c, const minimax_report& solution);

// The iterations (the solver's steps) and convergence of a certified solution.
void take_progress(fit_report& report, const minimax_report& solution);

// Points within this distance of the boundary of a minimax element are its contacts: the
// solver's contact tolerance, or 1e-12 of the size of the coordinates if that is larger (the
// report measures in the points' own coordinates, the solver about their centroid).
double contact_tolerance(const scatter3& s, const minimax_report& solution);

}  // namespace vantor::detail

#endif  // VANTOR_FIT_FIT_MINIMAX_H

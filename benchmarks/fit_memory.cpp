// SPDX-License-Identifier: Apache-2.0
// Peak memory and passes over the points of one fit of vantor/fit.h, on a measured shape of
// 10,000,000 points (or the count given):
//
//     fit_memory ELEMENT CRITERION [POINTS]      ELEMENT line, plane, circle, sphere, cylinder,
//                                                cone; CRITERION a criterion's name, or none
//
// One fit a run, so that the maximum resident set size of a run (/usr/bin/time -v), minus that
// of a run that only builds the points (criterion none), is the fit's own peak; the points take
// 24 bytes each. Prints the result and the passes the fit made over the points.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fit/fit_points.h"
#include "measured_shapes.h"
#include "vantor/fit.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s ELEMENT CRITERION|none [POINTS]\n", argv[0]);
        return 2;
    }
    const std::string element = argv[1];
    const long n = argc > 3 ? std::atol(argv[3]) : 10000000L;
    const vantor::actual points = element == "line"       ? shapes::line(n)
                                  : element == "plane"    ? shapes::plane(n)
                                  : element == "circle"   ? shapes::profile(n)
                                  : element == "sphere"   ? shapes::sphere(n)
                                  : element == "cylinder" ? shapes::cylinder(n)
                                                          : shapes::cone(n);
    if (std::strcmp(argv[2], "none") == 0) return 0;
    vantor::criterion c;
    if (!vantor::criterion_named(argv[2], c)) {
        std::fprintf(stderr, "no criterion %s\n", argv[2]);
        return 2;
    }
    const long before = vantor::detail::fit_passes();
    vantor::fit_report r;
    if (element == "line")
        r = vantor::fit_line(points, c);
    else if (element == "plane")
        r = vantor::fit_plane(points, c);
    else if (element == "circle")
        r = vantor::fit_circle(points, c);
    else if (element == "sphere")
        r = vantor::fit_sphere(points, c);
    else if (element == "cylinder")
        r = vantor::fit_cylinder(points, c);
    else
        r = vantor::fit_cone(points, c);
    std::printf("%s %s: %s, deviation %.9g, objective %.9g, bound %.9g, proved %d, passes %ld\n",
                element.c_str(), argv[2], r.valid() ? "ok" : r.error.c_str(), r.deviation,
                r.objective, r.bound, r.proved ? 1 : 0, vantor::detail::fit_passes() - before);
    return 0;
}

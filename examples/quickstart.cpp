// SPDX-License-Identifier: Apache-2.0
// Fills a point set with a measured face and a measured bore, and judges their form.
#include <cmath>
#include <cstdio>

#include <vantor/vantor.h>

int main() {
    using spanto::point;
    using spanto::vector;

    // A milled face, 40 x 40 mm, with a slight wave of 4 um amplitude.
    vantor::actual face(400);
    for (int i = 0; i < 20; ++i) {
        for (int j = 0; j < 20; ++j) {
            const double x = 2.0 * i, y = 2.0 * j;
            face.append(x, y, 0.004 * std::sin(x / 6.0) * std::cos(y / 9.0));
        }
    }
    const vantor::flatness flat(face, spanto::plane(point(0, 0, 0), vector(0, 0, 1)));
    std::printf("face: %d points, flatness %.4f mm (%.4f .. %.4f)\n", face.numpoints(),
                flat.value(), flat.minvalue(), flat.maxvalue());

    // A bore of radius 10 mm with three lobes of 5 um, measured at 360 points.
    vantor::actual bore(360);
    const double pi = std::acos(-1.0);
    for (int k = 0; k < 360; ++k) {
        const double a = 2 * pi * k / 360;
        const double r = 10.0 + 0.005 * std::cos(3 * a);
        bore.append(r * std::cos(a), r * std::sin(a), 5.0);
    }
    const vantor::roundness round(bore, spanto::line(point(0, 0, 0), vector(0, 0, 1)));
    std::printf("bore: %d points, roundness %.4f mm (radius %.4f .. %.4f)\n", bore.numpoints(),
                round.value(), round.minvalue(), round.maxvalue());
    return 0;
}

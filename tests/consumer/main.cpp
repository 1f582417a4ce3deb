#include <cstdio>

#include <vantor/vantor.h>

int main() {
    vantor::actual points(3);
    points.append(0.0, 0.0, 1.0);
    points.append(1.0, 0.0, 1.5);
    points.append(0.0, 1.0, 0.5);
    const vantor::flatness flat(points,
                                spanto::plane(spanto::point(0, 0, 0), spanto::vector(0, 0, 1)));
    // The fitting interface, whose implementation uses Eigen, needs nothing more from here.
    const vantor::fit_result<spanto::plane> fitted = vantor::fit_plane(points);
    std::printf("vantor %s: flatness %.3f, fitted plane %s\n", vantor::version(), flat.value(),
                fitted.valid() ? "valid" : fitted.error.c_str());
    return flat.valid() && flat.value() == 1.5 && fitted.valid() ? 0 : 1;
}

#include <cstdio>

#include <vantor/vantor.h>

int main() {
    vantor::actual points(3);
    points.append(0.0, 0.0, 1.0);
    points.append(1.0, 0.0, 1.5);
    points.append(0.0, 1.0, 0.5);
    const vantor::flatness flat(points,
                                spanto::plane(spanto::point(0, 0, 0), spanto::vector(0, 0, 1)));
    std::printf("vantor %s: flatness %.3f\n", vantor::version(), flat.value());
    return flat.valid() && flat.value() == 1.5 ? 0 : 1;
}

// SPDX-License-Identifier: Apache-2.0
// An application of the library. It calls vantor only (the geometry values it builds are inline),
// so that, linked with --as-needed, it needs libvantor alone and libvantor must find libspanto by
// itself.
#include <cstdio>

#include <vantor/vantor.h>

// Built as C++14 too: linking vantor::vantor raises the standard to the C++17 its headers need.
static_assert(__cplusplus >= 201703L, "the library's targets carry cxx_std_17");

int main() {
    vantor::actual points(3);
    points.append(0.0, 0.0, 1.0);
    points.append(1.0, 0.0, 1.5);
    points.append(0.0, 1.0, 0.5);
    // Heights 1, 1.5 and 0.5 along z: a zone 1 wide.
    const vantor::flatness flat(points, spanto::vector(0, 0, 1));
    // The fitting interface, whose implementation uses Eigen, needs nothing more from here.
    const vantor::fit_result<spanto::plane> fitted = vantor::fit_plane(points);
    std::printf("vantor %s, C++ %ld: flatness %.3f, fitted plane %s\n", vantor::version(),
                __cplusplus, flat.value(), fitted.valid() ? "valid" : fitted.error.c_str());
    return flat.valid() && flat.value() == 1.0 && fitted.valid() ? 0 : 1;
}

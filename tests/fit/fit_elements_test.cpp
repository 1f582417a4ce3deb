// SPDX-License-Identifier: Apache-2.0
// The table of elements and criteria against the fits it describes: every row's criteria are
// the ones its fit accepts, its fewest points the ones its fit needs, its parameters the ones
// its report carries, and vantor::fit gives what the element's own fit gives.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "fit/surfaces.h"
#include "vantor/fit.h"

namespace vantor {
namespace {

// Measured points of each element: a sector of 300 degrees (so that every criterion is
// determined), a band, a cap.
actual measured(element_kind kind, std::uint64_t seed) {
    const double noise = 0.002;
    switch (kind) {
        case element_kind::line:
            return surfaces::flat(seed, 40.0, 0.0, 60, noise);
        case element_kind::plane:
            return surfaces::flat(seed, 40.0, 30.0, 60, noise);
        case element_kind::circle:
            return surfaces::revolution(seed, 12.0, 0.0, 5.3, 0.0, 60, noise);
        case element_kind::sphere:
            return surfaces::sphere_cap(seed, 12.0, 2.6, 60, noise);
        case element_kind::cylinder:
            return surfaces::revolution(seed, 12.0, 0.0, 5.3, 20.0, 60, noise);
        case element_kind::cone:
            break;
    }
    return surfaces::revolution(seed, 12.0, 0.3, 5.3, 20.0, 60, noise);
}

// The first n points of a set.
actual first(const actual& points, int n) {
    actual a(n);
    for (int i = 0; i < n; ++i) a.append(points[i]);
    return a;
}

TEST(ElementTable, EveryRowDescribesItsFit) {
    ASSERT_EQ(elements().size(), 6u);
    for (std::size_t row = 0; row < elements().size(); ++row) {
        const element_info& e = elements()[row];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(static_cast<std::size_t>(e.kind), row);
        EXPECT_EQ(&info_of(e.kind), &e);
        EXPECT_EQ(element_named(e.name), &e);
        const actual points = measured(e.kind, 11 + row);
        for (const criterion_info& c : criteria()) {
            SCOPED_TRACE(c.name);
            const fit_result<fitted_element> r = fit(points, e.kind, c.criterion);
            EXPECT_EQ(r.element.index(), row);
            if (!e.has(c.criterion)) {
                EXPECT_EQ(r.status, status::refused) << r.error;
                continue;
            }
            ASSERT_TRUE(r.valid()) << r.error;
            ASSERT_EQ(r.parameters.size(), e.parameters.size());
            for (std::size_t i = 0; i < e.parameters.size(); ++i) {
                EXPECT_STREQ(r.parameters[i].name, e.parameters[i].name);
                EXPECT_EQ(r.parameters[i].size, e.parameters[i].size);
            }
            EXPECT_EQ(r.criterion, c.criterion);
        }
        // One point fewer than the row's fewest fails as too few; the fewest do not.
        const fit_result<fitted_element> short_of =
            fit(first(points, e.fewest_points - 1), e.kind, criterion::gauss);
        EXPECT_EQ(short_of.status, status::too_few_points) << short_of.error;
        EXPECT_NE(short_of.error.find("at least " + std::to_string(e.fewest_points)),
                  std::string::npos);
        const fit_result<fitted_element> enough =
            fit(first(points, e.fewest_points), e.kind, criterion::gauss);
        EXPECT_NE(enough.status, status::too_few_points) << enough.error;
    }
}

TEST(ElementTable, NamesRoundTripAndUnknownsAreRefused) {
    for (const criterion_info& c : criteria()) {
        criterion named = criterion::gauss;
        EXPECT_TRUE(criterion_named(c.name, named));
        EXPECT_EQ(named, c.criterion);
        EXPECT_EQ(info_of(c.criterion), &c);
    }
    EXPECT_EQ(info_of(static_cast<criterion>(9)), nullptr);
    EXPECT_EQ(element_named("torus"), nullptr);
    const actual points = measured(element_kind::plane, 3);
    const fit_result<fitted_element> r = fit(points, static_cast<element_kind>(6));
    EXPECT_EQ(r.status, status::refused);
    EXPECT_FALSE(r.valid());
}

}  // namespace
}  // namespace vantor

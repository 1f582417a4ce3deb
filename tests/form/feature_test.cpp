// SPDX-License-Identifier: Apache-2.0
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "vantor/feature.h"

namespace vantor {
namespace {

TEST(Feature, ValidityFollowsTheInvalidMarkerOnly) {
    feature f(feature::fea_flatness);
    EXPECT_EQ(f.FeaType(), 1);
    EXPECT_EQ(f.type(), element::type_feature);
    EXPECT_EQ(f.value(), 0.0);
    EXPECT_TRUE(f.valid());

    f.setinvalid();
    EXPECT_EQ(f.value(), 1.7976931348623157e308);
    EXPECT_TRUE(f.invalid());
    EXPECT_FALSE(f.valid());

    f.value(0.5);
    EXPECT_TRUE(f.valid());
    f.value(std::nan(""));
    EXPECT_TRUE(f.valid());
    f.value(1.7976931348623157e308);
    EXPECT_TRUE(f.invalid());
}

TEST(Feature, NominalFormsSetTheirOwnTolerances) {
    feature f(feature::fea_roundness);
    EXPECT_EQ(f.nominal(), 0.0);
    EXPECT_EQ(f.lowertol(), 0.0);
    EXPECT_EQ(f.uppertol(), 0.0);

    f.lowertol(-0.3);
    f.nominal(2.0, 0.1);  // nominal and upper tolerance; the lower one stays
    EXPECT_EQ(f.nominal(), 2.0);
    EXPECT_EQ(f.lowertol(), -0.3);
    EXPECT_EQ(f.uppertol(), 0.1);

    f.nominal(4.0, -0.1, 0.2);
    EXPECT_EQ(f.nominal(), 4.0);
    EXPECT_EQ(f.lowertol(), -0.1);
    EXPECT_EQ(f.uppertol(), 0.2);

    f.nominal(5.0);
    f.uppertol(0.7);
    EXPECT_EQ(f.nominal(), 5.0);
    EXPECT_EQ(f.lowertol(), -0.1);
    EXPECT_EQ(f.uppertol(), 0.7);
}

TEST(Feature, CopyAndAssignmentCarryEveryMember) {
    feature source(feature::fea_coneicity);
    source.name("cone 7");
    source.rgbcolor(0x00ff00);
    source.value(0.125);
    source.nominal(3.0, -0.01, 0.02);

    feature copy(source);
    feature assigned(feature::fea_straightness);
    assigned = source;
    for (const feature* f : {&copy, &assigned}) {
        EXPECT_EQ(f->FeaType(), feature::fea_coneicity);
        EXPECT_STREQ(f->name(), "cone 7");
        EXPECT_EQ(f->rgbcolor(), 0x00ff00);
        EXPECT_EQ(f->value(), 0.125);
        EXPECT_EQ(f->nominal(), 3.0);
        EXPECT_EQ(f->lowertol(), -0.01);
        EXPECT_EQ(f->uppertol(), 0.02);
    }
}

TEST(Feature, SavingAFeatureReportsFailure) {
    const char* dir = std::getenv("VANTOR_TEST_TMP");
    const std::string path = std::string(dir != nullptr ? dir : ".") + "/feature.elem";
    const flatness f(0.5);
    EXPECT_FALSE(f.save(path.c_str()));
    std::remove(path.c_str());
}

// The protocol shared by the six form classes.
template <typename T>
class FormFeature : public ::testing::Test {};

using FormClasses =
    ::testing::Types<straightness, flatness, roundness, sphereicity, cylindricity, coneicity>;
// Names each case by the class's feature type.
struct KindName {
    template <typename T>
    static std::string GetName(int) {
        return "fea_" + std::to_string(T().FeaType());
    }
};
TYPED_TEST_SUITE(FormFeature, FormClasses, KindName);

TYPED_TEST(FormFeature, DefaultConstruction) {
    const TypeParam f;
    const bool starts_invalid =
        f.FeaType() == feature::fea_cylindricity || f.FeaType() == feature::fea_coneicity;
    EXPECT_EQ(f.invalid(), starts_invalid);
    if (!starts_invalid) {
        EXPECT_EQ(f.value(), 0.0);
    }
    EXPECT_EQ(f.type(), element::type_feature);
    EXPECT_EQ(f.nominal(), 0.0);
    EXPECT_EQ(f.lowertol(), 0.0);
    EXPECT_EQ(f.uppertol(), 0.0);
    EXPECT_EQ(f.minvalue(), 0.0);
    EXPECT_EQ(f.maxvalue(), 0.0);
    EXPECT_TRUE(f.datum().invalid());
}

TYPED_TEST(FormFeature, ValueConstructorStoresTheFormValue) {
    const TypeParam f(0.25);
    EXPECT_TRUE(f.valid());
    EXPECT_EQ(f.value(), 0.25);
    EXPECT_EQ(f.uppertol(), 0.0);
    EXPECT_TRUE(f.datum().invalid());
}

TEST(FormFeature, KindsOfTheSixClasses) {
    EXPECT_EQ(straightness().FeaType(), 0);
    EXPECT_EQ(flatness().FeaType(), 1);
    EXPECT_EQ(roundness().FeaType(), 2);
    EXPECT_EQ(cylindricity().FeaType(), 3);
    EXPECT_EQ(coneicity().FeaType(), 4);
    EXPECT_EQ(sphereicity().FeaType(), 5);
}

}  // namespace
}  // namespace vantor

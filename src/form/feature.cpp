// SPDX-License-Identifier: Apache-2.0
#include "vantor/feature.h"

namespace vantor {

feature::feature(featype kind) : element(type_feature), kind_(kind) {}

feature::feature(const feature& other) = default;
feature& feature::operator=(const feature& other) = default;

void feature::value(const double& v) { value_ = v; }
double feature::value() const { return value_; }

void feature::nominal(const double& n, const double& lower, const double& upper) {
    nominal_ = n;
    lowertol_ = lower;
    uppertol_ = upper;
}

void feature::nominal(const double& n, const double& upper) {
    nominal_ = n;
    uppertol_ = upper;
}

void feature::nominal(const double& n) { nominal_ = n; }
double feature::nominal() const { return nominal_; }
void feature::lowertol(const double& t) { lowertol_ = t; }
double feature::lowertol() const { return lowertol_; }
void feature::uppertol(const double& t) { uppertol_ = t; }
double feature::uppertol() const { return uppertol_; }

}  // namespace vantor

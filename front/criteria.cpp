// SPDX-License-Identifier: Apache-2.0
#include "criteria.h"

#include "error.h"

namespace vantor::cli {

const std::array<criterion_names, 4>& criteria() {
    static const std::array<criterion_names, 4> names = {{
        {vantor::criterion::gauss, "gauss", "LSC", "least squares", "least-squares"},
        {vantor::criterion::zone, "zone", "MZC", "minimum zone", "minimum-zone"},
        {vantor::criterion::inscribed, "inscribed", "MIC", "maximum inscribed",
         "maximum-inscribed"},
        {vantor::criterion::circumscribed, "circumscribed", "MCC", "minimum circumscribed",
         "minimum-circumscribed"},
    }};
    return names;
}

const criterion_names& names_of(vantor::criterion c) {
    for (const criterion_names& n : criteria()) {
        if (n.id == c) return n;
    }
    throw error("unknown criterion " + std::to_string(static_cast<int>(c)));
}

std::string reference_name(vantor::criterion c, const std::string& element) {
    return std::string(names_of(c).adjective) + " " + element;
}

}  // namespace vantor::cli

// SPDX-License-Identifier: Apache-2.0
#include "command_report.h"

#include <cmath>

#include <vantor/substitute.h>

#include "error.h"

namespace vantor::cli {
namespace {

// Runs `evaluate`, naming the file in the message of an error it throws.
template <typename Evaluate>
auto in_file(const point_file& in, const Evaluate& evaluate) {
    try {
        return evaluate();
    } catch (const error& e) {
        throw error(in.name + ": " + e.what(), e.code);
    }
}

}  // namespace

report file_summary(const point_file& in) {
    report r = {{"file", in.name}, {"points", in.points->numpoints()}};
    if (in.nan_rows > 0) r["nan_rows_skipped"] = in.nan_rows;
    if (!in.unit.empty()) r["unit"] = in.unit;
    return r;
}

spanto::point centroid(const vantor::actual& points) {
    return vantor::substitute().point(points, vantor::substitute::gauss);
}
report form_report(const point_file& in, const char* name, const vantor::feature& f) {
    if (f.invalid() || !std::isfinite(f.value())) {
        throw error(in.name + ": " + name + " could not be evaluated",
                    f.invalid() ? vantor::status::invalid_result : vantor::status::invalid_points);
    }
    report r = file_summary(in);
    r["feature"] = name;
    r["value"] = f.value();
    return r;
}

void add_extremes(report& r, const char* what, double low, double high) {
    r[std::string("min_") + what] = low;
    r[std::string("max_") + what] = high;
}

report verdict(double value, double nominal, double lower, double upper) {
    return {{"nominal", nominal},
            {"lower", lower},
            {"upper", upper},
            {"within", nominal + lower <= value && value <= nominal + upper}};
}

outcome with_verdict(report r, vantor::feature& f, const tolerance& tol) {
    outcome result{std::move(r), true, {}};
    if (!tol.upper) return result;
    f.nominal(tol.nominal.value_or(0.0), tol.lower.value_or(0.0), *tol.upper);
    report& v = result.data["tolerance"] =
        verdict(f.value(), f.nominal(), f.lowertol(), f.uppertol());
    result.within = v["within"].get<bool>();
    return result;
}

const char* direction_source(const std::optional<spanto::vector>& direction) {
    return direction ? "--direction" : "least-squares plane";
}

reference_form fitted_form(const point_file& in, const char* name, vantor::criterion c,
                           const vantor::fit_options& options,
                           const std::optional<spanto::vector>& direction) {
    return in_file(in,
                   [&] { return form_about_reference(*in.points, name, c, direction, options); });
}

}  // namespace vantor::cli

// SPDX-License-Identifier: Apache-2.0
#include "form_commands.h"

#include <vantor/feature.h>
#include <vantor/filtered_form.h>

#include "error.h"
#include "fits.h"

namespace vantor::cli {

outcome flatness(const point_file& in,
                 const std::variant<std::monostate, spanto::plane, spanto::vector>& datum,
                 const tolerance& tol, vantor::criterion reference,
                 const vantor::fit_options& options) {
    if (std::holds_alternative<std::monostate>(datum)) {
        return about_reference<vantor::flatness>(
            in, "flatness", fitted_form(in, "flatness", reference, options), tol);
    }
    vantor::flatness f;
    if (const auto* plane = std::get_if<spanto::plane>(&datum)) f.compute(*in.points, *plane);
    if (const auto* direction = std::get_if<spanto::vector>(&datum)) {
        f.compute(*in.points, *direction);
    }
    report r = form_report(in, "flatness", f);
    add_extremes(r, "deviation", f.minvalue(), f.maxvalue());
    r["datum"] = to_report(f.datum());
    add_outliers(r, vantor::outliers_about(*in.points, f.datum()));
    return with_verdict(std::move(r), f, tol);
}

outcome straightness(const point_file& in, const std::optional<spanto::line>& line,
                     const tolerance& tol, vantor::criterion reference,
                     const vantor::fit_options& options) {
    if (!line) {
        return about_reference<vantor::straightness>(
            in, "straightness", fitted_form(in, "straightness", reference, options), tol);
    }
    vantor::straightness f(*in.points, *line);
    report r = form_report(in, "straightness", f);
    add_extremes(r, "diameter", f.minvalue(), f.maxvalue());
    r["datum"] = datum_report(f.datum(), *line);
    add_outliers(r, vantor::outliers_about(*in.points, *line));
    return with_verdict(std::move(r), f, tol);
}

outcome sphericity(const point_file& in,
                   const std::variant<std::monostate, spanto::sphere, spanto::point>& datum,
                   const tolerance& tol, vantor::criterion reference,
                   const vantor::fit_options& options) {
    if (std::holds_alternative<std::monostate>(datum)) {
        return about_reference<vantor::sphereicity>(
            in, "sphericity", fitted_form(in, "sphericity", reference, options), tol);
    }
    vantor::sphereicity f;
    report r;
    if (const auto* centre = std::get_if<spanto::point>(&datum)) {
        f.compute(*in.points, *centre);
        r = form_report(in, "sphericity", f);
        add_extremes(r, "radius", f.minvalue(), f.maxvalue());
        r["datum"] = {{"centre", to_report(*centre)}};
        // Any sphere about the centre: the rule weighs the distances about their mean.
        add_outliers(r, vantor::outliers_about(*in.points, spanto::sphere(*centre, 0.0)));
    } else {
        const auto& sphere = std::get<spanto::sphere>(datum);
        f.compute(*in.points, sphere);
        r = form_report(in, "sphericity", f);
        r["datum"] = datum_report(f.datum(), sphere);
        add_outliers(r, vantor::outliers_about(*in.points, sphere));
    }
    return with_verdict(std::move(r), f, tol);
}

outcome cylindricity(const point_file& in, const std::optional<spanto::cylinder>& cylinder,
                     const tolerance& tol, vantor::criterion reference,
                     const vantor::fit_options& options) {
    if (!cylinder) {
        return about_reference<vantor::cylindricity>(
            in, "cylindricity", fitted_form(in, "cylindricity", reference, options), tol);
    }
    vantor::cylindricity f(*in.points, *cylinder);
    report r = form_report(in, "cylindricity", f);
    r["datum"] = datum_report(f.datum(), *cylinder);
    add_outliers(r, vantor::outliers_about(*in.points, *cylinder));
    return with_verdict(std::move(r), f, tol);
}

outcome conicity(const point_file& in,
                 const std::variant<std::monostate, spanto::cone, spanto::axis>& datum,
                 const tolerance& tol, vantor::criterion reference,
                 const vantor::fit_options& options) {
    if (std::holds_alternative<std::monostate>(datum)) {
        return about_reference<vantor::coneicity>(
            in, "conicity", fitted_form(in, "conicity", reference, options), tol);
    }
    vantor::coneicity f;
    if (const auto* cone = std::get_if<spanto::cone>(&datum)) f.compute(*in.points, *cone);
    if (const auto* axis = std::get_if<spanto::axis>(&datum)) f.compute(*in.points, *axis);
    report r = form_report(in, "conicity", f);
    add_extremes(r, "deviation", f.minvalue(), f.maxvalue());
    r["datum"] = to_report(f.datum());
    add_outliers(r, vantor::outliers_about(*in.points, f.datum()));
    return with_verdict(std::move(r), f, tol);
}

namespace {

// The report of a filtered form, its parameters named `prefix` t, p, v, q, followed by `about`
// (the datum and what else describes the reference).
template <typename Feature>
outcome filtered_report(const point_file& in, const char* name, const std::string& prefix,
                        const vantor::filtered_profile& p, const report& about,
                        const tolerance& tol) {
    if (!p.valid()) throw error(in.name + ": " + name + ": " + p.error, p.status);
    Feature f(p.t);  // carries the value and the tolerance for the verdict
    report r = form_report(in, name, f);
    r["reference"] = "least-squares of the filtered points";
    r["cutoff"] = p.cutoff;
    r[prefix + "t"] = p.t;
    r[prefix + "p"] = p.p;
    r[prefix + "v"] = p.v;
    r[prefix + "q"] = p.q;
    r["median_spacing"] = p.median_spacing;
    for (const auto& item : about.items()) r[item.key()] = item.value();
    add_outliers(r, p.outliers);
    if (!p.warning.empty()) r["warning"] = joined_warning(p.warning, p.outliers);
    return with_verdict(std::move(r), f, tol);
}

}  // namespace

outcome filtered_straightness(const point_file& in, double cutoff, const tolerance& tol) {
    const vantor::filtered_straightness s = vantor::filter_straightness(*in.points, cutoff);
    const report about = {{"datum", to_report(s.line)},
                          {"deviation_direction", to_report(s.direction)},
                          {"across", s.across}};
    return filtered_report<vantor::straightness>(in, "straightness", "str", s, about, tol);
}

outcome filtered_flatness(const point_file& in, double cutoff, const tolerance& tol) {
    const vantor::filtered_flatness f = vantor::filter_flatness(*in.points, cutoff);
    return filtered_report<vantor::flatness>(in, "flatness", "flt", f,
                                             {{"datum", to_report(f.plane)}}, tol);
}

}  // namespace vantor::cli

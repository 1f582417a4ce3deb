// SPDX-License-Identifier: Apache-2.0
#include "commands.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <memory>

#include <vantor/feature.h>
#include <vantor/filtered_form.h>
#include <vantor/substitute.h>

#include "error.h"
#include "output_file.h"
#include "reference.h"
#include "roundness_plot.h"
#include "spectrum_plot.h"
#include "svg.h"

namespace vantor::cli {
namespace {

constexpr double degrees_per_radian = 180.0 / 3.14159265358979323846;

report file_summary(const point_file& in) {
    report r = {{"file", in.name}, {"points", in.points->numpoints()}};
    if (in.nan_rows > 0) r["nan_rows_skipped"] = in.nan_rows;
    if (!in.unit.empty()) r["unit"] = in.unit;
    return r;
}

spanto::point centroid(const vantor::actual& points) {
    return vantor::substitute().point(points, vantor::substitute::gauss);
}

// The library fits inscribed and circumscribed circles exactly on closed profiles only.
constexpr const char* open_profile_note = "open profile: not the exact optimum";

// Runs `evaluate`, naming the file in the message of an error it throws.
template <typename Evaluate>
auto in_file(const point_file& in, const Evaluate& evaluate) {
    try {
        return evaluate();
    } catch (const error& e) {
        throw error(in.name + ": " + e.what());
    }
}

// The common head of a form report; throws when the evaluation failed.
report form_report(const point_file& in, const char* name, const vantor::feature& f) {
    if (f.invalid() || !std::isfinite(f.value())) {
        throw error(in.name + ": " + name + " could not be evaluated");
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

// The datum measured against: the feature's own when the evaluation set a valid one.
template <typename Datum, typename Given>
report datum_report(const Datum& own, const Given& given) {
    return own.valid() ? to_report(own) : to_report(given);
}

// Stores the tolerance in the feature and adds the verdict, read back from the feature.
outcome with_verdict(report r, vantor::feature& f, const tolerance& tol) {
    outcome result{std::move(r), true, {}};
    if (!tol.upper) return result;
    f.nominal(tol.nominal.value_or(0.0), tol.lower.value_or(0.0), *tol.upper);
    const double v = f.value();
    result.within = f.nominal() + f.lowertol() <= v && v <= f.nominal() + f.uppertol();
    result.data["tolerance"] = {{"nominal", f.nominal()},
                                {"lower", f.lowertol()},
                                {"upper", f.uppertol()},
                                {"within", result.within}};
    return result;
}

// A number that reads better as an integer when it is whole (a magnification, a cutoff).
report whole_or_not(double v) {
    return v >= 1 && v == std::floor(v) && v < 1e15 ? report(static_cast<long long>(v)) : report(v);
}

report write_chart(const vantor::actual& points, const roundness_chart& chart,
                   const chart_labels& labels, output_file& out) {
    const roundness_svg svg = draw_roundness_plot(points, chart, labels);
    write_content(out, svg.text, "cannot write the plot");
    return {{"file", out.target()}, {"magnification", whole_or_not(svg.magnification)}};
}

// The four reference circles of the plot about a given datum: the existing circle fit's along
// `direction`, each inscribed or circumscribed circle of an open profile noted.
std::vector<chart_circle> substitute_circles(const point_file& in,
                                             const spanto::vector& direction) {
    std::vector<chart_circle> circles;
    for (const criterion_names& c : criteria()) {
        vantor::substitute s;
        const spanto::circle circle = s.circle(*in.points, direction, vantor::subtype_of(c.id));
        if (circle.invalid()) {
            throw error(in.name + ": the " + c.title + " circle could not be fitted");
        }
        const bool minimax =
            c.id == vantor::criterion::inscribed || c.id == vantor::criterion::circumscribed;
        const bool exact =
            !minimax || vantor::closed_profile(*in.points, circle.centre, circle.normal);
        circles.push_back(
            {c.abbreviation, c.title, circle, s.deviation(), exact ? "" : open_profile_note});
    }
    return circles;
}

// The four reference circles of the plot about a fitted circle: the fitting interface's along
// the same direction; one it cannot fit is noted and left invalid (the chart leaves it out).
std::vector<chart_circle> fitted_circles(const point_file& in,
                                         const std::optional<spanto::vector>& direction,
                                         const vantor::fit_options& options) {
    std::vector<chart_circle> circles;
    for (const criterion_names& c : criteria()) {
        const fit_outcome f =
            fit_element(*in.points, element_kind::circle, c.id, direction, options);
        const std::string note = f.report.valid() ? "" : "not determined: " + f.report.error;
        circles.push_back({c.abbreviation, c.title, std::get<spanto::circle>(f.element),
                           f.report.deviation, note});
    }
    return circles;
}

// Draws the roundness plot about `reference` with the circles and writes it to the prepared
// output; the report gives each circle's note under its abbreviation.
report plot_roundness(const point_file& in, double value, const std::string& reference_name,
                      const spanto::circle& reference, std::vector<chart_circle> circles,
                      output_file& out) {
    report notes = report::object();
    for (const chart_circle& c : circles) {
        if (!c.note.empty()) notes[c.abbreviation] = c.note;
    }
    const roundness_chart chart{in.name, value, reference_name, reference, std::move(circles)};
    report r = write_chart(*in.points, chart, {in.unit, ""}, out);
    r.update(notes);
    return r;
}

// Where the direction of a fitted circle's axis comes from.
const char* direction_source(const std::optional<spanto::vector>& direction) {
    return direction ? "--direction" : "least-squares plane";
}

// The given direction of a roundness datum; none for the other datums.
std::optional<spanto::vector> given_direction(const roundness_datum& datum) {
    const auto* direction = std::get_if<spanto::vector>(&datum);
    return direction ? std::optional<spanto::vector>(*direction) : std::nullopt;
}

// Whether the roundness datum is fitted to the points (a direction, or nothing given).
bool fitted_datum(const roundness_datum& datum) {
    return std::holds_alternative<std::monostate>(datum) ||
           std::holds_alternative<spanto::vector>(datum);
}

// The axis the roundness analysis takes the profile about: the given circle's, the given line,
// or the axis of the least-squares circle fitted along the direction (without one, in the
// least-squares plane), whatever reference circle is asked for. About its least-squares centre a
// profile has no offset (UPR 1): a scan recorded at equal angles about its centre stays equally
// spaced, so it is transformed as it is rather than resampled, and the filter sees no offset
// terms. The reference circle of the criterion is fitted to the profile in the same plane, so
// unfiltered it is the circle fitted to the points along the same direction.
spanto::line datum_axis(const point_file& in, const roundness_datum& datum) {
    if (const auto* given = std::get_if<spanto::circle>(&datum)) return given->axisline();
    if (const auto* line = std::get_if<spanto::line>(&datum)) return *line;
    const vantor::criterion centred = vantor::criterion::gauss;
    const fit_outcome f =
        fit_element(*in.points, element_kind::circle, centred, given_direction(datum));
    if (!f.report.valid()) {
        throw error(in.name + ": " + reference_name(centred, "circle") + ": " + f.report.error);
    }
    return std::get<spanto::circle>(f.element).axisline();
}

// The roundness command with the analysis options (see roundness()).
outcome analysed_roundness(const point_file& in, const roundness_datum& datum, const tolerance& tol,
                           const roundness_options& options, output_file* plot_out,
                           output_file* spectrum_out) {
    const spanto::line axis = datum_axis(in, datum);
    const double cutoff = options.filter.value_or(vantor::roundness_analysis::unfiltered);
    const vantor::roundness_analysis a(*in.points, axis, cutoff);
    if (!a.valid()) throw error(in.name + ": " + a.error());

    const auto* given_circle = std::get_if<spanto::circle>(&datum);
    const auto* given_line = std::get_if<spanto::line>(&datum);
    vantor::ron_parameters p;
    std::string name;   // in the report
    std::string title;  // on the plot
    if (options.reference) {
        p = a.parameters(*options.reference);
        name = names_of(*options.reference).option;
        title = reference_name(*options.reference, "circle");
    } else if (given_circle) {
        p = a.about(*given_circle);
        name = title = "given circle";
    } else if (given_line) {
        p = a.about(spanto::circle(a.origin(), axis.direction, a.mean_radius()));
        name = title = "circle about the given axis";
    } else {
        p = a.parameters(default_reference);
        name = names_of(default_reference).option;
        title = reference_name(default_reference, "circle");
    }

    vantor::roundness f(p.ront);  // carries the value and the tolerance for the verdict
    report r = form_report(in, "roundness", f);
    r["reference"] = name;
    if (fitted_datum(datum)) r["direction_from"] = direction_source(given_direction(datum));
    r["filter_upr"] = cutoff > 0 ? whole_or_not(cutoff) : report(nullptr);
    r["ront"] = p.ront;
    r["ronp"] = p.ronp;
    r["ronv"] = p.ronv;
    r["ronq"] = p.ronq;
    r["datum"] = to_report(p.circle);
    if (options.reference && (given_circle || given_line)) {
        r["eccentricity"] = {
            {"distance", p.eccentricity},
            {"direction", p.eccentricity > 0 ? to_report(p.eccentricity_direction) : report()}};
    }
    add_outliers(r, a.outliers());
    if (a.resampled()) {
        r["resampled"] = {{"points", a.resampled_points()}, {"upr_limit", a.harmonic_limit()}};
    }
    if (options.harmonics) {
        report& list = r["harmonics"] = report::array();
        for (const vantor::harmonic& h : a.dominant(*options.harmonics)) {
            list.push_back({{"upr", h.upr},
                            {"amplitude", h.amplitude},
                            {"phase_deg", h.phase * degrees_per_radian}});
        }
    }
    outcome result = with_verdict(std::move(r), f, tol);

    if (plot_out) {
        vantor::actual profile(static_cast<int>(a.profile().size()));
        for (const vantor::profile_sample& s : a.profile()) profile.append(a.point_of(s));
        roundness_chart chart{in.name, p.ront, title, p.circle, {}};
        for (const criterion_names& c : criteria()) {
            const vantor::ron_parameters& q = a.parameters(c.id);
            chart.circles.push_back({c.abbreviation, c.title, q.circle, q.ront, ""});
        }
        const std::string note = cutoff > 0 ? "Filter " + svg::plain(cutoff) + " UPR" : "No filter";
        result.data["plot"] = write_chart(profile, chart, {in.unit, note}, *plot_out);
    }
    if (spectrum_out) {
        write_content(*spectrum_out, draw_spectrum_plot({in.name, a.spectrum(), cutoff, in.unit}),
                      "cannot write the spectrum");
        result.data["spectrum"] = {{"file", spectrum_out->target()}};
    }
    return result;
}

// The form value of `name` about the reference element of criterion c fitted to the points under
// the options (for roundness, along the direction when one is given).
reference_form fitted_form(const point_file& in, const char* name, vantor::criterion c,
                           const vantor::fit_options& options,
                           const std::optional<spanto::vector>& direction = std::nullopt) {
    return in_file(in,
                   [&] { return form_about_reference(*in.points, name, c, direction, options); });
}

// The report of a form command without a datum, with the verdict from a feature of the same type
// that carries the value. `direction_from` says where a fitted circle's axis came from.
template <typename Feature>
outcome about_reference(const point_file& in, const char* name, const reference_form& form,
                        const tolerance& tol, const char* direction_from = nullptr) {
    Feature f(form.value);
    report r = form_report(in, name, f);
    add_extremes(r, form.extremes, form.minimum, form.maximum);
    r["reference"] = form.reference;
    if (direction_from != nullptr) r["direction_from"] = direction_from;
    r["datum"] = std::visit([](const auto& e) { return to_report(e); }, form.datum);
    if (form.proof) r["proof"] = proof_json(*form.proof);
    add_outliers(r, form.outliers);
    return with_verdict(std::move(r), f, tol);
}

}  // namespace

report info(const point_file& in) {
    report r = file_summary(in);
    r["format"] = vantor::point_format_name(in.format);
    spanto::point lo, hi;
    if (in.points->bbox(lo, hi, false)) {
        r["bounding_box"] = {{"min", to_report(lo)}, {"max", to_report(hi)}};
    }
    r["centroid"] = to_report(centroid(*in.points));
    if (in.element) {
        r["created"] = stamp_text(in.points->creationdate(), in.points->creationtime());
    }
    return r;
}

report circle(const point_file& in, const std::optional<spanto::vector>& direction,
              const std::vector<vantor::criterion>& wanted) {
    report circles = report::object();
    spanto::vector normal;
    std::string first_failure;
    bool valid = false;
    for (const criterion_names& c : criteria()) {
        if (std::find(wanted.begin(), wanted.end(), c.id) == wanted.end()) continue;
        const fit_outcome f = fit_element(*in.points, element_kind::circle, c.id, direction);
        if (!f.report.valid()) {
            if (first_failure.empty()) {
                first_failure =
                    in.name + ": " + reference_name(c.id, "circle") + ": " + f.report.error;
            }
            circles[c.option] = {{"valid", false},
                                 {"status", vantor::status_name(f.report.status)},
                                 {"error", f.report.error}};
            continue;
        }
        valid = true;
        const spanto::circle& fitted = std::get<spanto::circle>(f.element);
        normal = fitted.normal;
        circles[c.option] = {{"status", vantor::status_name(f.report.status)},
                             {"centre", to_report(fitted.centre)},
                             {"normal", to_report(fitted.normal)},
                             {"radius", fitted.radius},
                             {"deviation", f.report.deviation}};
        add_outliers(circles[c.option], f.report.outliers);
    }
    if (!valid) throw error(first_failure);
    report r = file_summary(in);
    r["direction"] = to_report(direction ? *direction : normal);
    r["direction_from"] = direction_source(direction);
    r["circles"] = std::move(circles);
    return r;
}

report fit(const point_file& in, element_kind element, const std::vector<vantor::criterion>& wanted,
           const std::optional<spanto::vector>& direction, const vantor::fit_options& options) {
    report r = file_summary(in);
    r["element"] = names_of(element).name;
    report& fits = r["fits"] = report::object();
    for (const criterion_names& c : criteria()) {
        if (std::find(wanted.begin(), wanted.end(), c.id) == wanted.end()) continue;
        fits[c.option] =
            fit_json(fit_element(*in.points, element, c.id, direction, options).report);
    }
    return r;
}

std::vector<std::string> failed_fits(const report& r) {
    std::vector<std::string> failures;
    const bool circles = r.contains("circles");
    const std::string element = circles ? "circle" : r.at("element").get<std::string>();
    const report& fits = r.at(circles ? "circles" : "fits");
    for (const criterion_names& c : criteria()) {
        const auto f = fits.find(c.option);
        if (f == fits.end() || f->value("valid", true)) continue;
        failures.push_back(r.at("file").get<std::string>() + ": " + reference_name(c.id, element) +
                           ": " + f->at("error").get<std::string>());
    }
    return failures;
}

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

// The roundness of one profile without the analysis options (see roundness()).
outcome unanalysed_roundness(const point_file& in, const roundness_datum& datum,
                             const tolerance& tol, const roundness_options& options,
                             output_file* plot_out) {
    if (fitted_datum(datum)) {
        const std::optional<spanto::vector> direction = given_direction(datum);
        const reference_form form =
            fitted_form(in, "roundness", default_reference, options.fit, direction);
        outcome result = about_reference<vantor::roundness>(in, "roundness", form, tol,
                                                            direction_source(direction));
        if (plot_out) {
            result.data["plot"] =
                plot_roundness(in, form.value, form.reference, std::get<spanto::circle>(form.datum),
                               fitted_circles(in, direction, options.fit), *plot_out);
        }
        return result;
    }

    const vantor::actual& points = *in.points;
    vantor::roundness f;
    spanto::circle reference;  // the circle the deviations are measured from
    std::string reference_name;
    report measured_against;
    bool keeps_radii = true;  // the evaluation about an axis keeps the extreme distances
    if (const auto* given = std::get_if<spanto::circle>(&datum)) {
        f.compute(points, *given);
        reference = *given;
        reference_name = "given circle";
        measured_against = datum_report(f.datum(), *given);
        keeps_radii = false;
    } else {
        const spanto::line& line = std::get<spanto::line>(datum);
        f.compute(points, line);
        reference = spanto::circle(line.nearest(centroid(points)), line.direction,
                                   (f.minvalue() + f.maxvalue()) / 2);
        reference_name = "circle about the given axis";
        measured_against = to_report(line);
    }
    report r = form_report(in, "roundness", f);
    if (keeps_radii) add_extremes(r, "radius", f.minvalue(), f.maxvalue());
    r["reference"] = reference_name;
    r["datum"] = measured_against;
    add_outliers(r, vantor::outliers_about(points, reference));
    outcome result = with_verdict(std::move(r), f, tol);
    if (plot_out) {
        result.data["plot"] = plot_roundness(in, f.value(), reference_name, reference,
                                             substitute_circles(in, reference.normal), *plot_out);
    }
    return result;
}

// The roundness of one profile (see roundness()).
outcome profile_roundness(const point_file& in, const roundness_datum& datum, const tolerance& tol,
                          const std::optional<plot_request>& plot,
                          const roundness_options& options) {
    // Prepared first; one that is refused (it exists) is left out, and the report still given.
    std::vector<std::string> refused;
    const auto prepare = [&](const std::optional<plot_request>& request) {
        std::unique_ptr<output_file> prepared;
        try {
            if (request) prepared = std::make_unique<output_file>(request->path, request->force);
        } catch (const error& e) {
            refused.push_back(e.what());
        }
        return prepared;
    };
    const std::unique_ptr<output_file> plot_out = prepare(plot);
    const std::unique_ptr<output_file> spectrum_out = prepare(options.spectrum);
    outcome result =
        options.analysed()
            ? analysed_roundness(in, datum, tol, options, plot_out.get(), spectrum_out.get())
            : unanalysed_roundness(in, datum, tol, options, plot_out.get());
    result.refused = std::move(refused);
    return result;
}

// The points split along the datum's axis, or along their own without a datum.
vantor::section_split split_along_datum(const point_file& in, const roundness_datum& datum,
                                        const vantor::section_request& request) {
    const vantor::actual& points = *in.points;
    if (const auto* given = std::get_if<spanto::circle>(&datum)) {
        return vantor::split_sections(points, given->axisline(), request);
    }
    if (const auto* line = std::get_if<spanto::line>(&datum)) {
        return vantor::split_sections(points, *line, request);
    }
    if (const auto* direction = std::get_if<spanto::vector>(&datum)) {
        return vantor::split_sections(points, *direction, request);
    }
    return vantor::split_sections(points, request);
}

// Each section's roundness, then the largest (see roundness()).
outcome sectioned_roundness(const point_file& in, const roundness_datum& datum,
                            const tolerance& tol, const vantor::section_split& split,
                            const roundness_options& options) {
    report sections = report::array();
    double largest = 0.0;
    std::size_t largest_at = 0;
    int outliers = 0;  // of every section
    for (std::size_t k = 0; k < split.sections.size(); ++k) {
        const vantor::section& s = split.sections[k];
        const std::string name = in.name + " section " + std::to_string(k + 1);
        if (s.spread() > split.limit) {
            throw error(in.name + ": " + split.wide_message(k) +
                        ": cut it with --sections N or AT,AT,...");
        }
        point_file part{
            name,       std::make_unique<vantor::actual>(static_cast<int>(s.rows.size())),
            in.element, in.format,
            0,          in.unit};
        for (const int row : s.rows) part.points->append((*in.points)[row]);
        const outcome o = profile_roundness(part, datum, tolerance(), std::nullopt, options);
        report entry = {{"section", k + 1},
                        {"height", s.height},
                        {"points", s.rows.size()},
                        {"roundness", o.data["value"]}};
        for (const auto& item : o.data.items()) {
            if (!entry.contains(item.key()) && item.key() != "file" && item.key() != "feature" &&
                item.key() != "value" && item.key() != "unit") {
                entry[item.key()] = item.value();
            }
        }
        outliers += o.data.value("outliers", 0);
        sections.push_back(std::move(entry));
        if (k == 0 || o.data["value"].get<double>() > largest) {
            largest = o.data["value"].get<double>();
            largest_at = k;
        }
    }
    vantor::roundness f(largest);
    report r = form_report(in, "roundness", f);
    r["axis"] = to_report(split.axis);
    r["sections"] = std::move(sections);
    r.erase("value");  // after the sections, with the section it comes from
    r["value"] = largest;
    r["largest_section"] = largest_at + 1;
    add_outliers(r, outliers);
    return with_verdict(std::move(r), f, tol);
}

}  // namespace

outcome roundness(const point_file& in, const roundness_datum& datum, const tolerance& tol,
                  const std::optional<plot_request>& plot, const roundness_options& options) {
    const vantor::section_split split =
        split_along_datum(in, datum, options.sections.value_or(vantor::section_request()));
    if (options.sections) {
        if (!split.valid()) throw error(in.name + ": " + split.error);
        return sectioned_roundness(in, datum, tol, split, options);
    }
    // Points that give no axis to measure their spread by (too few, on one line, on the datum
    // axis) fail the evaluation below, which says why as it always has.
    if (split.valid() && split.first_wide() == 0) {
        throw error(in.name + ": " + split.wide_message(0) +
                    ": split them into profiles with --sections auto, N or AT,AT,...");
    }
    return profile_roundness(in, datum, tol, plot, options);
}

output_kind output_format(const std::string& out, const std::optional<output_kind>& to) {
    if (to) return *to;
    if (out == "-") return output_kind::text;
    const std::size_t dot = out.rfind('.');
    if (dot == std::string::npos || out.find('/', dot) != std::string::npos) {
        return output_kind::element;
    }
    std::string extension = out.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == "txt" || extension == "csv" || extension == "xyz") return output_kind::text;
    if (extension == "ply") return output_kind::ply;
    if (extension == "stl" || extension == "pcd" || extension == "obj") {
        throw error(out +
                    ": convert writes text (.txt, .csv, .xyz), PLY (.ply) or an element file "
                    "(any other name), not ." +
                    extension);
    }
    return output_kind::element;
}

report convert(const std::string& in, const vantor::read_options& input, const std::string& out,
               const std::optional<output_kind>& to, bool force) {
    const output_kind format = output_format(out, to);
    if (out == "-") {
        if (format != output_kind::text) {
            throw error(std::string(format == output_kind::ply ? "a PLY file" : "an element file") +
                        " is written to a named file, not to standard output");
        }
        const point_file source = read_points(in, input);
        const int left_out = write_text_points(*source.points, stdout);
        if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
            throw system_failure("standard output", "cannot write");
        }
        report r = nullptr;
        if (left_out > 0) r["points_left_out"] = left_out;
        return r;
    }
    output_file target(out, force);
    const point_file source = read_points(in, input);
    report r = file_summary(source);
    r["written"] = out;
    const bool text = format == output_kind::text;
    const int left_out = format == output_kind::ply ? write_ply_points(*source.points, target)
                                                    : write_points(*source.points, target, text);
    r["format"] = text ? "text" : format == output_kind::ply ? "ply" : "element";
    if (left_out > 0) r["points_left_out"] = left_out;
    return r;
}

namespace {

// The report of a filtered form, its parameters named `prefix` t, p, v, q, followed by `about`
// (the datum and what else describes the reference).
template <typename Feature>
outcome filtered_report(const point_file& in, const char* name, const std::string& prefix,
                        const vantor::filtered_profile& p, const report& about,
                        const tolerance& tol) {
    if (!p.valid()) throw error(in.name + ": " + name + ": " + p.error);
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

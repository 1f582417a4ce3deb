// SPDX-License-Identifier: Apache-2.0
#include "roundness_command.h"

#include <cmath>
#include <memory>

#include <vantor/feature.h>
#include <vantor/substitute.h>

#include "error.h"
#include "fits.h"
#include "output_file.h"
#include "roundness_plot.h"
#include "spectrum_plot.h"
#include "svg.h"

namespace vantor::cli {
namespace {

constexpr double degrees_per_radian = 180.0 / 3.14159265358979323846;

// The library fits inscribed and circumscribed circles exactly on closed profiles only.
constexpr const char* open_profile_note = "open profile: not the exact optimum";

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
    for (const vantor::criterion_info& c : vantor::criteria()) {
        vantor::substitute s;
        const spanto::circle circle =
            s.circle(*in.points, direction, vantor::subtype_of(c.criterion));
        if (circle.invalid()) {
            throw error(in.name + ": the " + c.title + " circle could not be fitted");
        }
        const bool minimax = c.criterion == vantor::criterion::inscribed ||
                             c.criterion == vantor::criterion::circumscribed;
        const bool exact =
            !minimax || vantor::closed_profile(*in.points, circle.centre, circle.normal);
        circles.push_back(
            {c.circle, c.title, circle, s.deviation(), exact ? "" : open_profile_note});
    }
    return circles;
}

// The four reference circles of the plot about a fitted circle: the fitting interface's along
// the same direction; one it cannot fit is noted and left invalid (the chart leaves it out).
std::vector<chart_circle> fitted_circles(const point_file& in,
                                         const std::optional<spanto::vector>& direction,
                                         const vantor::fit_options& options) {
    std::vector<chart_circle> circles;
    for (const vantor::criterion_info& c : vantor::criteria()) {
        const fitted f =
            fit_element(*in.points, element_kind::circle, c.criterion, direction, options);
        const std::string note = f.valid() ? "" : "not determined: " + f.error;
        circles.push_back(
            {c.circle, c.title, std::get<spanto::circle>(f.element), f.deviation, note});
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
    const fitted f = fit_element(*in.points, element_kind::circle, centred, given_direction(datum));
    if (!f.valid()) {
        throw error(in.name + ": " + reference_name(centred, "circle") + ": " + f.error, f.status);
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
    if (!a.valid()) throw error(in.name + ": " + a.error(), a.status());

    const auto* given_circle = std::get_if<spanto::circle>(&datum);
    const auto* given_line = std::get_if<spanto::line>(&datum);
    vantor::ron_parameters p;
    std::string name;   // in the report
    std::string title;  // on the plot
    if (options.reference) {
        p = a.parameters(*options.reference);
        name = vantor::criterion_name(*options.reference);
        title = reference_name(*options.reference, "circle");
    } else if (given_circle) {
        p = a.about(*given_circle);
        name = title = "given circle";
    } else if (given_line) {
        p = a.about(spanto::circle(a.origin(), axis.direction, a.mean_radius()));
        name = title = "circle about the given axis";
    } else {
        p = a.parameters(default_reference);
        name = vantor::criterion_name(default_reference);
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
        for (const vantor::criterion_info& c : vantor::criteria()) {
            const vantor::ron_parameters& q = a.parameters(c.criterion);
            chart.circles.push_back({c.circle, c.title, q.circle, q.ront, ""});
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
        if (!split.valid()) throw error(in.name + ": " + split.error, split.status);
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

}  // namespace vantor::cli

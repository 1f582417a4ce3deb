#include "commands.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <memory>

#include <vantor/feature.h>

#include "error.h"
#include "output_file.h"
#include "roundness_plot.h"
#include "spectrum_plot.h"
#include "svg.h"

namespace vantor::cli {
namespace {

constexpr double degrees_per_radian = 180.0 / 3.14159265358979323846;

report file_summary(const point_file& in) {
    return {{"file", in.name}, {"points", in.points->numpoints()}};
}

spanto::point centroid(const vantor::actual& points) {
    return vantor::substitute().point(points, vantor::substitute::gauss);
}

// The normal of the circle through three extremum points of the set: the direction a circle fit
// takes when none is given.
spanto::vector extremum_normal(const point_file& in) {
    spanto::point p1, p2, p3;
    if (!in.points->ExtremumPoints(p1, p2, p3)) {
        throw error(in.name + ": a circle needs three distinct points");
    }
    const spanto::circle through(p1, p2, p3);
    if (through.invalid()) {
        throw error(in.name + ": the extremum points lie on a line; give --direction");
    }
    return through.normal;
}

struct fitted_circle {
    spanto::circle circle;
    double deviation;
    std::string note;  // what a reader must know about the circle; empty for most
};

// The library fits inscribed and circumscribed circles exactly on closed profiles only.
constexpr const char* open_profile_note = "open profile: not the exact optimum";

fitted_circle fit(const point_file& in, const spanto::vector& direction,
                  const criterion_names& criterion) {
    vantor::substitute s;
    const spanto::circle c = s.circle(*in.points, direction, criterion.type);
    if (c.invalid()) {
        throw error(in.name + ": the " + criterion.title + " circle could not be fitted");
    }
    const bool minimax = criterion.type == vantor::substitute::inscribed ||
                         criterion.type == vantor::substitute::circumscribed;
    const bool exact = !minimax || vantor::closed_profile(*in.points, c.centre, c.normal);
    return {c, s.deviation(), exact ? "" : open_profile_note};
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
    outcome result{std::move(r), true};
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

// Writes `content` into the prepared output and gives it its name.
void write_output(output_file& out, const std::string& content, const char* what) {
    std::FILE* f = std::fopen(out.temp_path().c_str(), "wb");
    const bool written =
        f != nullptr && std::fwrite(content.data(), 1, content.size(), f) == content.size();
    if (f == nullptr || std::fclose(f) != 0 || !written) {
        throw error(out.target() + ": cannot write the " + what);
    }
    out.commit();
}

report write_chart(const vantor::actual& points, const roundness_chart& chart,
                   const chart_labels& labels, output_file& out) {
    const roundness_svg svg = draw_roundness_plot(points, chart, labels);
    write_output(out, svg.text, "plot");
    return {{"file", out.target()}, {"magnification", whole_or_not(svg.magnification)}};
}

// Draws the roundness plot about `reference` and writes it to the prepared output.
report plot_roundness(const point_file& in, double value, const std::string& reference_name,
                      const spanto::circle& reference, const std::string& unit, output_file& out) {
    roundness_chart chart{in.name, value, reference_name, reference, {}};
    report notes = report::object();
    for (const criterion_names& c : criteria()) {
        const fitted_circle f = fit(in, reference.normal, c);
        chart.circles.push_back({c.abbreviation, c.title, f.circle, f.deviation, f.note});
        if (!f.note.empty()) notes[c.abbreviation] = f.note;
    }
    report r = write_chart(*in.points, chart, {unit, ""}, out);
    r.update(notes);
    return r;
}

void add_unit(report& r, const std::string& unit) {
    if (!unit.empty()) r["unit"] = unit;
}

const criterion_names& names_of(vantor::substitute::subtype type) {
    for (const criterion_names& c : criteria()) {
        if (c.type == type) return c;
    }
    throw error("unknown criterion");
}

// The axis the roundness command measures about: the given circle's, the given line, or the
// axis of the least-squares circle fitted along the direction (by default the extremum normal).
spanto::line datum_axis(const point_file& in, const roundness_datum& datum) {
    if (const auto* given = std::get_if<spanto::circle>(&datum)) return given->axisline();
    if (const auto* line = std::get_if<spanto::line>(&datum)) return *line;
    const auto* direction = std::get_if<spanto::vector>(&datum);
    vantor::roundness f;
    f.compute(*in.points, direction ? *direction : extremum_normal(in));
    if (f.datum().invalid()) {
        throw error(in.name + ": the least-squares circle could not be fitted");
    }
    return f.datum().axisline();
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
        const criterion_names& c = names_of(*options.reference);
        p = a.parameters(analysis_criterion(c));
        name = c.option;
        title = c.circle;
    } else if (given_circle) {
        p = a.about(*given_circle);
        name = title = "given circle";
    } else if (given_line) {
        p = a.about(spanto::circle(a.origin(), axis.direction, a.mean_radius()));
        name = title = "circle about the given axis";
    } else {
        p = a.parameters(vantor::criterion::gauss);
        name = criteria()[0].option;
        title = criteria()[0].circle;
    }

    vantor::roundness f(p.ront);  // carries the value and the tolerance for the verdict
    report r = form_report(in, "roundness", f);
    add_unit(r, options.unit);
    r["reference"] = name;
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
            const vantor::ron_parameters& q = a.parameters(analysis_criterion(c));
            chart.circles.push_back({c.abbreviation, c.title, q.circle, q.ront, ""});
        }
        const std::string note = cutoff > 0 ? "Filter " + svg::plain(cutoff) + " UPR" : "No filter";
        result.data["plot"] = write_chart(profile, chart, {options.unit, note}, *plot_out);
    }
    if (spectrum_out) {
        write_output(*spectrum_out,
                     draw_spectrum_plot({in.name, a.spectrum(), cutoff, options.unit}), "spectrum");
        result.data["spectrum"] = {{"file", spectrum_out->target()}};
    }
    return result;
}

}  // namespace

const std::array<criterion_names, 4>& criteria() {
    static const std::array<criterion_names, 4> names = {{
        {vantor::substitute::gauss, "gauss", "LSC", "least squares", "least-squares circle"},
        {vantor::substitute::zone, "zone", "MZC", "minimum zone", "minimum-zone circle"},
        {vantor::substitute::inscribed, "inscribed", "MIC", "maximum inscribed",
         "maximum-inscribed circle"},
        {vantor::substitute::circumscribed, "circumscribed", "MCC", "minimum circumscribed",
         "minimum-circumscribed circle"},
    }};
    return names;
}

vantor::criterion analysis_criterion(const criterion_names& c) {
    return static_cast<vantor::criterion>(static_cast<int>(c.type));
}

report info(const point_file& in) {
    report r = file_summary(in);
    r["format"] = in.element ? "element" : "text";
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
              const std::vector<vantor::substitute::subtype>& types) {
    const spanto::vector axis = direction ? *direction : extremum_normal(in);
    report r = file_summary(in);
    r["direction"] = to_report(axis);
    r["direction_from"] = direction ? "--direction" : "extremum points";
    report& circles = r["circles"] = report::object();
    for (const criterion_names& c : criteria()) {
        bool wanted = false;
        for (const auto type : types) wanted = wanted || type == c.type;
        if (!wanted) continue;
        const fitted_circle f = fit(in, axis, c);
        report& fitted = circles[c.option] = {{"centre", to_report(f.circle.centre)},
                                              {"normal", to_report(f.circle.normal)},
                                              {"radius", f.circle.radius},
                                              {"deviation", f.deviation}};
        if (!f.note.empty()) fitted["note"] = f.note;
    }
    return r;
}

outcome flatness(const point_file& in, const std::variant<spanto::plane, spanto::vector>& datum,
                 const tolerance& tol) {
    vantor::flatness f;
    std::visit([&](const auto& d) { f.compute(*in.points, d); }, datum);
    report r = form_report(in, "flatness", f);
    add_extremes(r, "deviation", f.minvalue(), f.maxvalue());
    r["datum"] = to_report(f.datum());
    return with_verdict(std::move(r), f, tol);
}

outcome straightness(const point_file& in, const spanto::line& line, const tolerance& tol) {
    vantor::straightness f(*in.points, line);
    report r = form_report(in, "straightness", f);
    add_extremes(r, "diameter", f.minvalue(), f.maxvalue());
    r["datum"] = datum_report(f.datum(), line);
    return with_verdict(std::move(r), f, tol);
}

outcome sphericity(const point_file& in, const std::variant<spanto::sphere, spanto::point>& datum,
                   const tolerance& tol) {
    vantor::sphereicity f;
    report r;
    if (const auto* centre = std::get_if<spanto::point>(&datum)) {
        f.compute(*in.points, *centre);
        r = form_report(in, "sphericity", f);
        add_extremes(r, "radius", f.minvalue(), f.maxvalue());
        r["datum"] = {{"centre", to_report(*centre)}};
    } else {
        const auto& sphere = std::get<spanto::sphere>(datum);
        f.compute(*in.points, sphere);
        r = form_report(in, "sphericity", f);
        r["datum"] = datum_report(f.datum(), sphere);
    }
    return with_verdict(std::move(r), f, tol);
}

outcome cylindricity(const point_file& in, const spanto::cylinder& cylinder, const tolerance& tol) {
    vantor::cylindricity f(*in.points, cylinder);
    report r = form_report(in, "cylindricity", f);
    r["datum"] = datum_report(f.datum(), cylinder);
    return with_verdict(std::move(r), f, tol);
}

outcome conicity(const point_file& in, const std::variant<spanto::cone, spanto::axis>& datum,
                 const tolerance& tol) {
    vantor::coneicity f;
    std::visit([&](const auto& d) { f.compute(*in.points, d); }, datum);
    report r = form_report(in, "conicity", f);
    add_extremes(r, "deviation", f.minvalue(), f.maxvalue());
    r["datum"] = to_report(f.datum());
    return with_verdict(std::move(r), f, tol);
}

outcome roundness(const point_file& in, const roundness_datum& datum, const tolerance& tol,
                  const std::optional<plot_request>& plot, const roundness_options& options) {
    // Prepared first, so that an existing output file stops the command before any work.
    std::unique_ptr<output_file> plot_out, spectrum_out;
    if (plot) plot_out = std::make_unique<output_file>(plot->path, plot->force);
    if (options.spectrum) {
        spectrum_out =
            std::make_unique<output_file>(options.spectrum->path, options.spectrum->force);
    }
    if (options.analysed()) {
        return analysed_roundness(in, datum, tol, options, plot_out.get(), spectrum_out.get());
    }

    const vantor::actual& points = *in.points;
    vantor::roundness f;
    spanto::circle reference;  // the circle the deviations are measured from
    std::string reference_name;
    report measured_against;
    bool keeps_radii = true;  // the evaluations about an axis keep the extreme distances
    if (const auto* given = std::get_if<spanto::circle>(&datum)) {
        f.compute(points, *given);
        reference = *given;
        reference_name = "given circle";
        measured_against = datum_report(f.datum(), *given);
        keeps_radii = false;
    } else if (const auto* line = std::get_if<spanto::line>(&datum)) {
        f.compute(points, *line);
        reference = spanto::circle(line->nearest(centroid(points)), line->direction,
                                   (f.minvalue() + f.maxvalue()) / 2);
        reference_name = "circle about the given axis";
        measured_against = to_report(*line);
    } else {
        const auto* given = std::get_if<spanto::vector>(&datum);
        f.compute(points, given ? *given : extremum_normal(in));
        if (f.datum().invalid()) {
            throw error(in.name + ": the least-squares circle could not be fitted");
        }
        reference = f.datum();
        reference_name = "least-squares circle";
        measured_against = to_report(f.datum());
    }
    report r = form_report(in, "roundness", f);
    add_unit(r, options.unit);
    if (keeps_radii) add_extremes(r, "radius", f.minvalue(), f.maxvalue());
    r["reference"] = reference_name;
    r["datum"] = measured_against;
    outcome result = with_verdict(std::move(r), f, tol);
    if (plot_out) {
        result.data["plot"] =
            plot_roundness(in, f.value(), reference_name, reference, options.unit, *plot_out);
    }
    return result;
}

point_format output_format(const std::string& out, const std::optional<point_format>& to) {
    if (to) return *to;
    if (out == "-") return point_format::text;
    const std::size_t dot = out.rfind('.');
    if (dot == std::string::npos || out.find('/', dot) != std::string::npos) {
        return point_format::element;
    }
    std::string extension = out.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const bool text = extension == "txt" || extension == "csv" || extension == "xyz";
    return text ? point_format::text : point_format::element;
}

report convert(const std::string& in, const std::string& out, const std::optional<point_format>& to,
               bool force) {
    const point_format format = output_format(out, to);
    if (out == "-") {
        if (format == point_format::element) {
            throw error("an element file is written to a named file, not to standard output");
        }
        const point_file source = read_points(in);
        const int left_out = write_text_points(*source.points, stdout);
        if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
            throw error("standard output: cannot write");
        }
        report r = nullptr;
        if (left_out > 0) r["points_left_out"] = left_out;
        return r;
    }
    output_file target(out, force);
    const point_file source = read_points(in);
    report r = file_summary(source);
    r["written"] = out;
    const bool text = format == point_format::text;
    const int left_out = write_points(*source.points, target, text);
    r["format"] = text ? "text" : "element";
    if (left_out > 0) r["points_left_out"] = left_out;
    return r;
}

}  // namespace vantor::cli

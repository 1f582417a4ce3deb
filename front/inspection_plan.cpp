// SPDX-License-Identifier: Apache-2.0
#include "inspection_plan.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <utility>

#include "error.h"
#include "point_file.h"
#include "units.h"

namespace vantor::cli {
namespace {

namespace fs = std::filesystem;

// Fails unless `entry` (an object) has only members among `allowed`.
void only(const json_lines& doc, const std::string& pointer, const report& entry,
          const std::set<std::string>& allowed, const std::string& what) {
    for (const auto& [key, value] : entry.items()) {
        (void)value;
        if (allowed.count(key) == 0) {
            std::string names;
            for (const std::string& a : allowed) names += (names.empty() ? "" : ", ") + a;
            throw error(doc.at(member_pointer(pointer, key),
                               what + ": unknown member \"" + key + "\" (it takes " + names + ")"));
        }
    }
}

std::string plan_directory(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

// The features of the plan, each with its points (a file read once however many features use it).
std::map<std::string, plan_feature> read_features(const json_lines& doc) {
    const report& all = doc.value.at("features");
    if (!all.is_object() || all.empty())
        throw error(doc.at("/features", "\"features\" must be an object naming the features"));
    const std::string base = plan_directory(doc.name);
    struct file_points {
        std::shared_ptr<const vantor::actual> points;
        long long nan_rows = 0;
    };
    std::map<std::string, file_points> files;
    std::map<std::string, plan_feature> features;
    for (const auto& [name, entry] : all.items()) {
        const std::string at = member_pointer("/features", name);
        const std::string what = "feature " + name;
        const auto fail = [&](const std::string& key, const std::string& message) {
            throw error(doc.at(key.empty() ? at : member_pointer(at, key), what + ": " + message));
        };
        if (name.empty() || name.find('|') != std::string::npos)
            fail("", "a feature's name must not be empty nor hold '|'");
        if (!entry.is_object()) fail("", "must be an object");
        only(doc, at, entry, {"points", "rows", "element", "outward", "side", "sections", "note"},
             what);
        plan_feature f;
        f.name = name;
        f.pointer = at;

        if (!entry.contains("element") || !entry.at("element").is_string())
            fail("element", "needs \"element\": plane, circle, cylinder or sphere");
        const std::string element = entry.at("element").get<std::string>();
        const vantor::element_info* info = vantor::element_named(element);
        if (info == nullptr || info->kind == vantor::element_kind::line ||
            info->kind == vantor::element_kind::cone)
            fail("element",
                 "unknown element \"" + element + "\" (plane, circle, cylinder or sphere)");
        f.element = info->kind;

        if (f.element == vantor::element_kind::plane) {
            const report* o = entry.contains("outward") ? &entry.at("outward") : nullptr;
            if (o == nullptr || !o->is_array() || o->size() != 3 ||
                !std::all_of(o->begin(), o->end(), [](const report& v) { return v.is_number(); }))
                fail("outward", "a plane needs \"outward\": [x, y, z], out of its material");
            f.outward =
                spanto::vector((*o)[0].get<double>(), (*o)[1].get<double>(), (*o)[2].get<double>());
            if (entry.contains("side")) fail("side", "a plane takes \"outward\", not \"side\"");
        } else {
            if (!entry.contains("side") || !entry.at("side").is_string() ||
                (entry.at("side") != "hole" && entry.at("side") != "shaft"))
                fail("side", "a " + element + " needs \"side\": \"hole\" or \"shaft\"");
            f.side = entry.at("side") == "hole" ? vantor::feature_side::hole
                                                : vantor::feature_side::shaft;
            if (entry.contains("outward")) fail("outward", "only a plane takes \"outward\"");
        }
        if (entry.contains("sections")) {
            const report& s = entry.at("sections");
            if (f.element != vantor::element_kind::cylinder)
                fail("sections", "only a cylinder is cut into sections");
            if (!s.is_number_integer() || s.get<long long>() < 2 || s.get<long long>() > 100000)
                fail("sections", "\"sections\" must be a whole number from 2");
            f.sections.how = vantor::section_request::rule::count;
            f.sections.count = s.get<int>();
        } else {
            f.sections.how = f.element == vantor::element_kind::cylinder
                                 ? vantor::section_request::rule::gaps
                                 : vantor::section_request::rule::whole;
        }

        if (!entry.contains("points") || !entry.at("points").is_string())
            fail("points", "needs \"points\": the point file, relative to the plan");
        const std::string file = entry.at("points").get<std::string>();
        const std::string path = fs::path(file).is_absolute() ? file : base + "/" + file;
        file_points& read = files[path];
        if (!read.points) {
            point_file in = read_points(path);
            read.points = std::shared_ptr<const vantor::actual>(std::move(in.points));
            read.nan_rows = in.nan_rows;
        }
        const std::shared_ptr<const vantor::actual>& points = read.points;
        f.points = points;
        if (entry.contains("rows")) {
            const report& r = entry.at("rows");
            // Rows count the points read; rows left out for a NaN coordinate would shift them.
            if (read.nan_rows > 0)
                fail("rows", file +
                                 " has rows with a NaN coordinate, which would shift \"rows\"; "
                                 "give the feature a file of its own");
            const long long n = points->numpoints();
            if (!r.is_array() || r.size() != 2 || !r[0].is_number_integer() ||
                !r[1].is_number_integer() || r[0].get<long long>() < 1 ||
                r[1].get<long long>() < r[0].get<long long>() || r[1].get<long long>() > n)
                fail("rows", "\"rows\" must be [first, last], from 1 to the " + std::to_string(n) +
                                 " points of " + file);
            f.points = std::make_shared<const vantor::actual>(
                *points, static_cast<int>(r[0].get<long long>() - 1),
                static_cast<int>(r[1].get<long long>() - 1));
        }
        features.emplace(name, std::move(f));
    }
    return features;
}

const plan_feature& feature_named(const json_lines& doc,
                                  const std::map<std::string, plan_feature>& all,
                                  const std::string& pointer, const std::string& name,
                                  const std::string& what) {
    const auto found = all.find(name);
    if (found == all.end())
        throw error(doc.at(pointer, what + ": no feature is called \"" + name + "\""));
    return found->second;
}

// "A|B|C": each datum a feature, or two joined by '-' (a common datum) when no feature has
// that name.
std::vector<std::vector<const plan_feature*>> datums_of(
    const json_lines& doc, const std::map<std::string, plan_feature>& all,
    const std::string& pointer, const std::string& text, const std::string& what) {
    std::vector<std::vector<const plan_feature*>> datums;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = text.find('|', start);
        const std::string token = text.substr(start, bar == std::string::npos ? bar : bar - start);
        std::vector<const plan_feature*> datum;
        const std::size_t dash = token.find('-');
        if (all.count(token) != 0 || dash == std::string::npos) {
            datum.push_back(&feature_named(doc, all, pointer, token, what));
        } else {
            datum.push_back(&feature_named(doc, all, pointer, token.substr(0, dash), what));
            datum.push_back(&feature_named(doc, all, pointer, token.substr(dash + 1), what));
        }
        datums.push_back(datum);
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    return datums;
}

}  // namespace

inspection_plan::inspection_plan(const std::string& path)
    : inspection_plan(read_json_lines(path)) {}

inspection_plan::inspection_plan(json_lines doc) : doc_(std::move(doc)) {
    const report& top = doc_.value;
    if (!top.is_object()) throw error(doc_.at("", "a plan must be a JSON object"));
    only(doc_, "", top, {"unit", "features", "tolerances", "note"}, "the plan");
    if (top.contains("unit")) {
        const report& u = top.at("unit");
        if (!u.is_string() || unit_named(u.get<std::string>()) == nullptr)
            throw error(doc_.at("/unit", "\"unit\" must be one of " + unit_names()));
        unit_ = unit_named(u.get<std::string>())->name;
    }
    if (!top.contains("features")) throw error(doc_.at("", "a plan needs \"features\""));
    if (!top.contains("tolerances") || !top.at("tolerances").is_array() ||
        top.at("tolerances").empty())
        throw error(doc_.at("/tolerances", "a plan needs \"tolerances\": a list of them"));
    features_ = read_features(doc_);

    const report& all = top.at("tolerances");
    for (std::size_t k = 0; k < all.size(); ++k) {
        plan_tolerance t;
        t.pointer = element_pointer("/tolerances", k);
        const report& entry = all[k];
        const std::string what = "tolerance " + std::to_string(k + 1);
        if (!entry.is_object() || !entry.contains("tolerance") ||
            !entry.at("tolerance").is_string())
            throw error(doc_.at(t.pointer, what + ": needs \"tolerance\": its name"));
        t.type = entry.at("tolerance").get<std::string>();
        const std::string pf = member_pointer(t.pointer, "feature");
        const report* feature = entry.contains("feature") ? &entry.at("feature") : nullptr;
        if (feature != nullptr && feature->is_string()) {
            t.features.push_back(
                &feature_named(doc_, features_, pf, feature->get<std::string>(), t.type));
        } else if (feature != nullptr && feature->is_array()) {
            for (const report& f : *feature) {
                if (!f.is_string())
                    throw error(doc_.at(pf, t.type + ": a feature is named by a string"));
                t.features.push_back(
                    &feature_named(doc_, features_, pf, f.get<std::string>(), t.type));
            }
        }
        if (t.features.empty())
            throw error(doc_.at(t.pointer, t.type + ": needs \"feature\": the feature's name"));
        if (entry.contains("datums")) {
            const report& d = entry.at("datums");
            const std::string pd = member_pointer(t.pointer, "datums");
            if (!d.is_string() || d.get<std::string>().empty())
                throw error(
                    doc_.at(pd, t.type + ": \"datums\" must be a string such as \"A|B|C\""));
            t.datum_text = d.get<std::string>();
            t.datums = datums_of(doc_, features_, pd, t.datum_text, t.type);
        }
        tolerances_.push_back(std::move(t));
    }
}

void inspection_plan::fail(const plan_tolerance& t, const std::string& key,
                           const std::string& message, vantor::status code) const {
    std::string names;
    for (const plan_feature* f : t.features) names += (names.empty() ? "" : " and ") + f->name;
    throw error(doc_.at(key.empty() ? t.pointer : member_pointer(t.pointer, key),
                        t.type + " of " + names + ": " + message),
                code);
}

const report& inspection_plan::member(const plan_tolerance& t, const std::string& key) const {
    return doc_.value.at(report::json_pointer(t.pointer)).at(key);
}

std::optional<double> inspection_plan::optional_number(const plan_tolerance& t,
                                                       const std::string& key, double least) const {
    const report& entry = doc_.value.at(report::json_pointer(t.pointer));
    if (!entry.contains(key)) return std::nullopt;
    const report& v = entry.at(key);
    if (!v.is_number() || !std::isfinite(v.get<double>()))
        fail(t, key, "\"" + key + "\" must be a number");
    if (!(v.get<double>() >= least))
        fail(t, key, "\"" + key + "\" must not be below " + report(least).dump());
    return v.get<double>();
}

double inspection_plan::number(const plan_tolerance& t, const std::string& key,
                               double least) const {
    const std::optional<double> v = optional_number(t, key, least);
    if (!v) fail(t, "", "needs \"" + key + "\"");
    return *v;
}

std::vector<double> inspection_plan::numbers(const plan_tolerance& t,
                                             const std::string& key) const {
    const report& entry = doc_.value.at(report::json_pointer(t.pointer));
    if (!entry.contains(key)) fail(t, "", "needs \"" + key + "\": a list of numbers");
    const report& v = entry.at(key);
    std::vector<double> out;
    if (v.is_array()) {
        for (const report& x : v) {
            if (!x.is_number() || !std::isfinite(x.get<double>())) break;
            out.push_back(x.get<double>());
        }
    }
    if (out.empty() || out.size() != v.size())
        fail(t, key, "\"" + key + "\" must be a list of numbers");
    return out;
}

std::optional<spanto::vector> inspection_plan::optional_vector(const plan_tolerance& t,
                                                               const std::string& key) const {
    const report& entry = doc_.value.at(report::json_pointer(t.pointer));
    if (!entry.contains(key)) return std::nullopt;
    const std::vector<double> v = numbers(t, key);
    if (v.size() != 3) fail(t, key, "\"" + key + "\" must be three numbers [u, v, w]");
    return spanto::vector(v[0], v[1], v[2]);
}

std::optional<std::string> inspection_plan::optional_string(const plan_tolerance& t,
                                                            const std::string& key) const {
    const report& entry = doc_.value.at(report::json_pointer(t.pointer));
    if (!entry.contains(key)) return std::nullopt;
    if (!member(t, key).is_string()) fail(t, key, "\"" + key + "\" must be a string");
    return member(t, key).get<std::string>();
}

void inspection_plan::expect(const plan_tolerance& t, std::initializer_list<const char*> allowed,
                             int features, int least_datums, int most_datums) const {
    std::set<std::string> keys = {"tolerance", "feature", "datums", "note"};
    for (const char* a : allowed) keys.insert(a);
    only(doc_, t.pointer, doc_.value.at(report::json_pointer(t.pointer)), keys, t.type);
    if (static_cast<int>(t.features.size()) != features)
        fail(t, "feature",
             features == 1 ? "names one feature"
                           : "names " + std::to_string(features) + " features");
    const int n = static_cast<int>(t.datums.size());
    if (n < least_datums || n > most_datums) {
        if (most_datums == 0) fail(t, "datums", "takes no datums");
        if (least_datums == most_datums)
            fail(t, "datums",
                 least_datums == 1 ? "needs one datum"
                                   : "needs " + std::to_string(least_datums) + " datums");
        fail(t, "datums",
             "needs " + std::to_string(least_datums) + " to " + std::to_string(most_datums) +
                 " datums");
    }
}

}  // namespace vantor::cli

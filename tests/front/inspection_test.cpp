// SPDX-License-Identifier: Apache-2.0
// Inspection plans: the flanged part of examples/flange gives the deviations built into it,
// moved or not, and every plan the runner does not allow is refused naming its line.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "error.h"
#include "inspection.h"
#include "point_file.h"
#include "report.h"
#include "support.h"

namespace vantor::cli {
namespace {

using testing::scratch;

const std::string flange = std::string(VANTOR_EXAMPLES_DIR) + "/flange";

// The values examples/flange/generate.py builds in (its README derives them); its noise of
// 0.1 um moves each by well under 1 um.
struct expected_row {
    const char* tolerance;
    const char* feature;
    double value;
};
const double rim = 2.0 * std::hypot(0.010, 8.0 * 0.0005);  // rim axis 10 um off, bore leaning
const expected_row flange_rows[] = {
    {"flatness", "A", 0.002},
    {"parallelism", "T", 100.0 * 0.0003},
    {"perpendicularity", "B", 16.0 * 0.0005},
    {"perpendicularity", "C", 16.0 * 0.0004},
    {"size", "B", 40.012},
    {"size", "B", 40.010},
    {"position", "H1", 2.0 * 0.010},
    {"position", "H2", 2.0 * std::hypot(0.045, 0.060)},
    {"position", "H3", 0.0},
    {"position", "H4", 0.0},
    {"coaxiality", "D", rim},
    {"circular_radial_runout", "D", rim},
    {"total_radial_runout", "D", rim},
    {"total_axial_runout", "T", 100.0 * (0.0003 + 0.0005)},
};

TEST(Inspection, FlangeGivesTheDeviationsBuiltIn) {
    const outcome o = inspect(flange + "/plan.json");
    const report& rows = o.data.at("tolerances");
    ASSERT_EQ(rows.size(), std::size(flange_rows));
    for (std::size_t k = 0; k < rows.size(); ++k) {
        SCOPED_TRACE(rows[k].dump());
        EXPECT_EQ(rows[k].at("tolerance"), flange_rows[k].tolerance);
        EXPECT_EQ(rows[k].at("feature"), flange_rows[k].feature);
        EXPECT_NEAR(rows[k].at("value").get<double>(), flange_rows[k].value, 1e-3);
        EXPECT_EQ(rows[k].at("status"), "ok");
    }
    // H2 lies 75 um from its true position: outside its 0.1 zone, the only one.
    EXPECT_EQ(o.data.at("out"), 1);
    EXPECT_FALSE(rows[7].at("within").get<bool>());
    EXPECT_FALSE(o.within);
}

// The whole part turned and shifted far from the origin, its faces' outward directions with it:
// every value stays, since the true positions are given in the datum frame.
TEST(Inspection, ValuesDoNotMoveWithThePart) {
    const double a = 0.7, b = -1.1;  // rotation about z, then about x
    const auto move = [&](const spanto::vector& v) {
        const double x = std::cos(a) * v.x - std::sin(a) * v.y,
                     y = std::sin(a) * v.x + std::cos(a) * v.y;
        return spanto::vector(x, std::cos(b) * y - std::sin(b) * v.z,
                              std::sin(b) * y + std::cos(b) * v.z);
    };
    const spanto::vector shift(1500.0, -820.0, 310.0);
    report plan = report::parse(testing::read_file(flange + "/plan.json"));
    for (auto& [name, f] : plan.at("features").items()) {
        (void)name;
        const std::string file = f.at("points").get<std::string>();
        const point_file in = read_points(flange + "/" + file);
        vantor::actual moved(in.points->numpoints());
        for (const spanto::point& p : *in.points)
            moved.append(spanto::point(0, 0, 0) + move(p - spanto::point(0, 0, 0)) + shift);
        std::FILE* out = std::fopen(scratch("moved-" + file).c_str(), "w");
        ASSERT_NE(out, nullptr);
        write_text_points(moved, out);
        std::fclose(out);
        f["points"] = "moved-" + file;
        if (f.contains("outward")) {
            const spanto::vector o = move({f["outward"][0], f["outward"][1], f["outward"][2]});
            f["outward"] = {o.x, o.y, o.z};
        }
    }
    testing::write_file(scratch("moved-plan.json"), plan.dump(1));
    const report there = inspect(flange + "/plan.json").data.at("tolerances");
    const report here = inspect(scratch("moved-plan.json")).data.at("tolerances");
    ASSERT_EQ(here.size(), there.size());
    for (std::size_t k = 0; k < here.size(); ++k)
        EXPECT_NEAR(here[k].at("value").get<double>(), there[k].at("value").get<double>(), 2e-6)
            << there[k].dump();
}

// A plan with one feature line and one tolerance line of the case's own; the message names the
// line holding `at` (the case's feature or tolerance).
struct bad_plan {
    const char* feature;    // an extra feature line, or ""
    const char* tolerance;  // the tolerance line
    const char* at;         // a text of the line the message must name
    const char* message;    // a part of the message
};

std::string plan_text(const bad_plan& c) {
    const auto file = [](const char* name) { return "\"" + flange + "/" + name + "\""; };
    std::string text = "{\n  \"unit\": \"mm\",\n  \"features\": {\n";
    text += "    \"A\": {\"points\": " + file("face_a.txt") +
            ", \"element\": \"plane\", \"outward\": [0, 0, -1]},\n";
    text += "    \"B\": {\"points\": " + file("bore_b.txt") +
            ", \"element\": \"cylinder\", \"side\": \"hole\"},\n";
    text += "    \"H1\": {\"points\": " + file("holes.txt") +
            ", \"rows\": [1, 36], \"element\": \"circle\", \"side\": \"hole\"}";
    if (*c.feature != '\0') text += ",\n    " + std::string(c.feature);
    text +=
        "\n  },\n  \"tolerances\": [\n    {\"tolerance\": \"flatness\", \"feature\": \"A\", "
        "\"limit\": 0.01},\n    " +
        std::string(c.tolerance) + "\n  ]\n}\n";
    // c.feature and c.tolerance may hold FLANGE for the example's directory.
    for (std::size_t at; (at = text.find("FLANGE")) != std::string::npos;)
        text.replace(at, 6, flange);
    return text;
}

TEST(Inspection, RefusesBadPlansNamingTheLine) {
    const bad_plan cases[] = {
        {"", R"({"tolerance": "flatnes", "feature": "A", "limit": 0.01})", "\"flatnes\"",
         "unknown tolerance"},
        {"", R"({"tolerance": "flatness", "feature": "Z", "limit": 0.01})", "\"Z\"",
         "no feature is called \"Z\""},
        {"", R"({"tolerance": "parallelism", "feature": "A", "datums": "A|Q", "limit": 0.01})",
         "A|Q", "no feature is called \"Q\""},
        {"", R"({"tolerance": "flatness", "feature": "A", "limt": 0.01})", "limt",
         "unknown member \"limt\""},
        {"", R"({"tolerance": "flatness", "feature": "A"})", "\"A\"}", "needs \"limit\""},
        {"", R"({"tolerance": "flatness", "feature": "B", "limit": 0.01})", "\"B\", \"limit",
         "a cylinder's form is cylindricity"},
        // Datums that do not fix what the tolerance needs.
        {"",
         R"({"tolerance": "position", "feature": "H1", "datums": "A", "at": [30, 30, 0], "limit": 0.1})",
         "\"H1\", \"datums\": \"A\"", "one datum plane fixes only a face"},
        {"",
         R"({"tolerance": "position", "feature": "H1", "datums": "A|B", "at": [30, 30, 0], "limit": 0.1})",
         "A|B\"", "leave the rotation about the primary datum free"},
        {"", R"({"tolerance": "total_radial_runout", "feature": "B", "datums": "A", "limit": 0.1})",
         "total_radial", "runout is about a datum axis"},
        {"", R"({"tolerance": "perpendicularity", "feature": "B", "datums": "H1", "limit": 0.1})",
         "\"H1\", \"limit", "not evaluated for a cylinder to a datum axis"},
        {"",
         R"({"tolerance": "angularity", "feature": "A", "datums": "A", "angle": 120, "limit": 0.1})",
         "120", "\"angle\" must lie from 0 to 90"},
        // Features the plan cannot use.
        {R"("P": {"points": "FLANGE/face_a.txt", "rows": [1, 2], "element": "plane", "outward": [0, 0, 1]})",
         R"({"tolerance": "parallelism", "feature": "A", "datums": "P", "limit": 0.01})",
         "\"P\", \"limit", "datum P: too few points"},
        {R"("P": {"points": "FLANGE/face_a.txt", "rows": [1, 9999], "element": "plane", "outward": [0, 0, 1]})",
         R"({"tolerance": "flatness", "feature": "P", "limit": 0.01})", "9999",
         "\"rows\" must be [first, last]"},
        {R"("P": {"points": "FLANGE/face_a.txt", "element": "plane"})",
         R"({"tolerance": "flatness", "feature": "P", "limit": 0.01})", "\"P\": {",
         "a plane needs \"outward\""},
        {R"("P": {"points": "FLANGE/face_a.txt", "element": "cone", "side": "hole"})",
         R"({"tolerance": "flatness", "feature": "P", "limit": 0.01})", "\"P\": {",
         "unknown element \"cone\""},
        {"", R"({"tolerance": "flatness", "feature": "A", "limit": 0.01,})", "0.01,}", "not JSON"},
    };
    for (const bad_plan& c : cases) {
        const std::string text = plan_text(c);
        const std::string path = scratch("bad-plan.json");
        testing::write_file(path, text);
        int line = 1;
        const std::size_t at = text.find(c.at, text.find("\"H1\":"));
        ASSERT_NE(at, std::string::npos) << c.at;
        for (std::size_t k = 0; k < at; ++k) line += text[k] == '\n';
        try {
            inspect(path);
            ADD_FAILURE() << "accepted: " << c.tolerance;
        } catch (const error& e) {
            const std::string what = e.what();
            EXPECT_EQ(what.rfind(path + ":" + std::to_string(line) + ":", 0), 0u) << what;
            EXPECT_NE(what.find(c.message), std::string::npos) << what;
        }
    }
}

}  // namespace
}  // namespace vantor::cli

// SPDX-License-Identifier: Apache-2.0
#include "demo.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "cli.h"
#include "error.h"
#include "file_commands.h"
#include "fit_commands.h"
#include "fits.h"
#include "form_commands.h"
#include "inspection.h"
#include "output_file.h"
#include "point_file.h"
#include "report.h"
#include "roundness_command.h"

namespace vantor::cli {
namespace {

namespace fs = std::filesystem;

bool exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

// The directory holding the running program; empty when it cannot be told.
fs::path program_directory() {
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : program.parent_path();
}

std::string plot_name(const demo_options& options) {
    if (options.plot) return *options.plot;
    const std::string first = "demo-roundness.svg";
    if (options.force || !exists(first)) return first;
    for (int k = 2; k < 1000; ++k) {
        const std::string name = "demo-roundness-" + std::to_string(k) + ".svg";
        if (!exists(name)) return name;
    }
    throw error("demo-roundness.svg and 998 more plots exist; give --plot or --force");
}

// A directory of its own under $TMPDIR (or /tmp), removed with its contents.
class scratch_directory {
  public:
    scratch_directory() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/vantor-demo-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw error(pattern + ": cannot create a temporary directory");
        }
        path_ = pattern;
    }
    ~scratch_directory() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    scratch_directory(const scratch_directory&) = delete;
    scratch_directory& operator=(const scratch_directory&) = delete;

    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

// The flanged part's plan: beside the samples when installed, else in the source tree.
std::string find_flange(const std::string& samples) {
    std::error_code ec;
    const fs::path installed = fs::path(samples) / "flange";
    return fs::is_directory(installed, ec) ? installed.string() : VANTOR_FLANGE_SOURCE_DIR;
}

}  // namespace

std::string find_samples() {
    const fs::path here = program_directory();
    const fs::path installed = here.empty() ? fs::path() : here / ".." / VANTOR_SAMPLES_INSTALL_DIR;
    std::error_code ec;
    for (const fs::path& dir : {installed, fs::path(VANTOR_SAMPLES_SOURCE_DIR)}) {
        if (!dir.empty() && fs::is_directory(dir, ec)) return fs::canonical(dir, ec).string();
    }
    throw error("cannot find the sample measurements (looked in " + installed.string() + " and " +
                VANTOR_SAMPLES_SOURCE_DIR + "); give --samples DIR");
}

int demo(const demo_options& options, std::ostream& out) {
    const std::string dir = options.samples.empty() ? find_samples() : options.samples;
    // Named as the commands shown name them, for a reader running them in the samples' directory.
    const auto sample = [&](const char* name) {
        point_file in = read_points(dir + "/" + name);
        in.name = name;
        in.unit = "mm";  // the samples' unit, which the commands shown assume
        return in;
    };
    const std::string plot = plot_name(options);

    // A reader that stops reading (vantor demo | head) ends the tour with an error rather than
    // the signal, so that the temporary directory below is removed.
    std::signal(SIGPIPE, SIG_IGN);
    report tour = report::array();
    const auto show = [&](const std::string& command, const report& r) {
        if (options.json) {
            tour.push_back({{"command", command}, {"report", r}});
        } else {
            out << "$ vantor " << command << '\n';
            print_text(r, out);
            out << '\n';
            check_written(out, "standard output");
        }
    };
    if (!options.json) {
        out << "Sample measurements in " << dir << " (the commands below read them there).\n\n";
    }

    const point_file bore = sample("bore.txt");
    show("info bore.txt", info(bore));
    std::vector<vantor::criterion> all;
    for (const vantor::criterion_info& c : vantor::criteria()) all.push_back(c.criterion);
    show("circle bore.txt --criterion all", circle(bore, std::nullopt, all));
    const outcome round = roundness(bore, std::monostate(), {std::nullopt, std::nullopt, 0.01},
                                    plot_request{plot, options.force});
    if (!round.refused.empty()) throw error(round.refused.front());
    show("roundness bore.txt --upper 0.01 --plot " + plot, round.data);

    const point_file shaft = sample("shaft.txt");
    show("fit cylinder shaft.txt --criterion all",
         fit(shaft, element_kind::cylinder, vantor::info_of(element_kind::cylinder).criteria,
             std::nullopt));

    // Form values about the fitted reference elements (the minimum-zone ones, and once the
    // least-squares plane, which over-states the flatness), then about given datums.
    const tolerance none{};
    const point_file face = sample("face.txt");
    show("flatness face.txt --upper 0.005",
         flatness(face, std::monostate(), {std::nullopt, std::nullopt, 0.005}).data);
    show("flatness face.txt --reference gauss --upper 0.005",
         flatness(face, std::monostate(), {std::nullopt, std::nullopt, 0.005},
                  vantor::criterion::gauss)
             .data);
    show("straightness edge.txt --upper 0.01",
         straightness(sample("edge.txt"), std::nullopt, {std::nullopt, std::nullopt, 0.01}).data);
    show("cylindricity shaft.txt --upper 0.004",
         cylindricity(shaft, std::nullopt, {std::nullopt, std::nullopt, 0.004}).data);
    show("sphericity ball.txt", sphericity(sample("ball.txt"), std::monostate(), none).data);
    show("conicity cone.txt", conicity(sample("cone.txt"), std::monostate(), none).data);
    show("flatness face.txt --direction 0,0,1 --upper 0.005",
         flatness(face, spanto::vector(0, 0, 1), {std::nullopt, std::nullopt, 0.005}).data);
    show(
        "cylindricity shaft.txt --cylinder 0,0,0,0,0,1,12 --upper 0.004",
        cylindricity(shaft, spanto::cylinder(spanto::point(0, 0, 0), spanto::vector(0, 0, 1), 12.0),
                     {std::nullopt, std::nullopt, 0.004})
            .data);

    scratch_directory scratch;
    const std::string element_file = scratch.file("bore.vpts");
    show("convert bore.txt " + element_file,
         convert(dir + "/bore.txt", {}, element_file, std::nullopt, false));
    show("info " + element_file, info(read_points(element_file)));

    // A whole drawing: datums, orientation, position, runout and size of a flanged part.
    const std::string plan = find_flange(dir) + "/plan.json";
    show("inspect " + plan, inspect(plan).data);

    if (options.json) {
        out << tour.dump(2) << '\n';
    } else {
        out << "The roundness plot of bore.txt is in " << plot << ".\n";
    }
    return exit_ok;
}

}  // namespace vantor::cli

// SPDX-License-Identifier: Apache-2.0
// vantor conicity FILE [--cone ...|--reference C] [--axis PX,PY,PZ,DX,DY,DZ|X,Y,Z]
// [--max-tilt DEG] [tolerance]
#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "error.h"
#include "form_commands.h"
#include "numbers.h"
#include "subcommands.h"

namespace vantor::cli {
namespace {

struct conicity_options {
    input_options input;
    std::optional<std::string> cone, reference;
    fit_steering steering;  // its axis: --axis, a datum axis or an approximate direction
    tolerance_options tolerance;
};

// Conicity's datum and the options of the cone fitted without one. Its --axis is a datum axis
// with six numbers and the approximate axis direction of the fitted cone with three.
struct conicity_arguments {
    std::variant<std::monostate, spanto::cone, spanto::axis> datum;
    vantor::fit_options options;
};

conicity_arguments conicity_arguments_of(const conicity_options& o) {
    conicity_arguments c;
    if (o.cone) c.datum = cone_of(*o.cone, "--cone");
    std::string datum = o.cone ? "--cone" : "";
    std::optional<std::string> approximate;
    const std::optional<std::string>& axis = o.steering.axis;
    if (axis) {
        const auto fields = std::count(axis->begin(), axis->end(), ',') + 1;
        if (fields == 6) {
            if (o.cone) throw error("--cone and --axis are both datums: give one");
            c.datum = axis_of(*axis, "--axis");
            datum = "a datum axis (--axis with six numbers)";
            if (o.reference) {
                throw error("--reference only steers the cone fitted without a datum: not with " +
                            datum);
            }
        } else if (fields == 3) {
            approximate = axis;
        } else {
            throw error(
                "--axis expects PX,PY,PZ,DX,DY,DZ (a datum axis) or X,Y,Z (an approximate "
                "axis direction): got " +
                std::to_string(fields) + " in '" + printable(*axis) + "'");
        }
    }
    c.options = reference_options(o.steering, element_kind::cone, datum, approximate);
    return c;
}

}  // namespace

subcommand conicity_command(CLI::App& app, const program_options& program) {
    const auto o = std::make_shared<conicity_options>();
    CLI::App* command = add_command(app, "conicity",
                                    "conicity about a cone, or about an axis with a fitted cone" +
                                        without_datum(element_kind::cone),
                                    o->input);
    exclusive({add_numbers(command, "--cone", o->cone, "X0,Y0,Z0,R0,X1,Y1,Z1,R1",
                           "datum cone: radius R0 at the first point, R1 at the second"),
               add_reference(command, element_kind::cone, o->reference)});
    // Six numbers are a datum axis; three the approximate axis of the cone fitted without one.
    add_numbers(command, "--axis", o->steering.axis, "PX,PY,PZ,DX,DY,DZ|X,Y,Z",
                "six numbers: datum axis, the cone is fitted about it; three: approximate axis "
                "direction of the cone fitted without a datum (the drawing's nominal direction): "
                "its axis stays within --max-tilt of it");
    add_reference_fit(command, element_kind::cone, false, o->steering);
    add_tolerance(command, o->tolerance);
    return {command, [o, &program](std::ostream& out, std::ostream&) -> int {
                const tolerance tol = tolerance_of(o->tolerance);
                const vantor::read_options columns = columns_of(o->input);
                const conicity_arguments c = conicity_arguments_of(*o);
                return print_outcome(conicity(read_input(o->input, columns), c.datum, tol,
                                              reference_of(o->reference), c.options),
                                     program, out);
            }};
}

}  // namespace vantor::cli

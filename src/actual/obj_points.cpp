// SPDX-License-Identifier: Apache-2.0
// Wavefront OBJ: the geometric vertices ("v X Y Z", an optional weight or colour after them); the
// other statements (faces, normals, texture coordinates, groups, materials) are skipped.
#include <string>
#include <string_view>

#include "actual/coordinates.h"
#include "actual/point_readers.h"

namespace vantor::detail {

void read_obj(point_source& source, point_sink& sink) {
    std::string_view line;
    while (source.next_line(line)) {
        std::string_view rest = line;
        if (next_word(rest) != "v") continue;
        double xyz[3] = {0.0, 0.0, 0.0};
        for (double& c : xyz) {
            const std::string_view word = next_word(rest);
            if (!parse_coordinate(word, c)) {
                source.fail_line(word.empty() ? "a vertex of fewer than three coordinates"
                                              : "malformed number '" +
                                                    std::string(word.substr(0, 40)) + "'");
            }
        }
        sink.add(xyz[0], xyz[1], xyz[2]);  // parse_coordinate takes no infinity
    }
}

}  // namespace vantor::detail

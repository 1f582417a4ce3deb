// SPDX-License-Identifier: Apache-2.0
#include "files.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "error.h"
#include "output_file.h"
#include "point_file.h"
#include "points.h"

namespace py = pybind11;

namespace vantor::python {

std::tuple<py::array_t<double>, std::string, long long> load_points(
    const std::string& path, const std::optional<std::vector<std::string>>& columns) {
    cli::point_file in;
    {
        const py::gil_scoped_release release;
        vantor::read_options options;
        if (columns) options.columns = *columns;
        try {
            in = cli::read_points(path, options);
        } catch (const cli::error& e) {
            throw py::value_error(e.what());
        }
    }
    return {to_array(*in.points), vantor::point_format_name(in.format), in.nan_rows};
}

int save_points(const std::string& path, const py::array& points, bool text, bool force) {
    const point_rows rows(points);
    std::string failure;
    int written = 0;
    {
        const py::gil_scoped_release release;
        // Text cannot hold NaN: a text file of only invalid rows would be no point file at all.
        const std::unique_ptr<vantor::actual> set =
            rows.points(text ? invalid_rows::drop : invalid_rows::keep);
        try {
            cli::output_file out(path, force);
            written = set->numpoints() - cli::write_points(*set, out, text);
        } catch (const cli::error& e) {
            failure = e.what();
        }
    }
    if (failure.empty()) return written;
    // Without force the output fails when the target exists, even when another writer created
    // it meanwhile: then OSError(EEXIST, ..., path), which Python raises as FileExistsError.
    struct stat info;
    if (!force && ::lstat(path.c_str(), &info) == 0) {
        const std::string why = std::string(std::strerror(EEXIST)) + " (force=True replaces it)";
        PyErr_SetObject(PyExc_OSError, py::make_tuple(EEXIST, why, path).ptr());
    } else {
        PyErr_SetString(PyExc_OSError, failure.c_str());
    }
    throw py::error_already_set();
}

}  // namespace vantor::python

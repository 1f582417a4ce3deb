// SPDX-License-Identifier: Apache-2.0
// Point files, read and written by the command-line tool's own functions.
#ifndef VANTOR_PYTHON_FILES_H
#define VANTOR_PYTHON_FILES_H

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include <pybind11/numpy.h>

namespace vantor::python {

// The points of a point file in any format the tool reads, as the tool reads them ("-" reads
// standard input; `columns` chooses the columns of a text file), as an (N, 3) float64 array,
// with the format's name and the number of rows left out for a NaN coordinate. Throws
// ValueError with the reader's message. Reads with the GIL released.
std::tuple<pybind11::array_t<double>, std::string, long long> load_points(
    const std::string& path, const std::optional<std::vector<std::string>>& columns);

// Writes the rows of an (N, 3) array to `path`, as text or as an element file (which keeps the
// rows with a NaN coordinate; text leaves them out), through a temporary file beside it that
// takes its name only when complete (cli::output_file): with `force` replacing an existing file,
// without it never (FileExistsError naming the path, as OSError with errno EEXIST). Returns the
// number of rows written. Throws ValueError for bad points (for text, also when every row has a
// NaN coordinate) and OSError when the file cannot be written.
int save_points(const std::string& path, const pybind11::array& points, bool text, bool force);

}  // namespace vantor::python

#endif  // VANTOR_PYTHON_FILES_H

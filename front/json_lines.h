// SPDX-License-Identifier: Apache-2.0
// A JSON document read from a file with the line each of its values starts on, so that messages
// about a value can name the line, as they do for point files.
#ifndef VANTOR_FRONT_JSON_LINES_H
#define VANTOR_FRONT_JSON_LINES_H

#include <map>
#include <string>

#include "report.h"

namespace vantor::cli {

struct json_lines {
    std::string name;  // the path as given
    report value;
    // The line (from 1) of each value, by its JSON pointer ("" the document,
    // "/tolerances/2/limit").
    std::map<std::string, int> lines;

    // The line of the value at `pointer`, or of its nearest enclosing value that has one.
    int line(const std::string& pointer) const;
    // "name:line: message" about the value at `pointer`.
    std::string at(const std::string& pointer, const std::string& message) const;
};

// Reads the JSON document of the file at `path`. Throws error "path: cannot read ..." for a file
// that cannot be read and "path:line:column: ..." for text that is not JSON.
json_lines read_json_lines(const std::string& path);

// The same for a text already read; `name` stands for it in messages.
json_lines parse_json_lines(const std::string& text, const std::string& name);

// `pointer` extended by the member `key` ("~" and "/" escaped as JSON pointers escape them) or the
// element `index`.
std::string member_pointer(const std::string& pointer, const std::string& key);
std::string element_pointer(const std::string& pointer, std::size_t index);

}  // namespace vantor::cli

#endif  // VANTOR_FRONT_JSON_LINES_H

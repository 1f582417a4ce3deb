// SPDX-License-Identifier: Apache-2.0
#include "json_lines.h"

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <sstream>
#include <string_view>

#include "error.h"

namespace vantor::cli {
namespace {

// Walks a text that nlohmann::json has accepted and records the line of every value. JSON allows
// line breaks only between tokens, so counting them while skipping white space is enough.
class line_scanner {
  public:
    // A UTF-8 byte order mark, which the parser skips, is skipped here too.
    line_scanner(const std::string& text, std::map<std::string, int>& lines)
        : text_(text), lines_(lines), pos_(text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0) {}

    void value(const std::string& pointer) {
        skip_space();
        lines_[pointer] = line_;
        if (at_end()) return;
        const char c = text_[pos_];
        if (c == '{') {
            ++pos_;
            skip_space();
            while (!at_end() && text_[pos_] != '}') {
                const std::string key = string();
                skip_space();
                ++pos_;  // ':'
                value(member_pointer(pointer, key));
                skip_space();
                if (!at_end() && text_[pos_] == ',') ++pos_;
                skip_space();
            }
            ++pos_;
        } else if (c == '[') {
            ++pos_;
            skip_space();
            for (std::size_t k = 0; !at_end() && text_[pos_] != ']'; ++k) {
                value(element_pointer(pointer, k));
                skip_space();
                if (!at_end() && text_[pos_] == ',') ++pos_;
                skip_space();
            }
            ++pos_;
        } else if (c == '"') {
            string();
        } else {
            while (!at_end() &&
                   std::string_view(",]} \t\r\n").find(text_[pos_]) == std::string::npos)
                ++pos_;
        }
    }

  private:
    bool at_end() const { return pos_ >= text_.size(); }

    void skip_space() {
        for (; !at_end(); ++pos_) {
            const char c = text_[pos_];
            if (c == '\n') {
                ++line_;
            } else if (c != ' ' && c != '\t' && c != '\r') {
                break;
            }
        }
    }

    // A string token, its escapes decoded as nlohmann::json decodes them (a key's pointer must
    // match the parsed document's); positioned at its opening quote.
    std::string string() {
        const std::size_t start = pos_;
        for (++pos_; !at_end() && text_[pos_] != '"'; ++pos_) {
            if (text_[pos_] == '\\') ++pos_;
        }
        ++pos_;
        return report::parse(text_.substr(start, pos_ - start)).get<std::string>();
    }

    const std::string& text_;
    std::map<std::string, int>& lines_;
    std::size_t pos_;
    int line_ = 1;
};

}  // namespace

std::string member_pointer(const std::string& pointer, const std::string& key) {
    std::string escaped;
    for (const char c : key) {
        if (c == '~') {
            escaped += "~0";
        } else if (c == '/') {
            escaped += "~1";
        } else {
            escaped += c;
        }
    }
    return pointer + "/" + escaped;
}

std::string element_pointer(const std::string& pointer, std::size_t index) {
    return pointer + "/" + std::to_string(index);
}

int json_lines::line(const std::string& pointer) const {
    for (std::string p = pointer;; p.erase(p.rfind('/'))) {
        const auto found = lines.find(p);
        if (found != lines.end()) return found->second;
        if (p.empty()) return 1;
    }
}

std::string json_lines::at(const std::string& pointer, const std::string& message) const {
    return name + ":" + std::to_string(line(pointer)) + ": " + message;
}

json_lines parse_json_lines(const std::string& text, const std::string& name) {
    json_lines doc;
    doc.name = name;
    try {
        doc.value = report::parse(text);
    } catch (const report::parse_error& e) {
        // e.byte counts from 1 and points just past the offending character.
        const std::size_t end = std::min<std::size_t>(e.byte == 0 ? 0 : e.byte - 1, text.size());
        int line = 1;
        std::size_t column = 1;
        for (std::size_t k = 0; k < end; ++k) {
            line += text[k] == '\n';
            column = text[k] == '\n' ? 1 : column + 1;
        }
        std::string what = e.what();
        const std::size_t colon = what.find("syntax error");
        if (colon != std::string::npos) what = what.substr(colon);
        throw error(name + ":" + std::to_string(line) + ":" + std::to_string(column) +
                    ": not JSON: " + what.substr(0, 200));
    } catch (const report::exception& e) {
        // A number beyond the range of a double, which the parser reports without a position.
        throw error(name + ": not JSON: " + std::string(e.what()).substr(0, 200));
    }
    line_scanner(text, doc.lines).value("");
    return doc;
}

json_lines read_json_lines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (!in) throw error(path + ": cannot read the file");
    text << in.rdbuf();  // an empty file sets failbit and leaves the text empty: not JSON
    if (in.bad()) throw error(path + ": cannot read the file");
    return parse_json_lines(text.str(), path);
}

}  // namespace vantor::cli

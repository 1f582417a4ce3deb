// SPDX-License-Identifier: Apache-2.0
// Output files that never replace an existing file unless the user forces it.
#ifndef VANTOR_FRONT_OUTPUT_FILE_H
#define VANTOR_FRONT_OUTPUT_FILE_H

#include <cstdio>
#include <ostream>
#include <string>

#include "error.h"

namespace vantor::cli {

// An output file under construction. The content goes to a temporary file beside the target
// (temp_path()); commit() then gives it the target's name: with force by renaming it over the
// target, otherwise by a hard link, which fails when the target exists by then, so that an
// existing file is never replaced, not even by a race. A failed or abandoned output leaves no
// partial file behind: the destructor removes an uncommitted temporary file. With force, an
// existing character device or pipe (/dev/null, a FIFO) is written in place instead: renaming
// a file over it would remove it (as root, the device node itself); any other target that is
// not a regular file is refused.
class output_file {
  public:
    // Throws error when the target exists and force is false (checked here as well, so that a
    // command fails before its work), or when no temporary file can be created beside it.
    output_file(std::string target, bool force);
    ~output_file();
    output_file(const output_file&) = delete;
    output_file& operator=(const output_file&) = delete;

    const std::string& target() const { return target_; }
    const std::string& temp_path() const { return temp_; }

    // Throws error when the target exists (without force) or the file cannot be renamed.
    void commit();

  private:
    std::string target_;
    std::string temp_;
    bool force_;
    bool committed_ = false;
    bool in_place_ = false;  // temp_ is the target itself (a device or pipe)
};

// The error "<name>: <what>: <the system's reason>", the reason from errno as the failed call
// left it ("out.svg: cannot write: No space left on device"); without one when errno is 0.
error system_failure(const std::string& name, const std::string& what);

// Writes the prepared output through write(FILE*) and gives it its name; returns what write
// returns. A file that cannot be opened, written or closed is system_failure(target, what).
template <typename Write>
auto write_through(output_file& out, Write write, const std::string& what = "cannot write") {
    std::FILE* f = std::fopen(out.temp_path().c_str(), "wb");
    if (f == nullptr) throw system_failure(out.target(), what);
    const auto result = write(f);
    const bool failed = std::ferror(f) != 0;
    if (std::fclose(f) != 0 || failed) throw system_failure(out.target(), what);
    out.commit();
    return result;
}

// Writes `content` into the prepared output, as write_through does.
void write_content(output_file& out, const std::string& content,
                   const std::string& what = "cannot write");

// Writes `content` to the file `target` through an output_file.
void write_file(const std::string& target, bool force, const std::string& content);

// Throws system_failure(name, "cannot write") when the stream `out` failed (a full disk, a
// closed pipe).
void check_written(const std::ostream& out, const std::string& name);

}  // namespace vantor::cli

#endif  // VANTOR_FRONT_OUTPUT_FILE_H

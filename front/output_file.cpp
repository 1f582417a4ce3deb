// SPDX-License-Identifier: Apache-2.0
#include "output_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace vantor::cli {
namespace {

bool exists(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;  // a dangling symbolic link counts as existing
}

error exists_error(const std::string& path) {
    return error(path + ": file exists (use --force to replace it)");
}

}  // namespace

error system_failure(const std::string& name, const std::string& what) {
    return error(name + ": " + what + (errno != 0 ? std::string(": ") + std::strerror(errno) : ""));
}

void check_written(const std::ostream& out, const std::string& name) {
    if (!out) throw system_failure(name, "cannot write");
}

output_file::output_file(std::string target, bool force)
    : target_(std::move(target)), force_(force) {
    if (!force_ && exists(target_)) throw exists_error(target_);
    struct stat info;
    if (force_ && ::stat(target_.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        if (!S_ISCHR(info.st_mode) && !S_ISFIFO(info.st_mode))
            throw error(target_ + ": not a regular file, a character device or a pipe");
        temp_ = target_;
        in_place_ = true;
        return;
    }
    std::vector<char> name(target_.begin(), target_.end());
    for (const char c : std::string(".XXXXXX")) name.push_back(c);
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) throw system_failure(target_, "cannot create");
    // mkstemp makes the file private; give it the permissions of a newly created file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    ::close(fd);
    temp_ = name.data();
}

output_file::~output_file() {
    if (!committed_ && !in_place_) std::remove(temp_.c_str());
}

void output_file::commit() {
    if (in_place_) {
        committed_ = true;
        return;
    }
    if (force_) {
        if (std::rename(temp_.c_str(), target_.c_str()) != 0) {
            throw system_failure(target_, "cannot write");
        }
    } else {
        if (::link(temp_.c_str(), target_.c_str()) == 0) {
            std::remove(temp_.c_str());
        } else if (errno == EEXIST) {
            throw exists_error(target_);
        } else if (errno == EPERM || errno == ENOTSUP || errno == ENOSYS) {
            // A file system without hard links: check, then rename.
            if (exists(target_)) throw exists_error(target_);
            if (std::rename(temp_.c_str(), target_.c_str()) != 0) {
                throw system_failure(target_, "cannot write");
            }
        } else {
            throw system_failure(target_, "cannot write");
        }
    }
    committed_ = true;
}

void write_content(output_file& out, const std::string& content, const std::string& what) {
    write_through(
        out, [&](std::FILE* f) { return std::fwrite(content.data(), 1, content.size(), f); }, what);
}

void write_file(const std::string& target, bool force, const std::string& content) {
    output_file out(target, force);
    write_content(out, content);
}

}  // namespace vantor::cli

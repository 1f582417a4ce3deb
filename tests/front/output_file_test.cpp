// SPDX-License-Identifier: Apache-2.0
#include "output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "error.h"
#include "front/support.h"

namespace vantor::cli {
namespace {

using testing::read_file;

// A fresh, empty directory for one test.
std::string fresh_directory(const std::string& name) {
    const std::string dir = testing::scratch(name);
    std::filesystem::create_directory(dir);
    return dir;
}

std::vector<std::string> listing(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

std::string failure(const std::string& target, bool force, const std::string& content) {
    try {
        write_file(target, force, content);
    } catch (const error& e) {
        return e.what();
    }
    return "no error";
}

TEST(OutputFile, WritesANewFileAndLeavesNothingElse) {
    const std::string dir = fresh_directory("new");
    write_file(dir + "/out.svg", false, "<svg/>\n");
    EXPECT_EQ(read_file(dir + "/out.svg"), "<svg/>\n");
    EXPECT_EQ(listing(dir), std::vector<std::string>{"out.svg"});
}

TEST(OutputFile, NeverReplacesAnExistingFileWithoutForce) {
    const std::string dir = fresh_directory("existing");
    const std::string target = dir + "/out.svg";
    testing::write_file(target, "precious");
    EXPECT_EQ(failure(target, false, "new"), target + ": file exists (use --force to replace it)");
    EXPECT_EQ(read_file(target), "precious");
    EXPECT_EQ(listing(dir), std::vector<std::string>{"out.svg"});

    write_file(target, true, "new");
    EXPECT_EQ(read_file(target), "new");
    EXPECT_EQ(listing(dir), std::vector<std::string>{"out.svg"});
}

TEST(OutputFile, KeepsAFileThatAppearsWhileTheOutputIsWritten) {
    const std::string dir = fresh_directory("race");
    const std::string target = dir + "/out.txt";
    output_file out(target, false);
    testing::write_file(out.temp_path(), "ours");
    testing::write_file(target, "theirs");
    try {
        out.commit();
        ADD_FAILURE() << "commit replaced a file";
    } catch (const error& e) {
        EXPECT_EQ(std::string(e.what()), target + ": file exists (use --force to replace it)");
    }
    EXPECT_EQ(read_file(target), "theirs");
}

// With force, a pipe (as /dev/null) is written into, not replaced by a file, and a directory is
// refused.
TEST(OutputFile, WritesIntoAPipeAndRefusesADirectory) {
    const std::string dir = fresh_directory("pipe");
    const std::string fifo = dir + "/plot.svg";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    write_file(fifo, true, "<svg/>\n");
    char buffer[16] = {};
    EXPECT_EQ(::read(reader, buffer, sizeof buffer), 7);
    ::close(reader);
    EXPECT_EQ(std::string(buffer), "<svg/>\n");
    struct stat info;
    ASSERT_EQ(::stat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(listing(dir), std::vector<std::string>{"plot.svg"});
    EXPECT_EQ(failure(dir, true, "x"), dir + ": not a regular file, a character device or a pipe");
}

TEST(OutputFile, AnAbandonedOutputLeavesNoFile) {
    const std::string dir = fresh_directory("abandoned");
    {
        output_file out(dir + "/out.txt", false);
        testing::write_file(out.temp_path(), "half");
    }
    EXPECT_TRUE(listing(dir).empty());
}

TEST(OutputFile, GetsThePermissionsOfANewFile) {
    const std::string dir = fresh_directory("mode");
    const mode_t saved = ::umask(022);
    write_file(dir + "/out.txt", false, "x");
    ::umask(saved);
    struct stat info;
    ASSERT_EQ(::stat((dir + "/out.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST(OutputFile, NamesADirectoryThatDoesNotExist) {
    const std::string target = testing::scratch("no/such/dir/out.txt");
    EXPECT_EQ(failure(target, false, "x"), target + ": cannot create: No such file or directory");
}

}  // namespace
}  // namespace vantor::cli

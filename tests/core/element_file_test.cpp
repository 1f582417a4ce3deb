// SPDX-License-Identifier: Apache-2.0
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "support/capture.h"
#include "support/element_bytes.h"
#include "support/files.h"
#include "vantor/element.h"

namespace vantor {
namespace {

using testing::bytes;
using testing::element_header;
namespace format = detail::element_format;
using testing::le;
using testing::operator+;
using testing::printed;
using testing::read_file;
using testing::scratch_dir;
using testing::scratch_path;
using testing::write_file;

// An element type without a file body of its own, like the fitters and features.
struct bodiless : element {
    explicit bodiless(elemtype t) : element(t) {}
};

bytes sound_header(unsigned type) { return element_header(type, 20240229, 235959); }

// Loads `content` from a scratch file; returns what was printed and sets `loaded`.
std::string load_printing(const bytes& content, std::unique_ptr<element>& loaded) {
    const std::string path = scratch_path("elm");
    write_file(path, content);
    // The messages do not go through the trace: a threshold that silences every trace line
    // must not silence them.
    return printed(INT_MIN, [&] { loaded.reset(element::load(path.c_str())); });
}

TEST(ElementFile, ElementWithoutBodyWritesTheHeaderAloneAndReportsFailure) {
    for (const auto type : {element::type_substitute, element::type_feature}) {
        const bodiless e(type);
        const std::string path = scratch_path(std::to_string(type));
        EXPECT_FALSE(e.save(path.c_str()));
        const bytes expected = element_header(type, e.creationdate(), e.creationtime());
        EXPECT_EQ(read_file(path), expected) << "type " << type;
    }
}

TEST(ElementFile, SaveWithoutFileNameUsesTheElementsName) {
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(scratch_dir().c_str()), 0);
    bodiless e(element::type_feature);
    e.name("ElementFile.by-name.elm");
    EXPECT_FALSE(e.save(nullptr));
    EXPECT_EQ(read_file("ElementFile.by-name.elm").size(), 32u);
    ASSERT_EQ(chdir(previous), 0);
}

TEST(ElementFile, SaveWithoutFileNameFailsForAnEmptyName) {
    const bodiless e(element::type_feature);
    ASSERT_STREQ(e.name(), "");
    EXPECT_FALSE(e.save(nullptr));
}

TEST(ElementFile, UnopenableFilesFailSilently) {
    const bodiless e(element::type_feature);
    const std::string missing = scratch_dir() + "no-such-directory/file.elm";
    EXPECT_FALSE(e.save(missing.c_str()));
    std::unique_ptr<element> loaded;
    EXPECT_EQ(printed(0, [&] { loaded.reset(element::load(missing.c_str())); }), "");
    EXPECT_EQ(loaded, nullptr);
    EXPECT_EQ(element::load(static_cast<const char*>(nullptr)), nullptr);
}

struct damaged_case {
    const char* what;
    bytes content;
    const char* message;
};

TEST(ElementFile, DamagedHeadersLoadAsNullWithTheMessageOfTheFirstFailedCheck) {
    bytes long_text = sound_header(5);
    long_text[sizeof format::signature - 1] = 'x';  // the text runs on past the signature
    bytes padding_set = element_header(33, format::version, 5, 0, 0);
    // Beyond the text's terminating zero: not part of the signature.
    padding_set[sizeof format::signature] = 'x';
    bytes short_header = sound_header(3);
    short_header.pop_back();
    bytes case_changed = sound_header(5);
    case_changed[0] = 'V';

    const damaged_case cases[] = {
        {"empty file", {}, ""},
        {"short header", short_header, ""},
        {"wrong signature", case_changed, "*element:load: copyright notice missing\n"},
        {"longer text", long_text, "*element:load: copyright notice missing\n"},
        {"all zero", bytes(format::header_bytes, 0), "*element:load: copyright notice missing\n"},
        {"byte 15 set", padding_set, "*element:load: incorrect header size 33\n"},
        {"header size 33", element_header(33, format::version, 3, 0, 0),
         "*element:load: incorrect header size 33\n"},
        {"header size 65535", element_header(65535, format::version, 3, 0, 0),
         "*element:load: incorrect header size 65535\n"},
        {"version 2", element_header(format::header_bytes, 2, 3, 0, 0),
         "*element:load: incorrect version number 2\n"},
        {"version 32769", element_header(format::header_bytes, 32769, 3, 0, 0),
         "*element:load: incorrect version number 32769\n"},
        {"size checked before version", element_header(0, 2, 3, 0, 0),
         "*element:load: incorrect header size 0\n"},
        {"type 5", sound_header(5), ""},
        {"type 4", sound_header(4), ""},
        {"type 0", sound_header(0), ""},
        {"type 3 without a body", sound_header(3), ""},
    };
    for (const damaged_case& c : cases) {
        std::unique_ptr<element> loaded;
        EXPECT_EQ(load_printing(c.content, loaded), c.message) << c.what;
        EXPECT_EQ(loaded, nullptr) << c.what;
    }
}

TEST(ElementFile, SignatureTellsElementFilesFromText) {
    const bytes header = sound_header(3);
    bytes padding_set = header;
    padding_set[sizeof format::signature] = 'x';
    bytes stray_zero(header.begin(), header.begin() + 16);
    stray_zero[3] = 'x';  // text with a zero byte where the signature's ends
    const std::string text = "x y z\n1 2 3\n4 5 6\n";
    const struct {
        const char* what;
        const void* head;
        std::size_t size;
        bool element;
    } cases[] = {
        {"a written header", header.data(), header.size(), true},
        {"the text and its zero alone", header.data(), sizeof format::signature, true},
        {"one byte short", header.data(), sizeof format::signature - 1, false},
        {"padding byte set", padding_set.data(), padding_set.size(), true},
        {"a zero byte in other text", stray_zero.data(), stray_zero.size(), false},
        {"a text file", text.data(), text.size(), false},
        {"null", nullptr, 32, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(has_element_signature(c.head, c.size), c.element) << c.what;
}

TEST(ElementFile, SignatureCheckComesBeforeTheOtherFields) {
    bytes content = element_header(33, 2, 3, 0, 0);
    content[13] = 'T';
    std::unique_ptr<element> loaded;
    EXPECT_EQ(load_printing(content, loaded), "*element:load: copyright notice missing\n");
}

}  // namespace
}  // namespace vantor

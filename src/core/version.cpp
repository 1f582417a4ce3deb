#include "vantor/version.h"

namespace vantor {

namespace {
constexpr int major_version = 1;
constexpr int minor_version = 0;
constexpr int patch_version = 0;
constexpr const char* version_text = "1.0.0";
}  // namespace

const char* version(int& major, int& minor, int& patch) {
    major = major_version;
    minor = minor_version;
    patch = patch_version;
    return version_text;
}

const char* version() { return version_text; }

}  // namespace vantor

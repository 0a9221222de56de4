#include "analysis/coupling/run_picture.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"
#include "windows_processes.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <windows.h>

namespace zelmora {
namespace {

using test_support::WriteBytes;

// Only a plain file that changed during the run is its picture: not one left as it was, not a
// link or a folder in its place, not one beyond the size kept.
TEST(RunPictureWin32, OnlyAPlainFileTheRunChangedIsItsPicture) {
    test_support::TempFolder folder;
    const std::string result = windows_test::WindowsPath(folder.File("m.hxx"));
    const std::string picture = windows_test::WindowsPath(folder.File("m.svg"));
    const std::string secret = windows_test::WindowsPath(folder.File("secret"));
    WriteBytes(secret, "SECRET=1");
    const struct {
        const char* what;
        std::function<void()> before;
        std::function<void()> during;
        std::string expected;
    } cases[] = {
        {"drawn by the run", [] {}, [&] { WriteBytes(picture, "<svg/>"); }, "<svg/>"},
        {"rewritten by the run", [&] { WriteBytes(picture, "<svg>old</svg>"); },
         [&] {
             Sleep(20);
             WriteBytes(picture, "<svg>new</svg>");
         },
         "<svg>new</svg>"},
        {"left by the run before", [&] { WriteBytes(picture, "<svg/>"); }, [] {}, ""},
        {"a link written during the run", [] {},
         [&] { EXPECT_NE(CreateSymbolicLinkA(picture.c_str(), secret.c_str(), 0), 0); }, ""},
        {"a folder", [] {}, [&] { CreateDirectoryA(picture.c_str(), nullptr); }, ""},
        {"too large", [] {}, [&] { WriteBytes(picture, std::string(MaxPictureBytes + 1, 'x')); },
         ""},
    };
    for (const auto& c : cases) {
        std::error_code error;
        std::filesystem::remove_all(picture, error);
        c.before();
        const RunPicture run(result);
        c.during();
        EXPECT_EQ(run.Read(), c.expected) << c.what;
    }
}

} // namespace
} // namespace zelmora

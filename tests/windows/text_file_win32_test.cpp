#include "project/errors.h"
#include "project/text_input.h"
#include "project/text_output.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"
#include "windows_processes.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace zelmora {
namespace {

using test_support::ReadBytes;
using test_support::TempFolder;
using test_support::WriteBytes;
using windows_test::WindowsPath;

int TakeCode() {
    const int code = PendingIoCode();
    RecordIoCode(0);
    return code;
}

class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override { RecordIoCode(0); }
    void TearDown() override {
        TextOutput::SetWriteCallForTesting(nullptr);
        RecordIoCode(0);
    }

    std::string File(const std::string& name) const { return WindowsPath(folder_.File(name)); }

    TempFolder folder_;
};

// The code an open records; a file that did open is closed again.
int OpeningForReading(const std::string& name) {
    TextInput in;
    in.OpenForReading(name);
    const int code = TakeCode();
    if (code == 0) {
        in.Close();
    }
    return code;
}

int OpeningForWriting(const std::string& name) {
    TextOutput out;
    out.OpenForWriting(name);
    const int code = TakeCode();
    if (code == 0) {
        out.Close();
    }
    return code;
}

// The codes are Windows error numbers, as the message table has them. (A read-only file is left
// out: Wine lets root write it.)
TEST_F(TextFileTest, FailedOpensRecordTheWindowsErrorNumber) {
    CreateDirectoryA(File("folder").c_str(), nullptr);
    const struct {
        std::string name;
        bool writing;
        int code;
    } cases[] = {
        {File("missing.txt"), false, ERROR_FILE_NOT_FOUND},
        {File("no folder\\missing.txt"), false, ERROR_PATH_NOT_FOUND},
        {File("no folder\\new.txt"), true, ERROR_PATH_NOT_FOUND},
        {File("folder"), false, ERROR_ACCESS_DENIED},
        {File("folder"), true, ERROR_ACCESS_DENIED},
        {"NUL", false, ERROR_ACCESS_DENIED},
        {"NUL", true, ERROR_ACCESS_DENIED},
        {"", true, 105},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.writing ? OpeningForWriting(c.name) : OpeningForReading(c.name), c.code)
            << c.name << (c.writing ? " for writing" : " for reading");
    }
    try {
        RecordIoCode(ERROR_FILE_NOT_FOUND);
        CheckIo();
        FAIL() << "no error";
    } catch (const EInOutError& error) {
        EXPECT_STREQ(error.what(), "File not found");
    }
}

TEST_F(TextFileTest, ReadersLetOthersReadButNotWrite) {
    const std::string name = File("shared.txt");
    WriteBytes(name, "12.5\r\n");
    TextInput first;
    first.OpenForReading(name);
    EXPECT_EQ(OpeningForReading(name), 0);
    EXPECT_EQ(OpeningForWriting(name), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(first.ReadReal(), 12.5L);
    first.Close();
    EXPECT_EQ(TakeCode(), 0);
}

// Another program that reads while the file is written must let it be written, as an editor
// does; our own reader, which lets nobody write, waits for the writer to close.
bool AnotherProgramCanRead(const std::string& name) {
    const HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

TEST_F(TextFileTest, WritersLetOthersReadButNotWrite) {
    const std::string name = File("shared.txt");
    TextOutput out;
    out.OpenForWriting(name);
    out.WriteText("written");
    out.EndLine();
    EXPECT_TRUE(AnotherProgramCanRead(name));
    EXPECT_EQ(OpeningForReading(name), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(OpeningForWriting(name), ERROR_SHARING_VIOLATION);
    out.Close();
    EXPECT_EQ(TakeCode(), 0);
    EXPECT_EQ(ReadBytes(name), "written\r\n");
}

TEST_F(TextFileTest, WritingEmptiesAnExistingFileAndKeepsItsAttributes) {
    const std::string name = File("hidden.txt");
    WriteBytes(name, "a much longer old content\r\n");
    SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_HIDDEN);
    TextOutput out;
    out.OpenForWriting(name);
    out.WriteInteger(-12);
    out.WriteText(" ");
    out.WriteFixed(0.5, 8, 4);
    out.EndLine();
    out.Close();
    EXPECT_EQ(TakeCode(), 0);
    EXPECT_EQ(ReadBytes(name), "-12   0.5000\r\n");
    EXPECT_NE(GetFileAttributesA(name.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST_F(TextFileTest, ReadsTokensLinesAndCtrlZ) {
    const std::string name = File("in.txt");
    WriteBytes(name, "  1.5 x\r\n  a b  \r\n2 3\x1a 4\r\n");
    TextInput in;
    in.OpenForReading(name);
    EXPECT_EQ(in.ReadReal(), 1.5L);
    in.SkipLine();
    EXPECT_EQ(in.ReadRestOfLine(), "  a b  ");
    in.SkipLine();
    EXPECT_EQ(in.ReadInteger(), 2);
    EXPECT_EQ(in.ReadReal(), 3.0L);
    EXPECT_TRUE(in.AtEnd());
    in.Close();
    EXPECT_EQ(TakeCode(), 0);
}

std::ptrdiff_t FailWith(DWORD error) {
    SetLastError(error);
    return -1;
}

TEST_F(TextFileTest, FailedWritesRecordTheirCode) {
    const struct {
        TextOutput::WriteCall call;
        int code;
    } cases[] = {
        {[](int, const char*, std::size_t) { return FailWith(ERROR_DISK_FULL); }, 101},
        {[](int, const char*, std::size_t) { return FailWith(ERROR_HANDLE_DISK_FULL); }, 101},
        {[](int, const char*, std::size_t) { return FailWith(ERROR_IO_DEVICE); }, ERROR_IO_DEVICE},
        {[](int, const char*, std::size_t) -> std::ptrdiff_t { return 0; }, 101},
    };
    for (const auto& c : cases) {
        TextOutput::SetWriteCallForTesting(c.call);
        TextOutput out;
        out.OpenForWriting(File("out.txt"));
        out.WriteText("data");
        out.Close();
        TextOutput::SetWriteCallForTesting(nullptr);
        EXPECT_EQ(TakeCode(), c.code);
    }
}

TEST_F(TextFileTest, ShortWritesAreCompleted) {
    TextOutput::SetWriteCallForTesting([](int fd, const char* data, std::size_t size) {
        DWORD written = 0;
        const HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
        WriteFile(file, data, static_cast<DWORD>(size < 3 ? size : 3), &written, nullptr);
        return static_cast<std::ptrdiff_t>(written);
    });
    TextOutput out;
    out.OpenForWriting(File("out.txt"));
    out.WriteText("partial writes");
    out.Close();
    EXPECT_EQ(TakeCode(), 0);
    EXPECT_EQ(ReadBytes(File("out.txt")), "partial writes");
}

} // namespace
} // namespace zelmora

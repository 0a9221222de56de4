#include "child_process.h"
#include "project/errors.h"
#include "project/number_forms.h"
#include "project/text_input.h"
#include "project/text_output.h"
#include "special_files.h"
#include "tests/support/file_bytes.h"
#include "tests/support/scoped_tmpfs.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace zelmora;
using test_support::ReadBytes;
using test_support::ScopedTmpfs;
using test_support::TempFolder;
using test_support::WriteBytes;

namespace {

// Takes the pending code, leaving none behind.
int TakeCode() {
    const int code = PendingIoCode();
    RecordIoCode(0);
    return code;
}

class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override { RecordIoCode(0); }
    void TearDown() override { RecordIoCode(0); }

    // Opens a file holding `bytes` for reading.
    void OpenWith(const std::string& bytes) {
        WriteBytes(folder.File("in.txt"), bytes);
        input.OpenForReading(folder.File("in.txt"));
        ASSERT_EQ(PendingIoCode(), 0);
    }

    TempFolder folder;
    TextInput input;
};

struct RealCase {
    std::string name;
    std::string bytes;
    std::vector<long double> values; // ReadReal in turn, each expected to find a token
    int code;                        // pending after those reads
    std::string restOfLine;          // then ReadRestOfLine
};

class ReadRealTest : public TextFileTest, public ::testing::WithParamInterface<RealCase> {};

TEST_P(ReadRealTest, ReadsRunsAndLeavesTheEndingCharacter) {
    const RealCase& c = GetParam();
    OpenWith(c.bytes);
    for (const long double expected : c.values) {
        bool found = false;
        EXPECT_EQ(input.ReadReal(&found), expected);
        EXPECT_TRUE(found);
    }
    EXPECT_EQ(TakeCode(), c.code);
    EXPECT_EQ(input.ReadRestOfLine(), c.restOfLine);
}

const std::string ones64(64, '1');

INSTANTIATE_TEST_SUITE_P(
    Runs, ReadRealTest,
    ::testing::Values(
        RealCase{"BlanksAndLineEndsFirst", " \t\r\n\x01  12.5\r\nnext", {12.5L}, 0, ""},
        RealCase{"InvalidRun", "1.5x rest", {15.0L}, 106, " rest"},
        RealCase{"Negative", "-2.5", {-2.5L}, 0, ""},
        RealCase{"SeveralOnOneLine", "1\t2  -3e2\r\n", {1.0L, 2.0L, -300.0L}, 0, ""},
        RealCase{"ExtendedNotNarrowed", "1e400", {ParseReal("1e400").value}, 0, ""},
        RealCase{"EndedByCtrlZ",
                 "3\x1a"
                 "4",
                 {3.0L},
                 0,
                 ""},
        RealCase{"HighBytesAreNotBlanks", "7\xe9 x", {7.0L}, 106, " x"},
        RealCase{"LongRunSplitAt64", ones64 + "234", {ParseReal(ones64).value, 234.0L}, 0, ""}),
    [](const auto& info) { return info.param.name; });

TEST_F(TextFileTest, ReadRealKeepsTheExtendedRange) {
    OpenWith("1e400 1e-400");
    EXPECT_GT(input.ReadReal(), std::numeric_limits<double>::max());
    EXPECT_GT(input.ReadReal(), 0.0L);
}

TEST_F(TextFileTest, ReadRealAtTheEndOfTheDataFindsNothing) {
    for (const std::string bytes : {"", "   \r\n \t  ", "  \x1a 5", "\x1a"}) {
        OpenWith(bytes);
        bool found = true;
        EXPECT_EQ(input.ReadReal(&found), 0.0L) << bytes;
        EXPECT_FALSE(found) << bytes;
        EXPECT_EQ(PendingIoCode(), 0) << bytes;
        EXPECT_TRUE(input.AtEnd()) << bytes;
    }
}

TEST_F(TextFileTest, InvalidRunRaisesInvalidNumericInputAtTheCheck) {
    OpenWith("1.5x");
    EXPECT_EQ(input.ReadReal(), 15.0L);
    try {
        CheckIo();
        FAIL() << "no error raised";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.code, 106);
        EXPECT_STREQ(error.what(), "Invalid numeric input");
    }
    EXPECT_NO_THROW(CheckIo());
}

TEST_F(TextFileTest, ReadIntegerTakesRunsOfAtMost32) {
    OpenWith(std::string(31, '0') + "5" + "12 -7 $1F 12a\x1a 9");
    EXPECT_EQ(input.ReadInteger(), 5);
    EXPECT_EQ(input.ReadInteger(), 12);
    EXPECT_EQ(input.ReadInteger(), -7);
    EXPECT_EQ(input.ReadInteger(), 31);
    EXPECT_EQ(TakeCode(), 0);
    EXPECT_EQ(input.ReadInteger(), 12);
    EXPECT_EQ(TakeCode(), 106);
    EXPECT_EQ(input.ReadInteger(), 0);
    EXPECT_EQ(TakeCode(), 0);
}

TEST_F(TextFileTest, ReadRestOfLine) {
    const struct {
        std::string bytes;
        std::string first;
        std::string second; // after SkipLine
    } cases[] = {
        {"  a b  \r\nnext", "  a b  ", "next"},
        {"a\rb\r\nc", "ab", "c"},
        {"ab\ncd", "ab", "cd"},
        {"no line end", "no line end", ""},
        {"ab\x1a"
         "cd\r\nef",
         "ab", ""},
        {"\r\n\r\nx", "", ""},
        {"tail\r", "tail", ""},
    };
    for (const auto& c : cases) {
        OpenWith(c.bytes);
        EXPECT_EQ(input.ReadRestOfLine(), c.first) << c.bytes;
        EXPECT_EQ(input.ReadRestOfLine(), "") << "the line end stays unread: " << c.bytes;
        input.SkipLine();
        EXPECT_EQ(input.ReadRestOfLine(), c.second) << c.bytes;
        EXPECT_EQ(PendingIoCode(), 0);
    }
}

TEST_F(TextFileTest, ReadRestOfLineHasNoLengthLimit) {
    const std::string line(10000, 'p');
    OpenWith(line + "\r\nq");
    EXPECT_EQ(input.ReadRestOfLine(), line);
    input.SkipLine();
    EXPECT_EQ(input.ReadRestOfLine(), "q");
}

TEST_F(TextFileTest, SkipLineStopsAfterLineFeedOrAtCtrlZ) {
    OpenWith("one\r\ntwo\rstill two\nthree\x1a\nfour");
    input.SkipLine();
    EXPECT_EQ(input.ReadRestOfLine(), "twostill two");
    input.OpenForReading(folder.File("in.txt"));
    input.SkipLine();
    input.SkipLine();
    EXPECT_EQ(input.ReadRestOfLine(), "three");
    input.SkipLine();
    EXPECT_TRUE(input.AtEnd());
    input.SkipLine();
    EXPECT_TRUE(input.AtEnd());
}

TEST_F(TextFileTest, AtEndConsumesNothing) {
    const struct {
        std::string bytes;
        bool atEnd;
    } cases[] = {{"", true}, {"\x1a", true}, {"\x1a more", true}, {" ", false}, {"\r\n", false}};
    for (const auto& c : cases) {
        OpenWith(c.bytes);
        EXPECT_EQ(input.AtEnd(), c.atEnd) << c.bytes;
        EXPECT_EQ(input.AtEnd(), c.atEnd) << c.bytes;
    }
    OpenWith("x");
    EXPECT_FALSE(input.AtEnd());
    EXPECT_EQ(input.ReadRestOfLine(), "x");
}

TEST_F(TextFileTest, ReadsAcrossBufferBoundaries) {
    std::string bytes;
    for (int i = 0; i < 3000; ++i) {
        bytes += FormatInteger(i, 0) + " " + (i % 2 == 0 ? "\r\n" : "\t");
    }
    OpenWith(bytes);
    for (int i = 0; i < 3000; ++i) {
        ASSERT_EQ(input.ReadReal(), static_cast<long double>(i));
    }
    EXPECT_FALSE(input.AtEnd());
    EXPECT_EQ(input.ReadReal(), 0.0L);
    EXPECT_TRUE(input.AtEnd());
}

TEST_F(TextFileTest, CrLfSplitAcrossTheBufferStaysOneLineEnd) {
    const std::string first(4095, 'a');
    OpenWith(first + "\r\nb");
    EXPECT_EQ(input.ReadRestOfLine(), first);
    input.SkipLine();
    EXPECT_EQ(input.ReadRestOfLine(), "b");
}

TEST_F(TextFileTest, WritesItemsWithCrLfAndNothingBetween) {
    TextOutput output;
    output.OpenForWriting(folder.File("out.txt"));
    output.WriteText("ab");
    output.WriteChar('c');
    output.WriteInteger(-12);
    output.WriteInteger(7);
    output.WriteFixed(1.0, 8, 4);
    output.EndLine();
    output.WriteFixed(1234.5, 10, 6);
    output.EndLine();
    output.Close();
    EXPECT_EQ(PendingIoCode(), 0);
    EXPECT_EQ(ReadBytes(folder.File("out.txt")), "abc-127  1.0000\r\n1234.500000\r\n");
}

TEST_F(TextFileTest, OutputReachesTheFileWhenTheBufferIsFullAndAtClose) {
    const std::string path = folder.File("out.txt");
    TextOutput output;
    output.OpenForWriting(path);
    output.WriteText("small");
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    const std::string big(10000, 'z');
    output.WriteText(big);
    EXPECT_GT(std::filesystem::file_size(path), 0u);
    output.Close();
    EXPECT_EQ(ReadBytes(path), "small" + big);
}

TEST_F(TextFileTest, OpeningForWritingEmptiesAnExistingFile) {
    const std::string path = folder.File("out.txt");
    WriteBytes(path, "old contents");
    TextOutput output;
    output.OpenForWriting(path);
    output.WriteText("new");
    output.Close();
    EXPECT_EQ(ReadBytes(path), "new");
}

TEST_F(TextFileTest, OpeningAnOpenFileClosesItFirst) {
    TextOutput output;
    output.OpenForWriting(folder.File("a.txt"));
    output.WriteText("first");
    output.OpenForWriting(folder.File("b.txt"));
    output.WriteText("second");
    output.Close();
    EXPECT_EQ(ReadBytes(folder.File("a.txt")), "first");
    EXPECT_EQ(ReadBytes(folder.File("b.txt")), "second");

    input.OpenForReading(folder.File("a.txt"));
    input.OpenForReading(folder.File("b.txt"));
    EXPECT_EQ(input.ReadRestOfLine(), "second");
    input.Close();
    EXPECT_EQ(PendingIoCode(), 0);
}

TEST_F(TextFileTest, DestructorClosesSilently) {
    {
        TextOutput output;
        output.OpenForWriting(folder.File("out.txt"));
        output.WriteText("x");
        TextInput reader;
        reader.OpenForReading(folder.File("out.txt"));
    }
    EXPECT_EQ(PendingIoCode(), 0);
}

TEST_F(TextFileTest, OperationsOnAFileNotOpenRecord103) {
    TextInput closed;
    EXPECT_EQ(closed.ReadReal(), 0.0L);
    EXPECT_EQ(TakeCode(), 103);
    EXPECT_EQ(closed.ReadRestOfLine(), "");
    EXPECT_EQ(TakeCode(), 103);
    TextOutput unopened;
    unopened.WriteText("x");
    EXPECT_EQ(TakeCode(), 103);
    unopened.Close();
    EXPECT_EQ(TakeCode(), 103);
}

TEST_F(TextFileTest, ALaterFailureReplacesTheCodeAndOperationsStillRun) {
    input.OpenForReading(folder.File("missing.txt"));
    EXPECT_EQ(TakeCode(), 2);
    OpenWith("1x 2.5");
    RecordIoCode(2);
    EXPECT_EQ(input.ReadReal(), 1.0L);
    EXPECT_EQ(input.ReadReal(), 2.5L);
    EXPECT_EQ(TakeCode(), 106);
}

TEST_F(TextFileTest, PendingCodeBelongsToItsThread) {
    RecordIoCode(101);
    int otherThreadCode = -1;
    std::thread([&] { otherThreadCode = PendingIoCode(); }).join();
    EXPECT_EQ(otherThreadCode, 0);
    EXPECT_EQ(TakeCode(), 101);
}

// The code each failing open records, provoked for real.
class OpenFailureTest : public TextFileTest {
protected:
    static int ReadCode(const std::string& path) {
        TextInput reader;
        reader.OpenForReading(path);
        return TakeCode();
    }
    static int WriteCode(const std::string& path) {
        TextOutput writer;
        writer.OpenForWriting(path);
        return TakeCode();
    }
};

TEST_F(OpenFailureTest, MissingFileOrFolder) {
    EXPECT_EQ(ReadCode(folder.File("missing.txt")), 2);
    EXPECT_EQ(ReadCode(folder.File("nofolder/missing.txt")), 3);
    EXPECT_EQ(WriteCode(folder.File("nofolder/new.txt")), 3);
    EXPECT_EQ(ReadCode(""), 2);
}

TEST_F(OpenFailureTest, MissingFileWithoutFolderPart) {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    EXPECT_EQ(ReadCode("missing.txt"), 2);
    std::filesystem::current_path(previous);
}

TEST_F(OpenFailureTest, InvalidNames) {
    WriteBytes(folder.File("plain.txt"), "x");
    EXPECT_EQ(ReadCode(folder.File("plain.txt/inner.txt")), 3);
    EXPECT_EQ(WriteCode(folder.File("plain.txt/inner.txt")), 3);
    EXPECT_EQ(ReadCode(folder.File(std::string(300, 'n'))), 3);
    std::filesystem::create_symlink("loop-b", folder.File("loop-a"));
    std::filesystem::create_symlink("loop-a", folder.File("loop-b"));
    EXPECT_EQ(ReadCode(folder.File("loop-a")), 3);
}

TEST_F(OpenFailureTest, FolderIsDeniedForReadingAndWriting) {
    EXPECT_EQ(ReadCode(folder.Path()), 5);
    EXPECT_EQ(WriteCode(folder.Path()), 5);
}

// The opens run in a child with a watchdog, as one that waits would never return.
TEST_F(OpenFailureTest, WhatIsNotARegularFileIsDeniedWithoutWaiting) {
    const auto atMost254 = [](int code) { return std::min(code, 254); };
    for (const auto& special : test_support::MakeSpecialFiles(folder.Path())) {
        EXPECT_EQ(
            test_support::RunInChild([&] { return atMost254(ReadCode(special.path)); }, {}, 1), 5)
            << special.name << ", read";
        EXPECT_EQ(
            test_support::RunInChild([&] { return atMost254(WriteCode(special.path)); }, {}, 1), 5)
            << special.name << ", written";
    }
    EXPECT_TRUE(std::filesystem::is_fifo(folder.File("pipe")));
    EXPECT_TRUE(std::filesystem::is_socket(folder.File("socket")));
}

// The descriptor of `path` among this process's open ones, -1 when none.
int DescriptorOf(const std::string& path) {
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(entry.path(), error) == path) {
            return std::stoi(entry.path().filename().string());
        }
    }
    return -1;
}

// Regular files are opened without blocking only for the check, and read and written blocking.
TEST_F(OpenFailureTest, RegularFilesAreReadAndWrittenBlocking) {
    const std::string path = folder.File("regular.txt");
    WriteBytes(path, "1");
    input.OpenForReading(path);
    const int readFd = DescriptorOf(path);
    ASSERT_GE(readFd, 0);
    EXPECT_EQ(fcntl(readFd, F_GETFL) & O_NONBLOCK, 0);
    input.Close();
    TextOutput output;
    output.OpenForWriting(path);
    const int writeFd = DescriptorOf(path);
    ASSERT_GE(writeFd, 0);
    EXPECT_EQ(fcntl(writeFd, F_GETFL) & O_NONBLOCK, 0);
    output.Close();
    EXPECT_EQ(TakeCode(), 0);
}

TEST_F(OpenFailureTest, EmptyNameForWritingIs105) {
    EXPECT_EQ(WriteCode(""), 105);
    TextOutput writer;
    writer.OpenForWriting("");
    try {
        CheckIo();
        FAIL() << "no error raised";
    } catch (const EInOutError& error) {
        EXPECT_STREQ(error.what(), "I/O error 105");
    }
}

TEST_F(OpenFailureTest, PermissionDeniedForAnOrdinaryUser) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root is never denied by file permissions";
    }
    const std::string path = folder.File("locked.txt");
    WriteBytes(path, "x");
    std::filesystem::permissions(path, std::filesystem::perms::none);
    EXPECT_EQ(ReadCode(path), 5);
    EXPECT_EQ(WriteCode(path), 5);
}

TEST_F(OpenFailureTest, ImmutableFileIsDenied) {
    const std::string path = folder.File("immutable.txt");
    WriteBytes(path, "keep");
    const int fd = ::open(path.c_str(), O_RDONLY);
    int flags = 0;
    if (ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0 ||
        (flags |= FS_IMMUTABLE_FL, ioctl(fd, FS_IOC_SETFLAGS, &flags) != 0)) {
        ::close(fd);
        GTEST_SKIP() << "the immutable flag cannot be set here";
    }
    EXPECT_EQ(WriteCode(path), 5);
    flags &= ~FS_IMMUTABLE_FL;
    ioctl(fd, FS_IOC_SETFLAGS, &flags);
    ::close(fd);
    EXPECT_EQ(ReadBytes(path), "keep");
}

TEST_F(OpenFailureTest, ReadOnlyFileSystemIsDenied) {
    ScopedTmpfs mount(folder.File("ro"), "size=64k");
    if (!mount.Mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    WriteBytes(folder.File("ro/file.txt"), "x");
    ASSERT_TRUE(mount.RemountReadOnly());
    EXPECT_EQ(WriteCode(folder.File("ro/file.txt")), 5);
    EXPECT_EQ(WriteCode(folder.File("ro/new.txt")), 5);
}

TEST_F(OpenFailureTest, TooManyOpenFiles) {
    // Paths are made first: with no descriptor left, the sanitizers cannot check the fixture.
    const std::string present = folder.File("present.txt");
    const std::string created = folder.File("new.txt");
    WriteBytes(present, "x");
    rlimit previous{};
    getrlimit(RLIMIT_NOFILE, &previous);
    rlimit low = previous;
    low.rlim_cur = 32;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
    std::vector<int> held;
    for (int fd = ::open("/dev/null", O_RDONLY); fd >= 0; fd = ::open("/dev/null", O_RDONLY)) {
        held.push_back(fd);
    }
    const int readCode = ReadCode(present);
    const int writeCode = WriteCode(created);
    for (const int fd : held) {
        ::close(fd);
    }
    setrlimit(RLIMIT_NOFILE, &previous);
    EXPECT_EQ(readCode, 4);
    EXPECT_EQ(writeCode, 4);
}

// Fills a tmpfs so that the next write finds no room.
TEST_F(OpenFailureTest, DiskFullOnATinyFileSystem) {
    ScopedTmpfs mount(folder.File("tiny"), "size=16k");
    if (!mount.Mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    WriteBytes(folder.File("tiny/filler"), std::string(std::size_t{64} * 1024, 'f'));
    TextOutput writer;
    writer.OpenForWriting(folder.File("tiny/out.txt"));
    ASSERT_EQ(PendingIoCode(), 0);
    writer.WriteText(std::string(5000, 'x'));
    writer.Close();
    EXPECT_EQ(TakeCode(), 101);
}

TEST_F(OpenFailureTest, FileSizeLimitIsDiskFull) {
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit low = previous;
    low.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &low), 0);
    TextOutput writer;
    writer.OpenForWriting(folder.File("out.txt"));
    writer.WriteText(std::string(200, 'x'));
    writer.Close();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(TakeCode(), 101);
    EXPECT_EQ(std::filesystem::file_size(folder.File("out.txt")), 100u);
}

std::ptrdiff_t FailWithErrno(int error) {
    errno = error;
    return -1;
}

TEST_F(OpenFailureTest, InjectedWriteFailures) {
    const struct {
        TextOutput::WriteCall call;
        int code;
    } cases[] = {
        {[](int, const char*, std::size_t) { return FailWithErrno(ENOSPC); }, 101},
        {[](int, const char*, std::size_t) { return FailWithErrno(EDQUOT); }, 101},
        {[](int, const char*, std::size_t) { return FailWithErrno(EIO); }, 1000 + EIO},
    };
    for (const auto& c : cases) {
        TextOutput::SetWriteCallForTesting(c.call);
        TextOutput writer;
        writer.OpenForWriting(folder.File("out.txt"));
        writer.WriteText("data");
        writer.Close();
        TextOutput::SetWriteCallForTesting(nullptr);
        EXPECT_EQ(TakeCode(), c.code);
    }
}

TEST_F(OpenFailureTest, PartialWritesAreCompleted) {
    TextOutput::SetWriteCallForTesting(
        [](int fd, const char* data, std::size_t size) -> std::ptrdiff_t {
            return ::write(fd, data, size < 3 ? size : 3);
        });
    TextOutput writer;
    writer.OpenForWriting(folder.File("out.txt"));
    writer.WriteText("partial writes");
    writer.Close();
    TextOutput::SetWriteCallForTesting(nullptr);
    EXPECT_EQ(TakeCode(), 0);
    EXPECT_EQ(ReadBytes(folder.File("out.txt")), "partial writes");
}

} // namespace

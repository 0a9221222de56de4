#include "child_process.h"
#include "expect_same_soil.h"
#include "project/errors.h"
#include "project/project_file.h"
#include "project/project_state.h"
#include "project/shown_text.h"
#include "project/text_output.h"
#include "special_files.h"
#include "tests/support/file_bytes.h"
#include "tests/support/scoped_tmpfs.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace zelmora;
using test_support::ReadBytes;
using test_support::RunInChild;
using test_support::ScopedTmpfs;
using test_support::TempFolder;
using test_support::WriteBytes;
namespace fs = std::filesystem;

namespace {

const std::string ZeroSoilLine = "0   0.000000   0.000000   0.000000   0.000000 ";

std::string JoinCrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (auto end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, text.size()) << "the last line lacks its CR LF";
    return lines;
}

// The file the writer produces right after start-up.
std::vector<std::string> StartUpLines() {
    std::vector<std::string> lines = {
        "ZELMORA",
        "Safety Factor:",
        "  0.000000",
        "Probability of failure + linearity:",
        "  0.499861  0.000000",
        "",
        "*** soil data ***",
        "set; phi mean; phi stnd. dev.; coh. mean.; coh. stnd. dev.",
    };
    lines.insert(lines.end(), 10, ZeroSoilLine);
    lines.insert(lines.end(), {"", "c:\\program files\\Plaxis8x\\batch.exe",
                               "c:\\progs\\zelmora\\plaxis\\test.plx", "test",
                               "  1.000000  stepsize", "", "  0.000000"});
    lines.insert(lines.end(), 23, "  0.000000");
    lines.push_back("*** end ***");
    return lines;
}

void ExpectSameStoredFields(const ProjectState& a, const ProjectState& b) {
    ExpectSameSoil(a, b);
    EXPECT_EQ(a.SafetyFactors, b.SafetyFactors);
    EXPECT_EQ(a.LastSafetyFactor, b.LastSafetyFactor);
    EXPECT_EQ(a.FailureProbability, b.FailureProbability);
    EXPECT_EQ(a.Linearity, b.Linearity);
    EXPECT_EQ(a.Beta, b.Beta);
    EXPECT_EQ(a.StepSize, b.StepSize);
    EXPECT_EQ(a.BatchPath, b.BatchPath);
    EXPECT_EQ(a.ProjectPath, b.ProjectPath);
    EXPECT_EQ(a.ProjectName, b.ProjectName);
}

void ExpectSameUnstoredFields(const ProjectState& a, const ProjectState& b) {
    EXPECT_EQ(a.Variables, b.Variables);
    EXPECT_EQ(a.VariableCount, b.VariableCount);
    EXPECT_EQ(a.Sensitivities, b.Sensitivities);
    EXPECT_EQ(a.ResultFilePath, b.ResultFilePath);
    EXPECT_EQ(a.ModificationFilePath, b.ModificationFilePath);
    EXPECT_EQ(a.ShowCalculations, b.ShowCalculations);
    EXPECT_EQ(a.CurrentFileName, b.CurrentFileName);
}

void ExpectSameState(const ProjectState& a, const ProjectState& b) {
    ExpectSameStoredFields(a, b);
    ExpectSameUnstoredFields(a, b);
}

// Every stored field set, none of them exactly representable in the file by accident.
ProjectState AwkwardState() {
    ProjectState s{};
    SetDefaults();
    s = State;
    Row(s, 1) = {-3, 30.0, 3.0, 5.0, 1.0};
    Row(s, 2) = {2147483647, -1.5, 1234.5, 0.125, 98765.4321};
    Row(s, 4) = {-2147483647 - 1, 1.0 / 3.0, 2.0 / 3.0, 1e-7, -0.0000004};
    Row(s, 10) = {42, 12345678.123456, 0.000001, 35.25, 2.5};
    for (int key = -2; key <= 20; ++key) {
        Entry(s.SafetyFactors, key) = 1.0 + key / 7.0;
    }
    s.FailureProbability = 0.0013499;
    s.Linearity = 1234.5;
    s.Beta = -2.75;
    s.StepSize = 0.35;
    s.BatchPath = "  /opt/plaxis/batch exe  ";
    s.ProjectPath = "\t/home/user/my project.plx ";
    s.ProjectName = " name with blanks ";
    return s;
}

// A value as the file keeps it: rounded to 6 decimals.
double AsStored(double value) {
    return std::round(value * 1e6) / 1e6;
}

class ProjectFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = State;
        RecordIoCode(0);
        State = ProjectState{};
        SetDefaults();
        // The output window stores the probability of a zero beta at start-up.
        State.FailureProbability = 0.4998612;
    }
    void TearDown() override {
        TextOutput::SetWriteCallForTesting(nullptr);
        State = saved_;
        RecordIoCode(0);
    }

    std::vector<std::string> WrittenLines(const std::string& path) {
        WriteProjectFile(path);
        return SplitCrLf(ReadBytes(path));
    }

    // The folder's entries, to see that no temporary file is left behind.
    std::vector<std::string> Entries(const std::string& path) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(path)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder folder;
    ProjectState saved_;
};

// Calls `action` and returns the message of the Error it raises.
std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "no error";
}

TEST_F(ProjectFileTest, StartUpStateIsWrittenByteForByte) {
    const std::string path = folder.File("start.zmo");
    WriteProjectFile(path);
    EXPECT_EQ(ReadBytes(path), JoinCrLf(StartUpLines()));
    EXPECT_EQ(SplitCrLf(ReadBytes(path)).size(), 49u);
}

TEST_F(ProjectFileTest, SingleLines) {
    const struct {
        std::string name;
        std::function<void(ProjectState&)> set;
        std::size_t line;
        std::string expected;
    } cases[] = {
        {"soil row",
         [](ProjectState& s) {
             Row(s, 1) = {1, 30, 3, 5, 1};
         },
         9, "1  30.000000   3.000000   5.000000   1.000000 "},
        {"last soil row",
         [](ProjectState& s) {
             Row(s, 10) = {-12, -1.5, 0, 0, 0};
         },
         18, "-12  -1.500000   0.000000   0.000000   0.000000 "},
        {"line 5", [](ProjectState& s) { s.FailureProbability = 0.012345, s.Linearity = 0.987654; },
         5, "  0.012345  0.987654"},
        {"mean factor", [](ProjectState& s) { Entry(s.SafetyFactors, 0) = 1.5; }, 3, "  1.500000"},
        {"mean factor twice", [](ProjectState& s) { Entry(s.SafetyFactors, 0) = 1.5; }, 28,
         "  1.500000"},
        {"all reduced", [](ProjectState& s) { Entry(s.SafetyFactors, -2) = -1.5; }, 26,
         " -1.500000"},
        {"last cohesion", [](ProjectState& s) { Entry(s.SafetyFactors, 20) = 1234.5; }, 48,
         "1234.500000"},
        {"beta", [](ProjectState& s) { s.Beta = 2.5; }, 25, "  2.500000"},
        {"step size", [](ProjectState& s) { s.StepSize = 0.5; }, 23, "  0.500000  stepsize"},
    };
    for (const auto& c : cases) {
        SetUp();
        c.set(State);
        const auto lines = WrittenLines(folder.File("lines.zmo"));
        ASSERT_EQ(lines.size(), 49u) << c.name;
        EXPECT_EQ(lines[c.line - 1], c.expected) << c.name;
    }
}

TEST_F(ProjectFileTest, LinearityThatFillsItsFieldGetsOneBlankAndReadsBack) {
    const struct {
        double linearity;
        std::string line;
    } cases[] = {
        {99.9999994, "  0.499861 99.999999"},
        {-9.9999994, "  0.499861 -9.999999"},
        {100.0, "  0.499861 100.000000"},
        {-10.0, "  0.499861 -10.000000"},
        {1234.5, "  0.499861 1234.500000"},
        {-1234.5, "  0.499861 -1234.500000"},
        {5e20, "  0.499861 500000000000000000000.000000"},
    };
    const std::string path = folder.File("line5.zmo");
    for (const auto& c : cases) {
        State.Linearity = c.linearity;
        EXPECT_EQ(WrittenLines(path)[4], c.line);
        State.Linearity = 0;
        ReadProjectFile(path);
        EXPECT_DOUBLE_EQ(State.Linearity, AsStored(c.linearity)) << c.line;
        EXPECT_EQ(State.FailureProbability, 0.499861);
    }
}

TEST_F(ProjectFileTest, RoundTripRestoresEveryStoredField) {
    const ProjectState written = AwkwardState();
    State = written;
    const std::string path = folder.File("round.zmo");
    WriteProjectFile(path);

    State = ProjectState{};
    for (int key = -2; key <= 20; ++key) {
        Entry(State.Variables, key) = key * 3;
        Entry(State.Sensitivities, key) = key * 0.25;
    }
    State.VariableCount = 5;
    State.ResultFilePath = "result";
    State.ModificationFilePath = "modification";
    State.ShowCalculations = true;
    State.CurrentFileName = path;
    const ProjectState before = State;
    ReadProjectFile(path);
    ExpectSameUnstoredFields(State, before);

    for (int r = 1; r <= SoilRowCount; ++r) {
        const SoilSet& in = Row(written, r);
        const SoilSet& out = Row(State, r);
        EXPECT_EQ(out.SetNumber, in.SetNumber);
        EXPECT_DOUBLE_EQ(out.PhiMean, AsStored(in.PhiMean)) << r;
        EXPECT_DOUBLE_EQ(out.PhiStdDev, AsStored(in.PhiStdDev)) << r;
        EXPECT_DOUBLE_EQ(out.CohesionMean, AsStored(in.CohesionMean)) << r;
        EXPECT_DOUBLE_EQ(out.CohesionStdDev, AsStored(in.CohesionStdDev)) << r;
    }
    EXPECT_EQ(Row(State, 2).PhiMean, -1.5);
    EXPECT_EQ(Row(State, 2).PhiStdDev, 1234.5);
    EXPECT_EQ(Row(State, 4).PhiMean, 0.333333);
    EXPECT_EQ(Row(State, 4).CohesionStdDev, -0.0);
    for (int key = -2; key <= 20; ++key) {
        EXPECT_DOUBLE_EQ(Entry(State.SafetyFactors, key),
                         AsStored(Entry(written.SafetyFactors, key)))
            << key;
    }
    EXPECT_EQ(State.LastSafetyFactor, Entry(State.SafetyFactors, 0));
    EXPECT_EQ(State.FailureProbability, 0.00135);
    EXPECT_EQ(State.Linearity, 1234.5);
    EXPECT_EQ(State.Beta, -2.75);
    EXPECT_EQ(State.StepSize, 0.35);
    EXPECT_EQ(State.BatchPath, written.BatchPath);
    EXPECT_EQ(State.ProjectPath, written.ProjectPath);
    EXPECT_EQ(State.ProjectName, written.ProjectName);
}

TEST_F(ProjectFileTest, LenientReaderReadsVariantsOfTheWrittenFile) {
    State = AwkwardState();
    const std::string path = folder.File("original.zmo");
    WriteProjectFile(path);
    const std::string original = ReadBytes(path);
    State = ProjectState{};
    ReadProjectFile(path);
    const ProjectState expected = State;

    const auto replaceAll = [](std::string text, const std::string& from, const std::string& to) {
        for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + 1)) {
            text.replace(at, from.size(), to);
            at += to.size() - 1;
        }
        return text;
    };
    const std::string lastLine = "*** end ***\r\n";
    const std::string withoutEnd = original.substr(0, original.size() - lastLine.size());
    const struct {
        std::string name;
        std::string bytes;
    } variants[] = {
        {"first line not ZELMORA", "SOMETHING ELSE" + original.substr(7)},
        {"missing last line", withoutEnd},
        {"last line without line end", original.substr(0, original.size() - 2)},
        {"text after the last line", original + "more text\r\n1 2 3\r\n"},
        {"LF line ends", replaceAll(original, "\r\n", "\n")},
        {"tabs instead of blanks", replaceAll(original, "0 ", "0\t")},
        {"several blanks", replaceAll(original, "0 ", "0    ")},
        {"Ctrl-Z after the last value", withoutEnd + "\x1a garbage"},
    };
    for (const auto& variant : variants) {
        const std::string variantPath = folder.File("variant.zmo");
        WriteBytes(variantPath, variant.bytes);
        State = ProjectState{};
        ReadProjectFile(variantPath);
        SCOPED_TRACE(variant.name);
        ExpectSameState(State, expected);
    }
}

TEST_F(ProjectFileTest, EmptyFileSetsEveryNumberToZeroAndTextsToEmpty) {
    State = AwkwardState();
    State.CurrentFileName = "kept";
    const std::string path = folder.File("empty.zmo");
    WriteBytes(path, "");
    ReadProjectFile(path);
    ProjectState expected{};
    expected.CurrentFileName = "kept";
    ExpectSameStoredFields(State, expected);
    EXPECT_EQ(State.CurrentFileName, "kept");
    EXPECT_TRUE(State.ShowCalculations);
}

TEST_F(ProjectFileTest, SoilLineWithFourValuesShiftsTheLaterSteps) {
    const std::string path = folder.File("short.zmo");
    WriteBytes(path, JoinCrLf({"ZELMORA", "Safety Factor:", "  1.5", "x", " 0.25 0.75", "", "", "",
                               "1 30 3 5", "2 31 4 6 2 rest of the line", "3 32 5 7 3"}));
    ReadProjectFile(path);
    EXPECT_EQ(State.LastSafetyFactor, 1.5);
    EXPECT_EQ(State.FailureProbability, 0.25);
    EXPECT_EQ(State.Linearity, 0.75);
    EXPECT_EQ(Row(State, 1).SetNumber, 1);
    EXPECT_EQ(Row(State, 1).CohesionMean, 5.0);
    EXPECT_EQ(Row(State, 1).CohesionStdDev, 2.0);
    EXPECT_EQ(Row(State, 2).SetNumber, 3);
    EXPECT_EQ(Row(State, 2).CohesionStdDev, 3.0);
    EXPECT_EQ(Row(State, 3).SetNumber, 0);
    EXPECT_EQ(Row(State, 3).PhiMean, 0.0);
    EXPECT_EQ(State.BatchPath, "");
    EXPECT_EQ(State.StepSize, 0.0);
}

// Each failure names what it met: the file as it was given, and for a number that does not
// parse the line (counted from 1) and the text that stood there.
TEST_F(ProjectFileTest, ReadFailuresChangeNothingAndNameTheFileAndLine) {
    const std::string good = folder.File("good.zmo");
    State = AwkwardState();
    WriteProjectFile(good);
    const auto lines = SplitCrLf(ReadBytes(good));
    const auto withLine = [&](std::size_t number, const std::string& text) {
        auto changed = lines;
        changed[number - 1] = text;
        std::string path = folder.File("bad" + std::to_string(number) + text + ".zmo");
        WriteBytes(path, JoinCrLf(changed));
        return path;
    };
    const auto at = [&](std::size_t number, const std::string& text, const std::string& what) {
        return ShownText(withLine(number, text)) + ", line " + std::to_string(number) + what;
    };
    const struct {
        std::string name;
        std::string path;
        std::string message;
        std::string detail;
    } cases[] = {
        {"missing file", folder.File("missing.zmo"), "File not found", folder.File("missing.zmo")},
        {"missing folder", folder.File("nofolder/x.zmo"), "Invalid filename",
         folder.File("nofolder/x.zmo")},
        {"folder", folder.Path(), "File access denied", folder.Path()},
        {"bad soil number", withLine(12, "4 30 3,5 5 1"), "Invalid numeric input",
         at(12, "4 30 3,5 5 1", " (soil row 4): \"3,5\" is not a number")},
        {"bad set number", withLine(9, "1.0 30 3 5 1"), "Invalid numeric input",
         at(9, "1.0 30 3 5 1", " (soil row 1): \"1.0\" is not a number")},
        {"bad step size", withLine(23, "1,5  stepsize"), "Invalid numeric input",
         at(23, "1,5  stepsize", " (step size): \"1,5\" is not a number")},
        {"bad last factor", withLine(48, "  1.5x"), "Invalid numeric input",
         at(48, "  1.5x", ": \"1.5x\" is not a number")},
        {"control characters", withLine(3, "1\x7f[2J"), "Invalid numeric input",
         at(3, "1\x7f[2J", ": \"1?[2J\" is not a number")},
        {"overflow", withLine(23, "1e400  stepsize"), "Floating point overflow", ""},
        {"overflow after a bad number", withLine(5, "abc 1e400"), "Floating point overflow", ""},
        {"beyond the scaling table", withLine(25, "1e6000"), "Floating point overflow", ""},
    };
    State = ProjectState{};
    SetDefaults();
    State.CurrentFileName = "chosen";
    const ProjectState before = State;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            ReadProjectFile(c.path);
            ADD_FAILURE() << "read";
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), c.message);
            EXPECT_EQ(error.Detail(), c.detail);
        }
        ExpectSameState(State, before);
        EXPECT_EQ(PendingIoCode(), 0);
    }
}

TEST_F(ProjectFileTest, WriteFailuresReportTheirMessages) {
    WriteBytes(folder.File("plain"), "x");
    const struct {
        std::string path;
        std::string message;
    } cases[] = {
        {folder.File("nofolder/x.zmo"), "Invalid filename"},
        {folder.File("plain/x.zmo"), "Invalid filename"},
        {folder.File(std::string(300, 'n')), "Invalid filename"},
        {folder.Path(), "File access denied"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf([&] { WriteProjectFile(c.path); }), c.message) << c.path;
        EXPECT_EQ(PendingIoCode(), 0);
    }
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"plain"});
}

TEST_F(ProjectFileTest, EmptyNameIsIoError105AndWritesNothing) {
    const auto previous = fs::current_path();
    fs::current_path(folder.Path());
    const std::string message = ErrorOf([] { WriteProjectFile(""); });
    fs::current_path(previous);
    EXPECT_EQ(message, "I/O error 105");
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{});
}

// Writes `old` to the target, makes the next write of the save fail with `error`, and checks
// that the save reports `message` and leaves the old file and its folder as they were.
class FailingSaveTest : public ProjectFileTest {
protected:
    void ExpectFailedSaveKeeps(const std::string& message) {
        const std::string targetFolder = fs::path(target).parent_path().string();
        const auto entriesBefore = Entries(targetFolder);
        EXPECT_EQ(ErrorOf([&] { WriteProjectFile(target); }), message);
        TextOutput::SetWriteCallForTesting(nullptr);
        EXPECT_EQ(ReadBytes(target), old);
        EXPECT_EQ(Entries(targetFolder), entriesBefore);
    }

    std::string target = folder.File("keep.zmo");
    const std::string old = "old project\r\n";
};

std::ptrdiff_t FailWithErrno(int error) {
    errno = error;
    return -1;
}

TEST_F(FailingSaveTest, InjectedDiskFullKeepsTheOldFile) {
    WriteBytes(target, old);
    TextOutput::SetWriteCallForTesting(
        [](int, const char*, std::size_t) { return FailWithErrno(ENOSPC); });
    ExpectFailedSaveKeeps("Disk full");
    TextOutput::SetWriteCallForTesting(
        [](int, const char*, std::size_t) { return FailWithErrno(EIO); });
    ExpectFailedSaveKeeps("I/O error 1005");
}

TEST_F(FailingSaveTest, DiskFullOnATinyFileSystemKeepsTheOldFile) {
    ScopedTmpfs mount(folder.File("tiny"), "size=16k");
    if (!mount.Mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    target = folder.File("tiny/keep.zmo");
    WriteBytes(target, old);
    const std::string filler = folder.File("tiny/filler");
    WriteBytes(filler, std::string(std::size_t{64} * 1024, 'f'));
    ASSERT_LT(fs::file_size(filler), 64u * 1024u) << "the tmpfs did not fill up";
    ExpectFailedSaveKeeps("Disk full");
}

TEST_F(FailingSaveTest, TargetThatMayNotBeWrittenIsDenied) {
    WriteBytes(target, old);
    const int fd = ::open(target.c_str(), O_RDONLY);
    int flags = 0;
    if (ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0 ||
        (flags |= FS_IMMUTABLE_FL, ioctl(fd, FS_IOC_SETFLAGS, &flags) != 0)) {
        ::close(fd);
        GTEST_SKIP() << "the immutable flag cannot be set here";
    }
    ExpectFailedSaveKeeps("File access denied");
    flags &= ~FS_IMMUTABLE_FL;
    ioctl(fd, FS_IOC_SETFLAGS, &flags);
    ::close(fd);
}

TEST_F(FailingSaveTest, ReadOnlyFileOfAnOrdinaryUserIsDenied) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root is never denied by file permissions";
    }
    WriteBytes(target, old);
    fs::permissions(target, fs::perms::owner_read);
    ExpectFailedSaveKeeps("File access denied");
}

TEST_F(FailingSaveTest, ReadOnlyFileSystemIsDenied) {
    ScopedTmpfs mount(folder.File("ro"), "size=64k");
    if (!mount.Mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    target = folder.File("ro/keep.zmo");
    WriteBytes(target, old);
    ASSERT_TRUE(mount.RemountReadOnly());
    ExpectFailedSaveKeeps("File access denied");
}

// The path of the file each write goes to, seen through the descriptor.
std::string writtenPath;

TEST_F(ProjectFileTest, SaveWritesATemporaryFileBesideTheTargetAndReplacesIt) {
    const std::string target = folder.File("project.zmo");
    WriteBytes(target, "old");
    TextOutput::SetWriteCallForTesting([](int fd, const char* data, std::size_t size) {
        writtenPath = fs::read_symlink("/proc/self/fd/" + std::to_string(fd)).string();
        return static_cast<std::ptrdiff_t>(::write(fd, data, size));
    });
    WriteProjectFile(target);
    EXPECT_EQ(fs::path(writtenPath).parent_path(), fs::path(folder.Path()));
    EXPECT_NE(writtenPath, target);
    EXPECT_EQ(ReadBytes(target), JoinCrLf(StartUpLines()));
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"project.zmo"});
}

TEST_F(ProjectFileTest, SaveKeepsThePermissionsOfTheOldFile) {
    const std::string target = folder.File("project.zmo");
    for (const auto mode : {fs::perms(0640), fs::perms(0604), fs::perms(0755)}) {
        WriteBytes(target, "old");
        fs::permissions(target, mode);
        WriteProjectFile(target);
        EXPECT_EQ(fs::status(target).permissions(), mode);
    }
}

TEST_F(ProjectFileTest, NewFileGetsTheUsualPermissions) {
    for (const mode_t mask : {022, 027}) {
        const mode_t previous = umask(mask);
        const std::string target = folder.File("new" + std::to_string(mask) + ".zmo");
        WriteProjectFile(target);
        umask(previous);
        EXPECT_EQ(static_cast<mode_t>(fs::status(target).permissions()), 0666 & ~mask);
    }
}

TEST_F(ProjectFileTest, SymbolicLinkIsFollowedAndKept) {
    fs::create_directory(folder.File("real"));
    const std::string real = folder.File("real/project.zmo");
    WriteBytes(real, "old");
    fs::create_symlink("real/project.zmo", folder.File("link.zmo"));
    fs::create_symlink("link.zmo", folder.File("link-to-link.zmo"));
    WriteProjectFile(folder.File("link-to-link.zmo"));
    EXPECT_TRUE(fs::is_symlink(folder.File("link.zmo")));
    EXPECT_TRUE(fs::is_symlink(folder.File("link-to-link.zmo")));
    EXPECT_EQ(ReadBytes(real), JoinCrLf(StartUpLines()));
    EXPECT_EQ(Entries(folder.File("real")), std::vector<std::string>{"project.zmo"});

    fs::create_symlink("real/new.zmo", folder.File("dangling.zmo"));
    WriteProjectFile(folder.File("dangling.zmo"));
    EXPECT_TRUE(fs::is_symlink(folder.File("dangling.zmo")));
    EXPECT_EQ(ReadBytes(folder.File("real/new.zmo")), JoinCrLf(StartUpLines()));
}

TEST_F(ProjectFileTest, SymbolicLinkLoopIsAnInvalidName) {
    fs::create_symlink("b.zmo", folder.File("a.zmo"));
    fs::create_symlink("a.zmo", folder.File("b.zmo"));
    EXPECT_EQ(ErrorOf([&] { WriteProjectFile(folder.File("a.zmo")); }), "Invalid filename");
    EXPECT_TRUE(fs::is_symlink(folder.File("a.zmo")));
}

// A save replaces no pipe, device or socket by a file and writes into none of them; the
// opens run in a child with a watchdog, as one that waits would never return.
TEST_F(ProjectFileTest, WhatIsNotARegularFileIsDeniedWithoutWaiting) {
    const std::string special = folder.File("special");
    fs::create_directory(special);
    const auto files = test_support::MakeSpecialFiles(special);
    const auto before = Entries(special);
    const auto codeOf = [](const std::function<void()>& action) {
        try {
            action();
        } catch (const EInOutError& error) {
            return std::min(error.code, 254);
        }
        return 0;
    };
    for (const auto& file : files) {
        EXPECT_EQ(RunInChild([&] { return codeOf([&] { ReadProjectFile(file.path); }); }, {}, 1), 5)
            << file.name << ", read";
        EXPECT_EQ(RunInChild([&] { return codeOf([&] { WriteProjectFile(file.path); }); }, {}, 1),
                  5)
            << file.name << ", written";
    }
    EXPECT_EQ(Entries(special), before);
    EXPECT_TRUE(fs::is_fifo(folder.File("special/pipe")));
    EXPECT_TRUE(fs::is_symlink(folder.File("special/link-to-pipe")));
}

} // namespace

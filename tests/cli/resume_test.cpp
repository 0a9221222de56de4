// An interrupted zelmora-batch taken up again with --resume: the runs its journal holds are not
// run again, and the log, the saved project and study and the JSON are those of an analysis
// that was never interrupted.
#include "project/project_file.h"
#include "project/project_state.h"
#include "study/study.h"
#include "tests/cli/batch_process.h"
#include "tests/cli/slope_project.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace zelmora {
namespace {

using nlohmann::json;
using test_support::ReadBytes;
using test_support::WriteBytes;
namespace fs = std::filesystem;

// What an analysis leaves that must not depend on being interrupted; the runs' seconds are left
// out, since the runs done again take their own time, and so is whether a run was reused.
struct Outcome {
    std::string log;
    std::string project;
    json study;
    json analysis;
};

// Standard error without the note that a killed analysis's modification file was reset.
std::string WithoutResetNote(const std::string& err) {
    const std::string note = "The modification file still held the values";
    if (!err.starts_with(note)) {
        return err;
    }
    return err.substr(err.find('\n') + 1);
}

json WithoutSeconds(json analysis) {
    for (json& run : analysis["runs"]) {
        run.erase("seconds");
        run.erase("reused");
    }
    return analysis;
}

std::size_t ReusedRuns(const json& analysis) {
    return static_cast<std::size_t>(
        std::count_if(analysis["runs"].begin(), analysis["runs"].end(),
                      [](const json& run) { return run.at("reused").get<bool>(); }));
}

std::string ReusedNote(std::size_t runs) {
    return std::to_string(runs) + (runs == 1 ? " run" : " runs") +
           " reused from the interrupted analysis\n";
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

class Resume : public ::testing::Test {
public:
    void SetUp() override {
        WriteSlopeProject(folder_, project_);
        // Four random variables, seven first-order runs; FORM adds two iterations.
        WriteModel("");
        unsaved_ = ReadBytes(project_);
    }

    void WriteModel(const std::string& extra) const {
        WriteBytes(folder_.File("slope.dta/model.txt"),
                   "pause 20\nbase 0.3\nterm 1 3 1.2 0.5\nterm 1 4 0.02 10\nterm 2 3 0.9 0.4\n"
                   "term 2 4 0.03 5\ncount " +
                       Counter() + "\n" + extra);
    }

    std::vector<std::string> Call(const std::string& method, int parallel, bool resume) const {
        std::vector<std::string> call{"--method", method,   "--parallel", std::to_string(parallel),
                                      "--save",   "--json", json_};
        if (resume) {
            call.push_back("--resume");
        }
        call.push_back(project_);
        return call;
    }

    // Back to the project as it was before any analysis saved into it.
    void Restore() const {
        WriteBytes(project_, unsaved_);
        fs::remove(StudyFileName(project_));
    }

    Outcome Result(const Finished& finished) const {
        return {finished.out, ReadBytes(project_), json::parse(ReadBytes(StudyFileName(project_))),
                WithoutSeconds(json::parse(ReadBytes(json_)))};
    }

    std::size_t ReusedInJson() const { return ReusedRuns(json::parse(ReadBytes(json_))); }

    void ExpectSame(const Outcome& outcome, const Outcome& expected) const {
        EXPECT_EQ(outcome.log, expected.log);
        EXPECT_EQ(outcome.project, expected.project);
        EXPECT_EQ(WithoutSeconds(outcome.study["analysis"]), expected.study["analysis"]);
        EXPECT_EQ(outcome.analysis, expected.analysis);
        EXPECT_FALSE(fs::exists(workFolder_));
    }

    // The uninterrupted analysis and the number of runs it did.
    Outcome Reference(const std::string& method, int parallel, std::size_t& runs) {
        Restore();
        fs::remove(Counter());
        const Finished finished =
            BatchProcess(Call(method, parallel, false), folder_.Path()).Wait();
        EXPECT_EQ(finished.status, 0) << finished.err;
        runs = RunsStarted();
        EXPECT_EQ(ReusedInJson(), 0U);
        Outcome outcome = Result(finished);
        outcome.study["analysis"] = WithoutSeconds(outcome.study["analysis"]);
        Restore();
        return outcome;
    }

    // Starts an analysis and sends `signal` once its journal holds `lines` runs.
    Finished Interrupt(const std::vector<std::string>& call, std::size_t lines, int signal) const {
        const BatchProcess batch(call, folder_.Path());
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (JournalLines() < lines && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        batch.Signal(signal);
        Finished finished = batch.Wait();
        WaitForTheLock();
        AwaitQuietCounter();
        return finished;
    }

    // A calculator of the killed program, started just before, can still begin its run after the
    // lock is free, until its death signal takes effect: the count waits until no start has come
    // for half a second, so that what follows counts the resumed analysis's runs alone.
    void AwaitQuietCounter() const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        std::size_t seen = RunsStarted();
        auto quietSince = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - quietSince < std::chrono::milliseconds(500) &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (const std::size_t now = RunsStarted(); now != seen) {
                seen = now;
                quietSince = std::chrono::steady_clock::now();
            }
        }
    }

    // A calculator being started when the program was killed holds the lock until it has died
    // of its death signal too: the next start waits for that, as a user would.
    void WaitForTheLock() const {
        const int marker = ::open((workFolder_ + "/.zelmora-runs").c_str(), O_RDONLY | O_CLOEXEC);
        if (marker < 0) {
            return;
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (flock(marker, LOCK_EX | LOCK_NB) != 0 &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ::close(marker);
    }

    std::string Counter() const { return folder_.File("runs-started"); }
    std::size_t RunsStarted() const {
        return fs::exists(Counter()) ? Count(ReadBytes(Counter()), "\n") : 0;
    }
    std::size_t JournalLines() const {
        return fs::exists(journal_) ? Count(ReadBytes(journal_), "\n") : 0;
    }

    test_support::TempFolder folder_;
    const std::string project_ = folder_.File("slope.zmo");
    const std::string json_ = folder_.File("analysis.json");
    const std::string workFolder_ = folder_.File("slope.plx.runs");
    const std::string journal_ = workFolder_ + "/journal.jsonl";
    std::string unsaved_;
};

struct InterruptCase {
    const char* name;
    const char* method;
    int parallel;
    int signal;
    std::size_t journaled; // runs in the journal when the signal goes
};

class ResumeAfter : public Resume, public ::testing::WithParamInterface<InterruptCase> {};

TEST_P(ResumeAfter, ReachesTheUninterruptedResultRunningOnlyWhatTheJournalLacks) {
    const InterruptCase& c = GetParam();
    std::size_t total = 0;
    const Outcome expected = Reference(c.method, c.parallel, total);

    const Finished interrupted =
        Interrupt(Call(c.method, c.parallel, false), c.journaled, c.signal);
    EXPECT_NE(interrupted.status, 0);
    EXPECT_EQ(ReadBytes(project_), unsaved_);
    const std::size_t journaled = JournalLines();
    ASSERT_GE(journaled, c.journaled);
    ASSERT_LT(journaled, total);
    if (c.signal == SIGTERM) {
        // The copies go, the journal stays.
        EXPECT_FALSE(fs::exists(workFolder_ + "/1"));
    }

    const std::size_t before = RunsStarted();
    const Finished resumed = BatchProcess(Call(c.method, c.parallel, true), folder_.Path()).Wait();
    ASSERT_EQ(resumed.status, 0) << resumed.err;
    EXPECT_EQ(resumed.err.find("would have reused"), std::string::npos);
    EXPECT_LE(RunsStarted() - before, total - journaled);
    // Said on standard error and in the JSON, never in the log.
    EXPECT_NE(resumed.err.find(ReusedNote(journaled)), std::string::npos) << resumed.err;
    EXPECT_EQ(ReusedInJson(), journaled);
    ExpectSame(Result(resumed), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Interruptions, ResumeAfter,
    ::testing::Values(InterruptCase{"StopInPlace", "first-order", 1, SIGTERM, 3},
                      InterruptCase{"KillInPlace", "first-order", 1, SIGKILL, 3},
                      InterruptCase{"StopFourCopies", "first-order", 4, SIGTERM, 3},
                      InterruptCase{"KillFourCopies", "first-order", 4, SIGKILL, 3},
                      InterruptCase{"FormMidIteration", "form", 1, SIGKILL, 10},
                      InterruptCase{"FormMidIterationFourCopies", "form", 4, SIGKILL, 10}),
    [](const ::testing::TestParamInfo<InterruptCase>& info) { return info.param.name; });

// The surrogate's batches are journaled like the method's runs: stopped among them and resumed,
// it learns from the same runs and reaches the same result.
TEST_F(Resume, TheSurrogateStoppedAmongItsBatchesReachesTheUninterruptedResult) {
    const auto call = [this](bool resume) {
        std::vector<std::string> words = Call("form", 2, resume);
        words.insert(words.begin(),
                     {"--sampling", "surrogate", "--batch", "3", "--max-runs", "20"});
        return words;
    };
    Restore();
    fs::remove(Counter());
    const Finished reference = BatchProcess(call(false), folder_.Path()).Wait();
    ASSERT_EQ(reference.status, 0) << reference.err;
    const std::size_t total = RunsStarted();
    const json expected = WithoutSeconds(json::parse(ReadBytes(json_)));
    const int own = expected.at("sampling").at("runs").get<int>();
    ASSERT_GE(own, 6) << "too few of its own runs to stop among them";
    Restore();

    const Finished interrupted = Interrupt(call(false), total - 3, SIGTERM);
    EXPECT_NE(interrupted.status, 0);
    const std::size_t journaled = JournalLines();
    ASSERT_LT(journaled, total);
    const std::size_t before = RunsStarted();
    const Finished resumed = BatchProcess(call(true), folder_.Path()).Wait();
    ASSERT_EQ(resumed.status, 0) << resumed.err;
    EXPECT_LE(RunsStarted() - before, total - journaled);
    EXPECT_EQ(resumed.out, reference.out);
    EXPECT_EQ(WithoutSeconds(json::parse(ReadBytes(json_))), expected);
}

// What is done to the interrupted analysis's work folder or model before the next start, and
// how many runs that start must do again at least.
struct LaterCase {
    const char* name;
    std::function<void(Resume&)> change;
    bool resume;
    const char* note; // on standard error; "N" stands for the runs journaled
    bool reusesNothing;
};

class ResumeOrNot : public Resume, public ::testing::WithParamInterface<LaterCase> {};

TEST_P(ResumeOrNot, ReusesOnlyWhatMatches) {
    const LaterCase& c = GetParam();
    std::size_t total = 0;
    const Outcome expected = Reference("first-order", 1, total);
    Interrupt(Call("first-order", 1, false), 3, SIGKILL);
    const std::size_t journaled = JournalLines();
    c.change(*this);

    const std::size_t before = RunsStarted();
    const Finished again = BatchProcess(Call("first-order", 1, c.resume), folder_.Path()).Wait();
    ASSERT_EQ(again.status, 0) << again.err;
    std::string note = c.note;
    if (note.starts_with("N ")) {
        note.replace(0, 1, std::to_string(journaled));
    } else if (const auto n = note.find(" N "); n != std::string::npos) {
        note.replace(n + 1, 1, std::to_string(journaled));
    }
    EXPECT_EQ(WithoutResetNote(again.err), note.empty() ? "" : note + "\n");
    const std::size_t started = RunsStarted() - before;
    if (c.reusesNothing) {
        EXPECT_EQ(started, total);
    } else {
        EXPECT_LE(started, total - journaled);
    }
    ExpectSame(Result(again), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ResumeOrNot,
    ::testing::Values(
        LaterCase{"Afresh", [](Resume&) {}, false,
                  "--resume would have reused N runs of the interrupted analysis.", true},
        LaterCase{"ModelChanged",
                  [](Resume& t) { WriteBytes(t.folder_.File("slope.plx"), "model, edited\n"); },
                  true, "The model changed since the interrupted analysis; no run is reused.",
                  true},
        // The runs' results depend on the data folder beside the model file.
        LaterCase{"DataFolderFileRewritten", [](Resume& t) { t.WriteModel(""); }, true,
                  "The data folder changed since the interrupted analysis "
                  "(slope.dta/model.txt); no run is reused.",
                  true},
        LaterCase{"DataFolderFileAdded",
                  [](Resume& t) { WriteBytes(t.folder_.File("slope.dta/water.txt"), "2.5\n"); },
                  true,
                  "The data folder changed since the interrupted analysis "
                  "(slope.dta/water.txt); no run is reused.",
                  true},
        // A line cut by a kill while it was written, after whole ones.
        LaterCase{"TornLastLine",
                  [](Resume& t) {
                      WriteBytes(t.journal_, ReadBytes(t.journal_) + "{\"run_id\": 3, \"kind\"");
                  },
                  true, "N runs reused from the interrupted analysis", false}),
    [](const ::testing::TestParamInfo<LaterCase>& info) { return info.param.name; });

// A run that failed is never journaled: taken up again, it runs again. Its fault is set outside
// the data folder, whose change would reuse nothing.
TEST_F(Resume, AFailedRunIsNotReused) {
    const std::string faults = folder_.File("faults.txt");
    WriteModel("lines-from " + faults + "\n");
    std::size_t total = 0;
    const Outcome expected = Reference("first-order", 1, total);
    WriteBytes(faults, "fault missing 2 3\n");
    const Finished failed = BatchProcess(Call("first-order", 1, false), folder_.Path()).Wait();
    EXPECT_EQ(failed.status, 1);
    // The standard, mean-value and first variable's runs came before the failing one.
    EXPECT_EQ(JournalLines(), 3U);
    EXPECT_TRUE(fs::exists(workFolder_ + "/.zelmora-runs"));

    fs::remove(faults);
    const std::size_t before = RunsStarted();
    const Finished resumed = BatchProcess(Call("first-order", 1, true), folder_.Path()).Wait();
    ASSERT_EQ(resumed.status, 0) << resumed.err;
    EXPECT_EQ(RunsStarted() - before, total - 3);
    ExpectSame(Result(resumed), expected);
}

// What the calculator writes in the data folder in place, beside the files an analysis expects
// to change, is listed in the journal and left out of its key: else no resume in place could
// reuse a run.
TEST_F(Resume, TheCalculatorsOwnWritesAreListedAndLeftOutOfTheKey) {
    Interrupt(Call("first-order", 1, false), 3, SIGKILL);
    std::istringstream lines(ReadBytes(journal_));
    std::string first;
    std::getline(lines, first);
    const json line = json::parse(first);
    EXPECT_EQ(line["calculator_writes"], json::array({"slope.dta/history.txt"}));
    EXPECT_TRUE(line["data_folder"].contains("slope.dta/model.txt"));
    for (const char* own :
         {"slope.dta/slope.mmt", "slope.dta/slope.hxx", "slope.dta/history.txt"}) {
        EXPECT_FALSE(line["data_folder"].contains(own)) << own;
    }
    EXPECT_EQ(line["calculator_sha256"].size(), 1U);
    const std::size_t journaled = JournalLines();
    const std::size_t before = RunsStarted();
    const Finished resumed = BatchProcess(Call("first-order", 1, true), folder_.Path()).Wait();
    ASSERT_EQ(resumed.status, 0) << resumed.err;
    EXPECT_EQ(ReusedInJson(), journaled);
    EXPECT_EQ(RunsStarted() - before, 7 - journaled);
}

// The calculator replaced at the same path: nothing is reused, and the note names it.
TEST_F(Resume, ACalculatorReplacedAtTheSamePathReusesNothing) {
    const std::string calculator = folder_.File("calc");
    const std::string script =
        "#!/bin/sh\nexec " + std::string(ZELMORA_FAKE_CALCULATOR) + " \"$@\"\n";
    WriteBytes(calculator, script);
    fs::permissions(calculator, fs::perms::owner_exec, fs::perm_options::add);
    State.BatchPath = calculator;
    WriteProjectFile(project_);
    unsaved_ = ReadBytes(project_);
    std::size_t total = 0;
    const Outcome expected = Reference("first-order", 1, total);
    Interrupt(Call("first-order", 1, false), 3, SIGKILL);

    WriteBytes(calculator, script + "# another build\n");
    const std::size_t before = RunsStarted();
    const Finished again = BatchProcess(Call("first-order", 1, true), folder_.Path()).Wait();
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(WithoutResetNote(again.err), "The calculator changed since the interrupted "
                                           "analysis (" +
                                               calculator + "); no run is reused.\n");
    EXPECT_EQ(RunsStarted() - before, total);
    EXPECT_EQ(ReusedInJson(), 0U);
    ExpectSame(Result(again), expected);
}

// A journaled run whose factor is not a positive number is checked as a fresh one would be: it
// is made again, and standard error says so.
TEST_F(Resume, AJournaledFactorThatIsNotPositiveIsRunAgain) {
    std::size_t total = 0;
    const Outcome expected = Reference("first-order", 1, total);
    Interrupt(Call("first-order", 1, false), 3, SIGKILL);
    const std::size_t journaled = JournalLines();
    std::istringstream lines(ReadBytes(journal_));
    std::string edited;
    for (std::string line; std::getline(lines, line);) {
        json entry = json::parse(line);
        if (entry["run_id"] == 0) {
            entry["safety_factor"] = 0.0;
        }
        edited += entry.dump() + "\n";
    }
    WriteBytes(journal_, edited);

    const std::size_t before = RunsStarted();
    const Finished resumed = BatchProcess(Call("first-order", 1, true), folder_.Path()).Wait();
    ASSERT_EQ(resumed.status, 0) << resumed.err;
    EXPECT_NE(resumed.err.find("1 run of the interrupted analysis held a safety factor that is "
                               "not a positive number; it is run again.\n"),
              std::string::npos)
        << resumed.err;
    EXPECT_EQ(RunsStarted() - before, total - journaled + 1);
    ExpectSame(Result(resumed), expected);
}

// Killed at random moments, in a run, a journal write or the save: the project file and the
// study are each the old or the new one, whole, and a resume reaches the uninterrupted result.
TEST_F(Resume, KilledAtRandomMomentsLeavesWholeFilesAndResumes) {
    std::size_t total = 0;
    const Outcome expected = Reference("form", 2, total);
    const std::string study = StudyFileName(project_);
    std::mt19937 random(19);
    for (int kill = 0; kill < 8; ++kill) {
        const BatchProcess batch(Call("form", 2, true), folder_.Path());
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % 400));
        batch.Signal(SIGKILL);
        batch.Wait();
        WaitForTheLock();
        const std::string project = ReadBytes(project_);
        EXPECT_TRUE(project == unsaved_ || project == expected.project) << kill;
        if (fs::exists(study)) {
            EXPECT_EQ(WithoutSeconds(json::parse(ReadBytes(study))["analysis"]),
                      expected.study["analysis"])
                << kill;
        }
    }
    const Finished resumed = BatchProcess(Call("form", 2, true), folder_.Path()).Wait();
    ASSERT_EQ(resumed.status, 0) << resumed.err;
    ExpectSame(Result(resumed), expected);
}

} // namespace
} // namespace zelmora

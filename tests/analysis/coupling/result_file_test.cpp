#include "analysis/coupling/result_file.h"
#include "analysis/methods/stored_results.h"
#include "project/errors.h"
#include "project/io_code.h"
#include "project/project_state.h"
#include "tests/analysis/support/result_record.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace zelmora {
namespace {

using testing::ResultRecord;

class ResultFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        stored_.lastSafetyFactor = 9.25;
        path_ = folder_.File("test.hxx");
    }

    // Reads the file as the analysis takes a run's result: the factor stored under the run's
    // key, the errors raised around it in their order.
    void ReadRun(const std::string& path, int runId) {
        const ResultReading reading = ReadResultFile(path);
        if (reading.openError) {
            std::rethrow_exception(reading.openError);
        }
        if (reading.safetyFactor) {
            StoreRunFactor(stored_, variables_, runId, *reading.safetyFactor);
        }
        if (reading.readError) {
            std::rethrow_exception(reading.readError);
        }
    }

    void Read(const std::string& text, int runId) {
        test_support::WriteBytes(path_, text);
        ReadRun(path_, runId);
    }

    test_support::TempFolder folder_;
    std::string path_;
    const std::vector<int> variables_{4, 13};
    StoredResults stored_;
};

struct StoreCase {
    int runId;
    int key;
};

TEST_F(ResultFileTest, StoresTheFactorUnderTheKeyOfTheRun) {
    const StoreCase cases[] = {{-2, -2}, {-1, -1}, {0, 0}, {1, 4}, {2, 13}};
    for (const StoreCase& c : cases) {
        stored_.safetyFactors.fill(0);
        Read(ResultRecord("1.375"), c.runId);
        for (int key = -2; key <= 20; ++key) {
            EXPECT_EQ(Entry(stored_.safetyFactors, key), key == c.key ? 1.375 : 0.0)
                << "run " << c.runId << " key " << key;
        }
        EXPECT_EQ(stored_.lastSafetyFactor, 1.375);
    }
}

TEST_F(ResultFileTest, KeepsTheFactorOfTheLastRecord) {
    Read(ResultRecord("1.1") + ResultRecord("1.2") + ResultRecord("1.3"), 0);
    EXPECT_EQ(Entry(stored_.safetyFactors, 0), 1.3);
    EXPECT_EQ(stored_.lastSafetyFactor, 1.3);
}

TEST_F(ResultFileTest, ReadsFourNumbersSplitOverTwoLines) {
    std::string text = "title\r\n 12 0.01\r\n 3.5 1.625 trailing words\r\n";
    for (int k = 0; k < 10; ++k) {
        text += "detail\r\n";
    }
    text += "1 2 3\r\n4 5 6 rest of line\r\n";
    Read(text + ResultRecord("1.75"), 0);
    EXPECT_EQ(stored_.lastSafetyFactor, 1.75);

    Read(text, 0);
    EXPECT_EQ(stored_.lastSafetyFactor, 1.625);
}

TEST_F(ResultFileTest, ARecordCutShortByTheEndStoresNothing) {
    const std::string endings[] = {"\r\n", "\r\n\r\n  \r\n", "title only", "title\r\n1 2 3",
                                   "\x1aignored"};
    for (const std::string& ending : endings) {
        Entry(stored_.safetyFactors, 0) = 0;
        Read(ResultRecord("1.5") + ending, 0);
        EXPECT_EQ(Entry(stored_.safetyFactors, 0), 1.5) << "ending " << ending;
        EXPECT_EQ(stored_.lastSafetyFactor, 1.5) << "ending " << ending;
    }
}

TEST_F(ResultFileTest, StopsAtCtrlZ) {
    Read(ResultRecord("1.5") + "\x1a" + ResultRecord("2.5"), 0);
    EXPECT_EQ(stored_.lastSafetyFactor, 1.5);
}

TEST_F(ResultFileTest, AnEmptyFileLeavesEveryValueAsItWas) {
    for (const std::string& text : {std::string(), std::string("\x1a"), std::string("\x1a\r\n")}) {
        Entry(stored_.safetyFactors, 4) = 0;
        Read(text, 1);
        EXPECT_EQ(Entry(stored_.safetyFactors, 4), 0.0);
        EXPECT_EQ(stored_.lastSafetyFactor, 9.25);
    }
}

TEST_F(ResultFileTest, ANonNumericTokenFailsAfterReadingToTheEnd) {
    test_support::WriteBytes(path_, ResultRecord("1.5x") + ResultRecord("oops"));
    try {
        ReadRun(path_, 2);
        FAIL() << "no error";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.code, 106);
        EXPECT_STREQ(error.what(), "Invalid numeric input");
    }
    // The second record's token parses to nothing and is stored as read.
    EXPECT_EQ(Entry(stored_.safetyFactors, 13), 0.0);
    EXPECT_EQ(stored_.lastSafetyFactor, 0.0);

    test_support::WriteBytes(path_, ResultRecord("1.5x"));
    EXPECT_THROW(ReadRun(path_, 2), EInOutError);
    EXPECT_EQ(stored_.lastSafetyFactor, 15.0);
    EXPECT_NO_THROW(CheckIo());
}

TEST_F(ResultFileTest, AnInvalidTokenInACutShortRecordStillFails) {
    test_support::WriteBytes(path_, ResultRecord("1.5") + "title\r\n 1 x");
    EXPECT_THROW(ReadRun(path_, 0), EInOutError);
    EXPECT_EQ(stored_.lastSafetyFactor, 1.5);
}

TEST_F(ResultFileTest, AMissingFileFailsAndChangesNothing) {
    try {
        ReadRun(folder_.File("absent.hxx"), 0);
        FAIL() << "no error";
    } catch (const EInOutError& error) {
        EXPECT_STREQ(error.what(), "File not found");
    }
    EXPECT_EQ(stored_.lastSafetyFactor, 9.25);
    EXPECT_EQ(Entry(stored_.safetyFactors, 0), 0.0);
}

TEST_F(ResultFileTest, AFactorTooLargeToStoreLeavesNoCodePending) {
    test_support::WriteBytes(path_, ResultRecord("bad") + ResultRecord("1e400"));
    try {
        ReadRun(path_, 0);
        FAIL() << "no error";
    } catch (const EOverflow& error) {
        EXPECT_STREQ(error.what(), "Floating point overflow");
    }
    EXPECT_EQ(PendingIoCode(), 0);
}

} // namespace
} // namespace zelmora

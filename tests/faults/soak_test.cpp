#include "analysis/analysis_driver.h"
#include "fault_project.h"
#include "project/project_state.h"
#include "tests/support/in_place_analysis.h"
#include "tests/support/memory_log.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <string>

// GCC names AddressSanitizer with a macro, clang as a feature.
#if defined(__has_feature)
#define ZELMORA_HAS_FEATURE(name) __has_feature(name)
#else
#define ZELMORA_HAS_FEATURE(name) 0
#endif
#if defined(__SANITIZE_ADDRESS__) || ZELMORA_HAS_FEATURE(address_sanitizer)
#define ZELMORA_ADDRESS_SANITIZER 1
#else
#define ZELMORA_ADDRESS_SANITIZER 0
#endif

namespace zelmora {
namespace {

int OpenDescriptors() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

// The sanitizer build runs a short soak; its leak check at exit covers the memory.
int AnalysisCount() {
    const char* count = std::getenv("ZELMORA_SOAK_ANALYSES");
    return count != nullptr ? std::atoi(count) : 1000;
}

TEST(Soak, ConsecutiveAnalysesLeaveNoDescriptorAndNoGrowingMemory) {
    fault_tests::FaultProject project;
    test_support::MemoryLog log;
    const auto analyse = [&] { test_support::AnalyseInPlace(log); };
    for (int k = 0; k < 10; ++k) {
        analyse();
    }
    const double beta = State.Beta;
    const std::size_t logLines = log.lines.size();
    const int descriptorsBefore = OpenDescriptors();
    const long residentBefore = ResidentKilobytes();

    const int count = AnalysisCount();
    for (int k = 0; k < count; ++k) {
        analyse();
        ASSERT_EQ(State.Beta, beta) << "analysis " << k;
    }

    const int descriptorsAfter = OpenDescriptors();
    const long residentAfter = ResidentKilobytes();
    std::cout << count << " analyses: open descriptors " << descriptorsBefore << " -> "
              << descriptorsAfter << ", resident memory " << residentBefore << " kB -> "
              << residentAfter << " kB\n";
    EXPECT_EQ(descriptorsAfter, descriptorsBefore);
    EXPECT_EQ(log.lines.size(), logLines);
    if (!ZELMORA_ADDRESS_SANITIZER) {
        // A leak of even a few hundred bytes a run would show over the five thousand runs.
        EXPECT_LT(residentAfter - residentBefore, 1024);
    }
}

} // namespace
} // namespace zelmora

// Prints how long an analysis takes to key its journal for a data folder of the given size,
// spread over the given number of files (each up to 64 MiB is hashed whole), and the metadata
// scan that finds the calculator's own writes after the first run.
//
//   journal_key_bench [MiB] [files]     (1024 MiB in 16 files by default)
#include "analysis/runs/journal_key.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

void WriteFolder(const fs::path& folder, std::uint64_t bytes, int files) {
    fs::create_directories(folder / "bench.dta");
    std::ofstream(folder / "bench.plx") << "model\n";
    std::mt19937_64 random(7);
    std::string chunk(1 << 20, '\0');
    const std::uint64_t each = bytes / static_cast<std::uint64_t>(files);
    for (int k = 0; k < files; ++k) {
        std::ofstream out(folder / "bench.dta" / ("part" + std::to_string(k) + ".dat"),
                          std::ios::binary);
        for (std::uint64_t written = 0; written < each; written += chunk.size()) {
            for (std::size_t i = 0; i + 8 <= chunk.size(); i += 8) {
                const std::uint64_t word = random();
                chunk.replace(i, 8, reinterpret_cast<const char*>(&word), 8);
            }
            out.write(chunk.data(), static_cast<std::streamsize>(
                                        std::min<std::uint64_t>(chunk.size(), each - written)));
        }
    }
}

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

} // namespace

int main(int argc, char** argv) {
    const std::uint64_t mib = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1024;
    const int files = argc > 2 ? std::atoi(argv[2]) : 16;
    if (mib == 0 || files <= 0) {
        std::fprintf(stderr, "usage: journal_key_bench [MiB] [files]\n");
        return 2;
    }
    const fs::path folder =
        fs::temp_directory_path() / ("zelmora-journal-key-" + std::to_string(getpid()));
    WriteFolder(folder, mib * 1024 * 1024, files);
    const zelmora::KeySources sources{
        (folder / "bench.plx").string(), {}, (folder / "bench.dta").string(), {}};
    for (int pass = 1; pass <= 2; ++pass) {
        const auto start = Clock::now();
        const zelmora::JournalKey key = zelmora::ComputeJournalKey("c", "bench", sources);
        const double seconds = Seconds(start);
        std::printf("key of %llu MiB in %d files, pass %d: %.3f s (%.0f MiB/s), %zu files keyed\n",
                    static_cast<unsigned long long>(mib), files, pass, seconds,
                    static_cast<double>(mib) / seconds, key.dataFolder.size());
    }
    const auto start = Clock::now();
    const zelmora::FileIdentities metadata = zelmora::DataFolderMetadata(sources);
    std::printf("metadata scan after the first run: %.6f s for %zu files\n", Seconds(start),
                metadata.size());
    fs::remove_all(folder);
    return 0;
}

#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace zelmora {

// Files by name, each with what identifies it: a SHA-256, or metadata and a SHA-256.
using FileIdentities = std::map<std::string, std::string>;

// What a run's result depends on beside its modification file: a journaled run is reused only
// for the same command line, project name, model file, calculator files and data folder.
struct JournalKey {
    std::string commandLine;
    std::string projectName;
    std::string modelDigest;   // SHA-256 of the model file at the start of the analysis
    FileIdentities calculator; // each file the command's program part names: its SHA-256
    FileIdentities dataFolder; // each file of the data folder before the first run
};

// Where the key's files are. Data folder files are named from the folder's own name on
// ("m.dta/water.txt"); those an analysis changes itself stay out of the key.
struct KeySources {
    std::string modelPath;
    std::vector<std::string> calculatorFiles;
    std::string dataFolder;
    std::set<std::string> ownFiles; // names as the key gives them
};

// Bytes hashed so far of all there are to hash.
using HashProgress = std::function<void(std::uint64_t hashed, std::uint64_t total)>;

// Files up to this size are known by their bytes as well; a larger one by its metadata alone.
inline constexpr std::uint64_t MaxHashedFileBytes = std::uint64_t{64} * 1024 * 1024;

// The key's digests and identities, read now. A file that cannot be read is keyed as such:
// a mismatch then only reuses nothing.
JournalKey ComputeJournalKey(std::string commandLine, std::string projectName,
                             const KeySources& sources, const HashProgress& progress = {});

// The data folder's files by their metadata alone: enough to see what a run changed, since a
// file's change time moves with every write.
FileIdentities DataFolderMetadata(const KeySources& sources);

// The names whose identity differs, or that only one of the two holds, in name order. An
// identity is compared by its metadata alone when `metadataOnly`.
std::vector<std::string> ChangedNames(const FileIdentities& before, const FileIdentities& after,
                                      bool metadataOnly = false);

// All but the names in `left`.
FileIdentities Without(FileIdentities files, const std::set<std::string>& left);

// One digest of the names and identities, for a journal line.
std::string DigestOf(const FileIdentities& files);

// The SHA-256 of the file's bytes in hexadecimal; empty when it cannot be read.
std::string FileDigest(const std::string& path);

} // namespace zelmora

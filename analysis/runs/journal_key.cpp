#include "analysis/runs/journal_key.h"

#include "analysis/runs/key_file_stat.h"
#include "project/sha256.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <utility>

namespace zelmora {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t ChunkBytes = std::size_t{1} << 20;
constexpr const char* DigestMark = " sha256 ";

std::string Hex(const std::array<unsigned char, 32>& digest) {
    static constexpr char Digits[] = "0123456789abcdef";
    std::string text;
    for (const unsigned char byte : digest) {
        text += Digits[byte >> 4];
        text += Digits[byte & 15];
    }
    return text;
}

// Reads the file in chunks, telling each chunk's bytes; empty when it cannot be read whole.
std::string DigestTelling(const std::string& path, const std::function<void(std::size_t)>& read) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {};
    }
    Sha256Hasher hasher;
    std::string chunk(ChunkBytes, '\0');
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
        const auto count = static_cast<std::size_t>(in.gcount());
        hasher.Update(std::string_view(chunk.data(), count));
        if (read) {
            read(count);
        }
    }
    return in.bad() ? std::string() : Hex(hasher.Finish());
}

std::string Metadata(const KeyFileStat& stat) {
    return "size " + std::to_string(stat.size) + " modified " + std::to_string(stat.modifiedNs) +
           " changed " + std::to_string(stat.changedNs) + " inode " + std::to_string(stat.inode);
}

// A link is known by itself and by the file it names, which the runs' copies read.
struct FolderFile {
    std::string name;
    std::string path;
    KeyFileStat stat;
    std::optional<KeyFileStat> linked; // for a link: what it names, when it names something
};

std::string Metadata(const FolderFile& file) {
    std::string text = Metadata(file.stat);
    if (file.linked) {
        text += " names " + Metadata(*file.linked);
    }
    return text;
}

bool Hashed(const FolderFile& file) {
    const KeyFileStat& content = file.linked ? *file.linked : file.stat;
    return content.regular && content.size <= MaxHashedFileBytes;
}

std::uint64_t HashedSize(const FolderFile& file) {
    return Hashed(file) ? (file.linked ? *file.linked : file.stat).size : 0;
}

// The data folder's files but the analysis's own, links taken as themselves, in name order.
std::vector<FolderFile> ListDataFolder(const KeySources& sources) {
    std::vector<FolderFile> files;
    const fs::path folder(sources.dataFolder);
    const std::string label = folder.filename().generic_string();
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (it->is_directory(error) && !it->is_symlink(error)) {
            continue;
        }
        const std::string name =
            label + "/" + it->path().lexically_relative(folder).generic_string();
        if (sources.ownFiles.contains(name)) {
            continue;
        }
        const std::string path = it->path().string();
        const std::optional<KeyFileStat> stat = StatForKey(path);
        files.push_back({name, path, stat.value_or(KeyFileStat{}),
                         it->is_symlink(error) ? StatForKey(path, true) : std::nullopt});
    }
    return files;
}

std::string MetadataPart(const std::string& identity) {
    return identity.substr(0, identity.find(DigestMark));
}

} // namespace

std::string FileDigest(const std::string& path) {
    return DigestTelling(path, {});
}

JournalKey ComputeJournalKey(std::string commandLine, std::string projectName,
                             const KeySources& sources, const HashProgress& progress) {
    const std::vector<FolderFile> folder = ListDataFolder(sources);
    std::uint64_t total = 0;
    auto add = [&total](const std::string& path) {
        std::error_code error;
        const std::uintmax_t size = fs::file_size(path, error);
        total += error ? 0 : size;
    };
    add(sources.modelPath);
    for (const std::string& file : sources.calculatorFiles) {
        add(file);
    }
    for (const FolderFile& file : folder) {
        total += HashedSize(file);
    }
    std::uint64_t hashed = 0;
    const auto read = [&](std::size_t bytes) {
        hashed += bytes;
        if (progress) {
            progress(hashed, total);
        }
    };
    JournalKey key{std::move(commandLine),
                   std::move(projectName),
                   DigestTelling(sources.modelPath, read),
                   {},
                   {}};
    for (const std::string& file : sources.calculatorFiles) {
        key.calculator[file] = DigestTelling(file, read);
    }
    for (const FolderFile& file : folder) {
        std::string identity = Metadata(file);
        if (Hashed(file)) {
            const std::string digest = DigestTelling(file.path, read);
            identity += DigestMark + (digest.empty() ? std::string("unreadable") : digest);
        }
        key.dataFolder[file.name] = identity;
    }
    return key;
}

FileIdentities DataFolderMetadata(const KeySources& sources) {
    FileIdentities files;
    for (const FolderFile& file : ListDataFolder(sources)) {
        files[file.name] = Metadata(file);
    }
    return files;
}

std::vector<std::string> ChangedNames(const FileIdentities& before, const FileIdentities& after,
                                      bool metadataOnly) {
    std::set<std::string> changed;
    const auto same = [metadataOnly](const std::string& a, const std::string& b) {
        return metadataOnly ? MetadataPart(a) == MetadataPart(b) : a == b;
    };
    for (const auto& [name, identity] : before) {
        const auto found = after.find(name);
        if (found == after.end() || !same(identity, found->second)) {
            changed.insert(name);
        }
    }
    for (const auto& [name, identity] : after) {
        if (!before.contains(name)) {
            changed.insert(name);
        }
    }
    return {changed.begin(), changed.end()};
}

FileIdentities Without(FileIdentities files, const std::set<std::string>& left) {
    for (const std::string& name : left) {
        files.erase(name);
    }
    return files;
}

std::string DigestOf(const FileIdentities& files) {
    std::string text;
    for (const auto& [name, identity] : files) {
        text += name + '\0' + identity + '\n';
    }
    return Sha256Hex(text);
}

} // namespace zelmora

#pragma once

#include <string>

namespace zelmora {

// The journal's file, opened for appending on the first line: each line goes in one write and
// is on the disk before Append returns, so that a line either is whole or is the torn last one.
class JournalFile {
public:
    explicit JournalFile(std::string path) : path_(std::move(path)) {}
    JournalFile(const JournalFile&) = delete;
    JournalFile& operator=(const JournalFile&) = delete;
    ~JournalFile() { Close(); }

    // Creates the file when there is none, and then makes its name durable in its folder.
    void Append(const std::string& line);
    void Close();

private:
    std::string path_;
    int fd_ = -1;
};

} // namespace zelmora

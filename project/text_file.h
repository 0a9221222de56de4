#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace zelmora {

// The pending input/output code of this thread, 0 when none. A failing text-file operation
// stores its code here; only CheckIo clears it.
int PendingIoCode();
void RecordIoCode(int code);

// Raises EInOutError for a pending code and clears it; does nothing when none is pending.
void CheckIo();

// Maps an errno value of a failed operation on `path` to the system's input/output code.
int IoCodeFromErrno(int error, const std::string& path);

// A text file opened for reading. Failures record a pending code and never raise.
class TextInput {
public:
    TextInput() = default;
    TextInput(const TextInput&) = delete;
    TextInput& operator=(const TextInput&) = delete;
    ~TextInput();

    void OpenForReading(const std::string& name);
    // The next number; `found` (when given) tells whether a token was there at all.
    long double ReadReal(bool* found = nullptr);
    std::int32_t ReadInteger();
    std::string ReadRestOfLine();
    void SkipLine();
    bool AtEnd();
    void Close();

private:
    int Peek();
    int Get();
    bool Fill();
    std::string ReadToken(std::size_t maxLength);

    int fd_ = -1;
    std::string name_;
    char buffer_[4096];
    std::size_t position_ = 0;
    std::size_t length_ = 0;
    bool failed_ = false;
};

// A text file opened for writing, CR LF line ends, buffered.
class TextOutput {
public:
    TextOutput() = default;
    TextOutput(const TextOutput&) = delete;
    TextOutput& operator=(const TextOutput&) = delete;
    ~TextOutput();

    void OpenForWriting(const std::string& name);
    void WriteText(std::string_view text);
    void WriteChar(char c);
    void WriteInteger(std::int32_t value);
    void WriteFixed(double value, int width, int decimals);
    void EndLine();
    void Close();

private:
    void Flush();

    int fd_ = -1;
    std::string name_;
    std::string buffer_;
};

} // namespace zelmora

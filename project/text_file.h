#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <system_error>

namespace zelmora {

// The pending input/output code of this thread, 0 when none. A failing text-file operation
// stores its code here; only CheckIo clears it.
int PendingIoCode();
void RecordIoCode(int code);

// Raises EInOutError for a pending code and clears it; does nothing when none is pending.
void CheckIo();

// The pending code as an EInOutError to raise later, cleared; nullptr when none is pending.
std::exception_ptr TakePendingIoError();

// Maps an errno value of a failed operation on `path` to the system's input/output code (POSIX).
int IoCodeFromErrno(int error, const std::string& path);

// Maps a Windows error number to the code (Windows): the number itself, but a full disk is 101.
int IoCodeFromWindowsError(unsigned long error);

// The code of a failed std::filesystem operation on `path`.
int IoCodeFromErrorCode(const std::error_code& error, const std::string& path);

// The code of the system call on `path` that has just failed, from errno or GetLastError().
int IoCodeOfLastFailure(const std::string& path);

// A text file opened for reading. Failures record a pending code and never raise.
class TextInput {
public:
    TextInput() = default;
    TextInput(const TextInput&) = delete;
    TextInput& operator=(const TextInput&) = delete;
    ~TextInput();

    void OpenForReading(const std::string& name);
    // Reads `text`, which must outlive the reading, as the content of the file `name`.
    void OpenText(std::string_view text, const std::string& name);
    // The next number; `found` (when given) tells whether a token was there at all.
    long double ReadReal(bool* found = nullptr);
    std::int32_t ReadInteger();
    std::string ReadRestOfLine();
    // Skips the rest of the line; true when its line end was read, false when the data ended.
    bool SkipLine();
    bool AtEnd();
    void Close();
    // How many bytes of the file the reading has taken so far.
    std::size_t Position() const { return taken_ - (length_ - position_); }

private:
    void Start(const std::string& name);
    bool Readable();
    int PeekAt(std::size_t offset);
    int PeekData();
    void Advance();
    bool Fill();
    std::string ReadRun(std::size_t maxLength);

    static constexpr std::size_t BufferSize = 4096;

    int fd_ = -1;
    std::string name_;
    char buffer_[BufferSize];
    std::size_t position_ = 0;
    std::size_t length_ = 0;
    std::size_t taken_ = 0; // bytes brought into the buffer since the open
    bool ended_ = false;
    bool fromText_ = false;
    std::string_view text_;
};

// A text file opened for writing, CR LF line ends, buffered.
class TextOutput {
public:
    TextOutput() = default;
    TextOutput(const TextOutput&) = delete;
    TextOutput& operator=(const TextOutput&) = delete;
    ~TextOutput();

    void OpenForWriting(const std::string& name);
    // Collects the text in `target` instead of a file: the bytes a file would get.
    void OpenInMemory(std::string& target);
    // The same, refusing a symbolic link at the end of the name as "access denied".
    void OpenForWritingNotLink(const std::string& name);
    void WriteText(std::string_view text);
    void WriteChar(char c);
    void WriteInteger(std::int32_t value);
    void WriteFixed(double value, int width, int decimals);
    void EndLine();
    void Close();

    // The call that hands buffered bytes to the system, as write(2) does (on Windows with the
    // failure in GetLastError()): tests replace it to make writes fail. nullptr restores the real
    // call.
    using WriteCall = std::ptrdiff_t (*)(int fd, const char* data, std::size_t size);
    static void SetWriteCallForTesting(WriteCall call);

private:
    void Open(const std::string& name, bool linkRefused);
    void Append(std::string_view text);
    void Flush();

    static constexpr std::size_t BufferSize = 4096;

    int fd_ = -1;
    std::string name_;
    std::string buffer_;
    std::string* memory_ = nullptr;
};

} // namespace zelmora

#pragma once

#include "project/io_code.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zelmora {

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

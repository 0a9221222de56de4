#pragma once

#include "project/io_code.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelmora {

// A number that did not parse, as it stood, and the line (counted from 1) it stood on.
struct BadNumber {
    std::string text;
    int line = 0;
};

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
    // The first number since the open that did not parse, if any.
    const std::optional<BadNumber>& FirstBadNumber() const { return badNumber_; }

private:
    void Start(const std::string& name);
    bool Readable();
    int PeekAt(std::size_t offset);
    int PeekData();
    void Advance();
    bool Fill();
    std::string ReadRun(std::size_t maxLength);
    void NoteBadNumber(const std::string& run);

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
    int line_ = 1;    // the line of the next character
    int runLine_ = 1; // the line the last number started on
    std::optional<BadNumber> badNumber_;
};

} // namespace zelmora

#include "project/text_input.h"

#include "project/file_descriptor.h"
#include "project/number_forms.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace zelmora {

namespace {

constexpr int CtrlZ = 26;

bool IsBlank(int c) {
    return c <= 32;
}

} // namespace

TextInput::~TextInput() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void TextInput::OpenForReading(const std::string& name) {
    Start(name);
    fd_ = OpenRegularFile(name, O_RDONLY);
}

void TextInput::OpenText(std::string_view text, const std::string& name) {
    Start(name);
    fromText_ = true;
    text_ = text;
}

void TextInput::Start(const std::string& name) {
    if (fd_ >= 0 || fromText_) {
        Close();
    }
    name_ = name;
    position_ = 0;
    length_ = 0;
    taken_ = 0;
    ended_ = false;
    line_ = 1;
    runLine_ = 1;
    badNumber_.reset();
}

bool TextInput::Readable() {
    return fromText_ || RequireOpen(fd_);
}

long double TextInput::ReadReal(bool* found) {
    const std::string run = ReadRun(64);
    if (found != nullptr) {
        *found = !run.empty();
    }
    if (run.empty()) {
        return 0;
    }
    const ParsedReal parsed = ParseReal(run);
    if (parsed.errorPosition != 0) {
        NoteBadNumber(run);
    }
    return parsed.value;
}

std::int32_t TextInput::ReadInteger() {
    const std::string run = ReadRun(32);
    if (run.empty()) {
        return 0;
    }
    const ParsedInteger parsed = ParseInteger(run);
    if (parsed.errorPosition != 0) {
        NoteBadNumber(run);
    }
    return parsed.value;
}

void TextInput::NoteBadNumber(const std::string& run) {
    RecordIoCode(106);
    if (!badNumber_) {
        badNumber_ = BadNumber{run, runLine_};
    }
}

std::string TextInput::ReadRestOfLine() {
    std::string line;
    if (!Readable()) {
        return line;
    }
    for (int c = PeekData(); c >= 0 && c != '\n'; c = PeekData()) {
        if (c == '\r' && PeekAt(1) == '\n') {
            break;
        }
        if (c != '\r') {
            line += static_cast<char>(c);
        }
        Advance();
    }
    return line;
}

bool TextInput::SkipLine() {
    if (!Readable()) {
        return false;
    }
    for (int c = PeekData(); c >= 0; c = PeekData()) {
        Advance();
        if (c == '\n') {
            return true;
        }
    }
    return false;
}

bool TextInput::AtEnd() {
    return !Readable() || PeekData() < 0;
}

void TextInput::Close() {
    if (fromText_) {
        fromText_ = false;
        text_ = {};
    } else if (!RequireOpen(fd_)) {
        return;
    } else {
        CloseRecordingCode(fd_, name_);
    }
    position_ = 0;
    length_ = 0;
    taken_ = 0;
}

// The character `offset` places ahead, or -1 past the physical end of the file.
int TextInput::PeekAt(std::size_t offset) {
    while (length_ - position_ <= offset) {
        if (!Fill()) {
            return -1;
        }
    }
    return static_cast<unsigned char>(buffer_[position_ + offset]);
}

// The next character, or -1 at the end of the readable data, which Ctrl-Z ends too.
int TextInput::PeekData() {
    const int c = PeekAt(0);
    return c == CtrlZ ? -1 : c;
}

void TextInput::Advance() {
    if (buffer_[position_] == '\n') {
        ++line_;
    }
    ++position_;
}

// Keeps the unread characters and reads more behind them; false when nothing more came.
bool TextInput::Fill() {
    if (ended_) {
        return false;
    }
    std::memmove(buffer_, buffer_ + position_, length_ - position_);
    length_ -= position_;
    position_ = 0;
    std::ptrdiff_t count = 0;
    if (fromText_) {
        count = static_cast<std::ptrdiff_t>(
            std::min(BufferSize - length_, text_.size() - std::min(taken_, text_.size())));
        std::memcpy(buffer_ + length_, text_.data() + taken_, static_cast<std::size_t>(count));
    } else {
        count = ReadRecordingCode(fd_, buffer_ + length_, BufferSize - length_, name_);
    }
    if (count <= 0) {
        ended_ = true;
        return false;
    }
    length_ += static_cast<std::size_t>(count);
    taken_ += static_cast<std::size_t>(count);
    return true;
}

// Skips blanks across line ends, then takes up to maxLength non-blank characters; empty when
// the data ends first.
std::string TextInput::ReadRun(std::size_t maxLength) {
    std::string run;
    if (!Readable()) {
        return run;
    }
    int c = PeekData();
    while (c >= 0 && IsBlank(c)) {
        Advance();
        c = PeekData();
    }
    runLine_ = line_;
    while (c >= 0 && !IsBlank(c) && run.size() < maxLength) {
        run += static_cast<char>(c);
        Advance();
        c = PeekData();
    }
    return run;
}

} // namespace zelmora

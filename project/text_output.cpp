#include "project/text_output.h"

#include "project/file_descriptor.h"
#include "project/number_forms.h"

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

namespace zelmora {

namespace {

constexpr int EmptyFileName = 105;

TextOutput::WriteCall writeCall = SystemWrite;

} // namespace

void TextOutput::SetWriteCallForTesting(WriteCall call) {
    writeCall = call != nullptr ? call : SystemWrite;
}

TextOutput::~TextOutput() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void TextOutput::OpenForWriting(const std::string& name) {
    Open(name, false);
}

void TextOutput::OpenForWritingNotLink(const std::string& name) {
    Open(name, true);
}

void TextOutput::Open(const std::string& name, bool linkRefused) {
    if (fd_ >= 0) {
        Close();
    }
    name_ = name;
    buffer_.clear();
    memory_ = nullptr;
    if (name.empty()) {
        RecordIoCode(EmptyFileName);
        return;
    }
    constexpr int flags = O_WRONLY | O_CREAT | O_TRUNC;
    fd_ = linkRefused ? OpenRegularFileNotLink(name, flags, 0666)
                      : OpenRegularFile(name, flags, 0666);
}

void TextOutput::OpenInMemory(std::string& target) {
    if (fd_ >= 0) {
        Close();
    }
    buffer_.clear();
    memory_ = &target;
}

void TextOutput::WriteText(std::string_view text) {
    Append(text);
}

void TextOutput::WriteChar(char c) {
    Append(std::string_view(&c, 1));
}

void TextOutput::WriteInteger(std::int32_t value) {
    Append(FormatInteger(value, 0));
}

void TextOutput::WriteFixed(double value, int width, int decimals) {
    Append(FormatFixed(value, width, decimals));
}

void TextOutput::EndLine() {
    Append("\r\n");
}

void TextOutput::Close() {
    if (memory_ != nullptr) {
        memory_ = nullptr;
        return;
    }
    if (!RequireOpen(fd_)) {
        return;
    }
    Flush();
    CloseRecordingCode(fd_, name_);
}

void TextOutput::Append(std::string_view text) {
    if (memory_ != nullptr) {
        memory_->append(text);
        return;
    }
    if (!RequireOpen(fd_)) {
        return;
    }
    while (!text.empty()) {
        const std::size_t count = std::min(BufferSize - buffer_.size(), text.size());
        buffer_.append(text.substr(0, count));
        text.remove_prefix(count);
        if (buffer_.size() == BufferSize) {
            Flush();
        }
    }
}

// Hands the buffer to the system; on failure records the code and drops what was not written.
void TextOutput::Flush() {
    std::string_view rest = buffer_;
    while (!rest.empty()) {
        const std::ptrdiff_t written = writeCall(fd_, rest.data(), rest.size());
        if (written < 0 && WriteInterrupted()) {
            continue;
        }
        if (written <= 0) {
            RecordIoCode(written < 0 ? IoCodeOfLastFailure(name_) : 101);
            break;
        }
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
    buffer_.clear();
}

} // namespace zelmora

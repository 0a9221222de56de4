#include "analysis/runs/calculator_output.h"

#include "project/shown_text.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string_view>

namespace zelmora {

namespace {

// Enough for the last few lines of any sane output; a runaway log is not read whole.
constexpr std::uintmax_t TailBytes = 16384;

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(begin, end - begin);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(ShownText(line));
        begin = end + 1;
    }
    return lines;
}

bool GivesAReason(const std::string& line) {
    std::string lower = line;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) {
        return static_cast<char>(c < 0x80 ? std::tolower(c) : c);
    });
    return std::ranges::any_of(
        std::initializer_list<std::string_view>{"error", "unknown", "cannot", "must"},
        [&lower](std::string_view word) { return lower.find(word) != std::string::npos; });
}

} // namespace

std::optional<std::string> CalculatorReason(const std::vector<std::string>& lines) {
    const auto last = std::find_if(lines.rbegin(), lines.rend(), GivesAReason);
    if (last == lines.rend()) {
        return std::nullopt;
    }
    const std::size_t begin = last->find_first_not_of(" \t");
    const std::size_t end = last->find_last_not_of(" \t");
    return ShownText(last->substr(begin, end - begin + 1));
}

std::uintmax_t CalculatorLogLength(const std::string& logPath) {
    std::error_code error;
    const std::uintmax_t length = logPath.empty() ? 0 : std::filesystem::file_size(logPath, error);
    return error ? 0 : length;
}

std::vector<std::string> LastOutputLines(const std::string& logPath, std::uintmax_t start,
                                         std::size_t count) {
    const std::uintmax_t end = CalculatorLogLength(logPath);
    if (end <= start) {
        return {};
    }
    const std::uintmax_t from = std::max(start, end > TailBytes ? end - TailBytes : 0);
    std::ifstream log(logPath, std::ios::binary);
    std::string text(static_cast<std::size_t>(end - from), '\0');
    if (!log.seekg(static_cast<std::streamoff>(from)) ||
        !log.read(text.data(), static_cast<std::streamsize>(text.size()))) {
        return {};
    }
    std::vector<std::string> lines = SplitLines(text);
    // A line cut by the tail's start is not shown as if whole.
    if (from > start && !lines.empty()) {
        lines.erase(lines.begin());
    }
    while (!lines.empty() && lines.back().find_first_not_of(" \t") == std::string::npos) {
        lines.pop_back();
    }
    if (lines.size() > count) {
        lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(count));
    }
    return lines;
}

} // namespace zelmora

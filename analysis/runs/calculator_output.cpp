#include "analysis/runs/calculator_output.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace zelmora {

namespace {

// Enough for the last few lines of any sane output; a runaway log is not read whole.
constexpr std::uintmax_t TailBytes = 16384;
constexpr std::size_t LongestLine = 400;

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
        if (line.size() > LongestLine) {
            line = line.substr(0, LongestLine) + "\u2026";
        }
        lines.push_back(std::move(line));
        begin = end + 1;
    }
    return lines;
}

} // namespace

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

#include "analysis/runs/run_journal.h"

#include "analysis/runs/run_errors.h"
#include "project/errors.h"
#include "project/io_code.h"
#include "project/sha256.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <system_error>
#include <utility>

namespace zelmora {

namespace {

using nlohmann::json;

std::string Hex(const std::array<unsigned char, 32>& digest) {
    static constexpr char Digits[] = "0123456789abcdef";
    std::string text;
    for (const unsigned char byte : digest) {
        text += Digits[byte >> 4];
        text += Digits[byte & 15];
    }
    return text;
}

std::string KindOf(int runId) {
    switch (runId) {
    case StandardRun:
        return "standard";
    case MeanValueRun:
        return "mean-value";
    case AllReducedRun:
        return "all-reduced";
    default:
        return runId < 1000 ? "variable" : "method";
    }
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

[[noreturn]] void Fail(const std::error_code& error, const std::string& path) {
    throw EInOutError(IoCodeFromErrorCode(error, path));
}

} // namespace

std::string FileDigest(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {};
    }
    Sha256Hasher hasher;
    std::string chunk(1 << 16, '\0');
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
        hasher.Update(std::string_view(chunk.data(), static_cast<std::size_t>(in.gcount())));
    }
    return in.bad() ? std::string() : Hex(hasher.Finish());
}

std::string ModificationBytes(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line + "\r\n";
    }
    return bytes;
}

void RunJournal::Load(const std::string& path) {
    path_ = path;
    if (path_.empty()) {
        return;
    }
    const std::string text = ReadAll(path_);
    const std::size_t end = text.rfind('\n');
    wholeLength_ = end == std::string::npos ? 0 : end + 1;
    torn_ = wholeLength_ < text.size();
    for (std::size_t start = 0; start < wholeLength_;) {
        const std::size_t stop = text.find('\n', start);
        const json line =
            json::parse(text.begin() + static_cast<std::ptrdiff_t>(start),
                        text.begin() + static_cast<std::ptrdiff_t>(stop), nullptr, false);
        start = stop + 1;
        try {
            if (line.at("command_line") != key_.commandLine ||
                line.at("project_name") != key_.projectName) {
                continue;
            }
            if (line.at("model_sha256") != key_.modelDigest) {
                otherModel_ = true;
                continue;
            }
            reusable_.emplace(line.at("modification").get<std::string>(),
                              Entry{line.at("exit_status").get<int>(),
                                    line.at("seconds").get<double>(),
                                    line.at("safety_factor").get<double>(),
                                    line.value("picture", std::string())});
        } catch (const json::exception&) {
            // Not a line of ours: left out like a torn one.
        }
    }
}

int RunJournal::Reusable(const std::vector<PlannedRun>& runs) const {
    int count = 0;
    for (const PlannedRun& run : runs) {
        count += Reused(run) ? 1 : 0;
    }
    return count;
}

void RunJournal::Clear() {
    reusable_.clear();
    if (path_.empty()) {
        return;
    }
    std::error_code error;
    std::filesystem::remove(path_, error);
    if (error) {
        Fail(error, path_);
    }
}

void RunJournal::Resume() {
    if (!torn_) {
        return;
    }
    std::error_code error;
    std::filesystem::resize_file(path_, wholeLength_, error);
    if (error) {
        Fail(error, path_);
    }
    torn_ = false;
}

std::optional<RunOutcome> RunJournal::Reused(const PlannedRun& run) const {
    const auto found = reusable_.find(ModificationBytes(run.modificationLines));
    if (found == reusable_.end()) {
        return std::nullopt;
    }
    RunOutcome outcome;
    outcome.runId = run.runId;
    outcome.started = true;
    outcome.exitStatus = found->second.exitStatus;
    outcome.seconds = found->second.seconds;
    outcome.resultRewritten = true;
    outcome.safetyFactor = found->second.safetyFactor;
    if (run.runId == MeanValueRun || run.picture) {
        outcome.picture = found->second.picture;
    }
    outcome.written = run.written;
    return outcome;
}

void RunJournal::Record(const PlannedRun& run, const RunOutcome& outcome) {
    if (path_.empty() || RunFailed(outcome)) {
        return;
    }
    json line = {{"run_id", run.runId},
                 {"kind", KindOf(run.runId)},
                 {"modification", ModificationBytes(run.modificationLines)},
                 {"command_line", key_.commandLine},
                 {"project_name", key_.projectName},
                 {"model_sha256", key_.modelDigest},
                 {"records", outcome.records},
                 {"safety_factor", *outcome.safetyFactor},
                 {"exit_status", outcome.exitStatus},
                 {"seconds", outcome.seconds}};
    if (!outcome.picture.empty()) {
        line["picture"] = outcome.picture;
    }
    if (!file_) {
        file_ = std::make_unique<JournalFile>(path_);
    }
    // Bytes that are not UTF-8 are replaced: such a line then matches no run, which is safe.
    // After a failed write nothing more is journaled: the first failure ends the analysis.
    const std::string path = std::exchange(path_, std::string());
    file_->Append(line.dump(-1, ' ', false, json::error_handler_t::replace) + "\n");
    path_ = path;
}

void RunJournal::Close() {
    file_.reset();
}

} // namespace zelmora

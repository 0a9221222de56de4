#include "analysis/runs/run_journal.h"

#include "analysis/runs/run_errors.h"
#include "project/errors.h"
#include "project/io_code.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <system_error>
#include <utility>

namespace zelmora {

namespace {

using nlohmann::json;

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

constexpr std::size_t NamedFiles = 3;

// A journaled name-to-identity object; nothing when it is not one.
std::optional<FileIdentities> IdentitiesOf(const json& line, const char* key) {
    const auto found = line.find(key);
    if (found == line.end() || !found->is_object()) {
        return std::nullopt;
    }
    FileIdentities files;
    for (const auto& [name, identity] : found->items()) {
        files[name] = identity.get<std::string>();
    }
    return files;
}

std::set<std::string> NamesOf(const json& line, const char* key) {
    std::set<std::string> names;
    for (const json& name : line.value(key, json::array())) {
        names.insert(name.get<std::string>());
    }
    return names;
}

std::string Listed(const std::set<std::string>& names) {
    if (names.empty()) {
        return {};
    }
    std::string text;
    std::size_t count = 0;
    for (const std::string& name : names) {
        if (count++ == NamedFiles) {
            text += " and " + std::to_string(names.size() - NamedFiles) + " more";
            break;
        }
        text += (count > 1 ? ", " : "") + name;
    }
    return " (" + text + ")";
}

} // namespace

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
            if (!OfThisKey(line)) {
                continue;
            }
            // Checked as a fresh result is: such a run is made again.
            const json& factor = line.at("safety_factor");
            if (!factor.is_number() || !IsSafetyFactor(factor.get<double>())) {
                ++notFactors_;
                continue;
            }
            reusable_.emplace(line.at("modification").get<std::string>(),
                              Entry{line.at("exit_status").get<int>(),
                                    line.at("seconds").get<double>(), factor.get<double>(),
                                    line.value("picture", std::string())});
        } catch (const json::exception&) {
            // Not a line of ours: left out like a torn one.
        }
    }
    if (KeyChanged()) {
        reusable_.clear();
        notFactors_ = 0;
    }
}

bool RunJournal::OfThisKey(const json& line) {
    if (line.at("command_line") != key_.commandLine ||
        line.at("project_name") != key_.projectName) {
        return false;
    }
    if (line.at("model_sha256") != key_.modelDigest) {
        changedParts_[Part::Model];
        return false;
    }
    const std::optional<FileIdentities> calculator = IdentitiesOf(line, "calculator_sha256");
    if (!calculator || *calculator != key_.calculator) {
        const std::vector<std::string> names =
            ChangedNames(calculator.value_or(FileIdentities{}), key_.calculator);
        changedParts_[Part::Calculator].insert(names.begin(), names.end());
        return false;
    }
    const std::set<std::string> writes = NamesOf(line, "calculator_writes");
    if (const std::optional<FileIdentities> folder = IdentitiesOf(line, "data_folder")) {
        journaledFolders_[DigestOf(*folder)] = *folder;
    }
    const FileIdentities now = Without(key_.dataFolder, writes);
    const std::string digest = line.value("data_folder_sha256", std::string());
    if (digest != DigestOf(now)) {
        std::set<std::string>& names = changedParts_[Part::DataFolder];
        if (const auto journaled = journaledFolders_.find(digest);
            journaled != journaledFolders_.end()) {
            const std::vector<std::string> changed = ChangedNames(journaled->second, now);
            names.insert(changed.begin(), changed.end());
        }
        return false;
    }
    calculatorWrites_.insert(writes.begin(), writes.end());
    return true;
}

std::string RunJournal::ChangeNote() const {
    if (changedParts_.contains(Part::Model)) {
        return "The model changed since the interrupted analysis; no run is reused.";
    }
    if (const auto calculator = changedParts_.find(Part::Calculator);
        calculator != changedParts_.end()) {
        return "The calculator changed since the interrupted analysis" +
               Listed(calculator->second) + "; no run is reused.";
    }
    if (const auto folder = changedParts_.find(Part::DataFolder); folder != changedParts_.end()) {
        return "The data folder changed since the interrupted analysis" + Listed(folder->second) +
               "; no run is reused.";
    }
    return {};
}

void RunJournal::FindCalculatorWrites() {
    const std::vector<std::string> written =
        ChangedNames(key_.dataFolder, DataFolderMetadata(sources_), true);
    calculatorWrites_.insert(written.begin(), written.end());
    folderDigest_ = DigestOf(Without(key_.dataFolder, calculatorWrites_));
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
    const bool first = !folderDigest_;
    if (first) {
        FindCalculatorWrites();
    }
    json line = {{"run_id", run.runId},
                 {"kind", KindOf(run.runId)},
                 {"modification", ModificationBytes(run.modificationLines)},
                 {"command_line", key_.commandLine},
                 {"project_name", key_.projectName},
                 {"model_sha256", key_.modelDigest},
                 {"calculator_sha256", key_.calculator},
                 {"data_folder_sha256", *folderDigest_},
                 {"calculator_writes", calculatorWrites_},
                 {"records", outcome.records},
                 {"safety_factor", *outcome.safetyFactor},
                 {"exit_status", outcome.exitStatus},
                 {"seconds", outcome.seconds}};
    if (!outcome.picture.empty()) {
        line["picture"] = outcome.picture;
    }
    // Once per analysis: the files themselves, so that a later change can be named.
    if (first) {
        line["data_folder"] = Without(key_.dataFolder, calculatorWrites_);
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

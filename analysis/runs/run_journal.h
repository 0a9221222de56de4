#pragma once

#include "analysis/runs/journal_file.h"
#include "analysis/runs/journal_key.h"
#include "analysis/runs/run_outcome.h"
#include "analysis/runs/run_plan.h"

#include <map>
#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace zelmora {

// The bytes of a modification file, as the runs write them.
std::string ModificationBytes(const std::vector<std::string>& lines);

// The runs of an analysis whose results were read and applied, one JSON line each in the work
// folder, so that an interrupted analysis can take them up again instead of running them.
class RunJournal {
public:
    // `sources` tell where the data folder is, to find the files the calculator writes.
    RunJournal(JournalKey key, KeySources sources)
        : key_(std::move(key)), sources_(std::move(sources)) {}

    // Reads the journal at `path` (empty: none is kept) and keeps its runs of this key. Lines
    // that are not whole (a torn last one) are left out. When the journal holds runs of this
    // command line and project but any other part of the key differs, it keeps none.
    void Load(const std::string& path);

    // How many of `runs` a resume would take from the journal.
    int Reusable(const std::vector<PlannedRun>& runs) const;

    // True when the journal holds runs of this command line and project but another model,
    // calculator or data folder.
    bool KeyChanged() const { return !changedParts_.empty(); }

    // What changed, for the user: "The data folder changed since the interrupted analysis
    // (m.dta/water.txt); no run is reused."; empty when nothing did.
    std::string ChangeNote() const;

    // How many journaled runs of this key hold a safety factor that is not a finite number
    // above 0: they are not reused.
    int NotFactors() const { return notFactors_; }

    // Starting afresh: nothing is reused and the journal is emptied.
    void Clear();

    // Taking the runs up again: a torn last line is cut, so that new lines start whole.
    void Resume();

    // The journaled outcome of a run with these modification bytes; nothing when there is none
    // or after Clear.
    std::optional<RunOutcome> Reused(const PlannedRun& run) const;

    // Journals a run whose result can be applied; a failed or stopped run is never journaled.
    // The first one also finds the files the calculator wrote in the data folder: they are
    // listed and left out of the key.
    void Record(const PlannedRun& run, const RunOutcome& outcome);

    void Close();

private:
    struct Entry {
        int exitStatus = 0;
        double seconds = 0;
        double safetyFactor = 0;
        std::string picture;
    };

    // True when the line is of this key, noting the parts that differ otherwise.
    bool OfThisKey(const nlohmann::json& line);
    void FindCalculatorWrites();

    enum class Part { Model, Calculator, DataFolder };

    JournalKey key_;
    KeySources sources_;
    std::string path_;
    std::size_t wholeLength_ = 0; // up to the end of the last whole line
    bool torn_ = false;
    std::map<Part, std::set<std::string>> changedParts_;     // the files that tell of it, if known
    std::map<std::string, FileIdentities> journaledFolders_; // by their digest
    std::set<std::string> calculatorWrites_;  // in the data folder, left out of the key
    std::optional<std::string> folderDigest_; // of the keyed data folder, once the writes are known
    int notFactors_ = 0;
    std::map<std::string, Entry> reusable_; // by modification bytes
    std::unique_ptr<JournalFile> file_;
};

} // namespace zelmora

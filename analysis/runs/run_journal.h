#pragma once

#include "analysis/runs/journal_file.h"
#include "analysis/runs/run_outcome.h"
#include "analysis/runs/run_plan.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zelmora {

// What a run's result depends on beside its modification file: a journaled run is reused only
// for the same command line, project name and model file bytes.
struct JournalKey {
    std::string commandLine;
    std::string projectName;
    std::string modelDigest; // SHA-256 of the model file at the start of the analysis
};

// The SHA-256 of the file's bytes in hexadecimal; empty when it cannot be read.
std::string FileDigest(const std::string& path);

// The bytes of a modification file, as the runs write them.
std::string ModificationBytes(const std::vector<std::string>& lines);

// The runs of an analysis whose results were read and applied, one JSON line each in the work
// folder, so that an interrupted analysis can take them up again instead of running them.
class RunJournal {
public:
    explicit RunJournal(JournalKey key) : key_(std::move(key)) {}

    // Reads the journal at `path` (empty: none is kept) and keeps its runs of this key. Lines
    // that are not whole (a torn last one) are left out.
    void Load(const std::string& path);

    // How many of `runs` a resume would take from the journal.
    int Reusable(const std::vector<PlannedRun>& runs) const;

    // True when the journal holds runs of this command line and project but another model.
    bool ModelChanged() const { return otherModel_ && reusable_.empty(); }

    // Starting afresh: nothing is reused and the journal is emptied.
    void Clear();

    // Taking the runs up again: a torn last line is cut, so that new lines start whole.
    void Resume();

    // The journaled outcome of a run with these modification bytes; nothing when there is none
    // or after Clear.
    std::optional<RunOutcome> Reused(const PlannedRun& run) const;

    // Journals a run whose result can be applied; a failed or stopped run is never journaled.
    void Record(const PlannedRun& run, const RunOutcome& outcome);

    void Close();

private:
    struct Entry {
        int exitStatus = 0;
        double seconds = 0;
        double safetyFactor = 0;
        std::string picture;
    };

    JournalKey key_;
    std::string path_;
    std::size_t wholeLength_ = 0; // up to the end of the last whole line
    bool torn_ = false;
    bool otherModel_ = false;
    std::map<std::string, Entry> reusable_; // by modification bytes
    std::unique_ptr<JournalFile> file_;
};

} // namespace zelmora

#include "fuzz_files.h"
#include "project/errors.h"
#include "project/io_code.h"
#include "project/project_file.h"
#include "project/project_state.h"
#include "project_state_compare.h"

using namespace zelmora;

namespace {

const std::string InputFile = fuzz::ScratchPath("input.zmo");
const std::string WrittenFile = fuzz::ScratchPath("written.zmo");
const std::string RewrittenFile = fuzz::ScratchPath("rewritten.zmo");

// A start-up project whose unsaved fields hold marks, so that a reader touching them shows.
void StartProject() {
    State = ProjectState{};
    SetDefaults();
    State.VariableCount = 3;
    Entry(State.Variables, 1) = 11;
    Entry(State.Sensitivities, 4) = 0.25;
    State.ResultFilePath = "result mark";
    State.ModificationFilePath = "modification mark";
    State.CurrentFileName = "name mark";
}

void CheckNothingPending() {
    if (PendingIoCode() != 0) {
        fuzz::Fail("an input/output code is left pending for a later command");
    }
}

// Writes the state, reads it back and writes again: both files must be the same bytes.
void CheckWrittenFileReadsBack() {
    const ProjectState read = State;
    try {
        WriteProjectFile(WrittenFile);
        ReadProjectFile(WrittenFile);
        WriteProjectFile(RewrittenFile);
    } catch (const Error& error) {
        std::fprintf(stderr, "error: %s\n", error.what());
        fuzz::Fail("the file written from a state read without error does not read back");
    }
    if (fuzz::ReadBytes(WrittenFile) != fuzz::ReadBytes(RewrittenFile)) {
        fuzz::Fail("the state read back from a written file writes a different file");
    }
    for (std::size_t r = 0; r < read.SoilTable.size(); ++r) {
        if (read.SoilTable[r].SetNumber != State.SoilTable[r].SetNumber) {
            fuzz::Fail("a set number does not read back");
        }
    }
    if (read.BatchPath != State.BatchPath || read.ProjectPath != State.ProjectPath ||
        read.ProjectName != State.ProjectName) {
        fuzz::Fail("a text does not read back byte for byte");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    StartProject();
    const ProjectState before = State;
    fuzz::WriteBytes(InputFile, data, size);
    try {
        ReadProjectFile(InputFile);
    } catch (const Error&) {
        CheckNothingPending();
        if (!fuzz::SameStoredFields(State, before) || !fuzz::SameOtherFields(State, before)) {
            fuzz::Fail("a failed read changed the project");
        }
        return 0;
    }
    CheckNothingPending();
    if (!fuzz::SameOtherFields(State, before)) {
        fuzz::Fail("the reader changed a field the file does not hold");
    }
    CheckWrittenFileReadsBack();
    CheckNothingPending();
    return 0;
}

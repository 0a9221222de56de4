#include "analysis/coupling/analysis_inputs.h"
#include "analysis/project_folder.h"
#include "project/project_state.h"

#include <gtest/gtest.h>

namespace zelmora {
namespace {

// The model path an analysis uses, and the text the project keeps.
TEST(ProjectFolder, ARelativeModelPathIsTakenFromTheProjectFolderForTheAnalysisOnly) {
    const struct {
        const char* stored;
        const char* folder;
        const char* used;
    } cases[] = {
        {"cut.plx", "/home/ann/slopes", "/home/ann/slopes/cut.plx"},
        {"../models/cut.plx", "/home/ann/slopes", "/home/ann/slopes/../models/cut.plx"},
        {"/srv/cut.plx", "/home/ann/slopes", "/srv/cut.plx"},
        {"cut.plx", "", "cut.plx"},
        {"", "/home/ann/slopes", ""},
    };
    for (const auto& c : cases) {
        ProjectState project{};
        project.ProjectPath = c.stored;
        EXPECT_EQ(InputsOf(project, c.folder).projectPath, c.used);
        EXPECT_EQ(project.ProjectPath, c.stored);
    }
    EXPECT_EQ(ProjectFolderOf("/home/ann/slopes/./cut.zmo"), "/home/ann/slopes");
    EXPECT_EQ(ProjectFolderOf(""), "");
}

// Save as into another folder says once that relative paths now mean another place.
TEST(ProjectFolder, SaveAsIntoAnotherFolderIsNotedOnlyForRelativePaths) {
    const struct {
        const char* model;
        const char* calculator;
        const char* oldFolder;
        bool noted;
    } cases[] = {
        {"cut.plx", "slopecalc", "/a", true},
        {"/srv/cut.plx", "bin/calc /x", "/a", true},
        {"/srv/cut.plx", "slopecalc", "/a", false},
        {"/srv/cut.plx", "/usr/bin/srun --quiet bin/calc", "/a", false},
        {"cut.plx", "slopecalc", "/b", false},
    };
    for (const auto& c : cases) {
        const auto note = MovedFolderNote(c.oldFolder, "/b", c.calculator, c.model);
        EXPECT_EQ(note.has_value(), c.noted) << c.model << " " << c.calculator;
        if (note) {
            EXPECT_EQ(*note, "The project's relative paths now refer to its new folder: /b");
        }
    }
}

} // namespace
} // namespace zelmora

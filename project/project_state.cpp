#include "project/project_state.h"

namespace zelmora {

ProjectState State{};

void SetDefaults() {
    State.BatchPath = "c:\\program files\\Plaxis8x\\batch.exe";
    State.ProjectPath = "c:\\progs\\zelmora\\plaxis\\test.plx";
    State.ProjectName = "test";
    State.StepSize = 1.0;
    State.ShowCalculations = true;
}

} // namespace zelmora

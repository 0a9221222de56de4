#pragma once

#include "app/mnu_main.h"

#include <memory>

namespace zelmora::ui {

// The program's seven windows, created in their fixed order after the state got its defaults.
// Needs the QApplication; only the main window is shown.
class Program {
public:
    Program();
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    std::unique_ptr<TMainForm> main;
    std::unique_ptr<TCalc> calc;
    std::unique_ptr<TOutMenu> out;
    std::unique_ptr<TInfo> info;
    std::unique_ptr<TNewMenu> newMenu;
    std::unique_ptr<TSoilForm> soil;
    std::unique_ptr<TGeneralForm> general;
};

// The whole program: start-up, event loop until the main window closes, the parting beep.
int RunProgram(int argc, char** argv);

} // namespace zelmora::ui

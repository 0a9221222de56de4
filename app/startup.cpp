#include "app/startup.h"

#include "project/project_state.h"
#include "ui/mnu_gen.h"
#include "ui/mnu_info.h"
#include "ui/mnu_new.h"
#include "ui/mnu_out.h"
#include "ui/mnu_soil.h"
#include "ui/scr_calc.h"

#include <QApplication>

namespace zelmora::ui {

Program::Program() {
    SetDefaults();
    QApplication::beep();
    QApplication::setApplicationName(QStringLiteral("Zelmora"));
    // The program ends when the main window closes, even while other windows are visible.
    QApplication::setQuitOnLastWindowClosed(false);

    main = std::make_unique<TMainForm>();
    calc = std::make_unique<TCalc>();
    out = std::make_unique<TOutMenu>();
    info = std::make_unique<TInfo>();
    newMenu = std::make_unique<TNewMenu>();
    soil = std::make_unique<TSoilForm>();
    general = std::make_unique<TGeneralForm>();
    main->AttachWindows(
        {calc.get(), out.get(), info.get(), newMenu.get(), soil.get(), general.get()});
    main->show();
}

Program::~Program() = default;

int RunProgram(int argc, char** argv) {
    const QApplication application(argc, argv);
    int exitCode = 0;
    {
        const Program program;
        exitCode = QApplication::exec();
    }
    QApplication::beep();
    return exitCode;
}

} // namespace zelmora::ui

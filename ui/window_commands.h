#pragma once

#include "ui/message_boxes.h"

#include <QWidget>
#include <exception>

namespace zelmora::ui {

// A command of a menu or button ends at its first error, which the default error box shows.
template <class Command> void Guarded(Command command) {
    try {
        command();
    } catch (const std::exception& error) {
        ShowErrorBox(error);
    }
}

// Shows the window in front, ready for input.
inline void ShowWindow(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace zelmora::ui

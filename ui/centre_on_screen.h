#pragma once

class QWidget;

namespace zelmora::ui {

// Moves the window to the centre of the primary screen's available area, where there is one.
void CentreOnScreen(QWidget& window);

} // namespace zelmora::ui

#pragma once

#include <QObject>

namespace zelmora::ui {

// While it exists, mouse, key, wheel, touch and close events to any object of the application
// are dropped, so repainting during a wait cannot start a second command. Dropped events are
// gone for good: nothing is replayed when the wait ends, and what is still queued then is
// dropped as well.
class InputBlocker : public QObject {
public:
    InputBlocker();
    ~InputBlocker() override;
    InputBlocker(const InputBlocker&) = delete;
    InputBlocker& operator=(const InputBlocker&) = delete;

    bool eventFilter(QObject* watched, QEvent* event) override;

    // True for the events that come from the user rather than from the program.
    static bool IsUserInput(const QEvent& event);
};

} // namespace zelmora::ui

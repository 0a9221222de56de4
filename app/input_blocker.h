#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

namespace zelmora::ui {

// While it exists, mouse, key, wheel, touch and close events to any object of the application
// are dropped, so repainting during a wait cannot start a second command. Dropped events are
// gone for good: nothing is replayed when the wait ends, and what is still queued then is
// dropped as well. What it lets through gets its input as usual: every input to the widgets of
// passThrough (a Stop button), and the close of the window `closable`.
class InputBlocker : public QObject {
public:
    explicit InputBlocker(std::vector<QPointer<QObject>> passThrough = {},
                          QPointer<QObject> closable = {});
    ~InputBlocker() override;
    InputBlocker(const InputBlocker&) = delete;
    InputBlocker& operator=(const InputBlocker&) = delete;

    bool eventFilter(QObject* watched, QEvent* event) override;

    // True for the events that come from the user rather than from the program.
    static bool IsUserInput(const QEvent& event);

private:
    bool PassesThrough(const QObject* watched, const QEvent& event) const;

    std::vector<QPointer<QObject>> passThrough_;
    QPointer<QObject> closable_;
};

} // namespace zelmora::ui

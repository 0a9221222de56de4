#include "app/input_blocker.h"

#include <QCoreApplication>
#include <QEvent>

namespace zelmora::ui {

InputBlocker::InputBlocker(std::vector<QPointer<QObject>> passThrough, QPointer<QObject> closable)
    : passThrough_(std::move(passThrough)), closable_(std::move(closable)) {
    QCoreApplication::instance()->installEventFilter(this);
}

InputBlocker::~InputBlocker() {
    // Input still queued when the command ends is dropped too, not handled afterwards.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::instance()->removeEventFilter(this);
}

bool InputBlocker::eventFilter(QObject* watched, QEvent* event) {
    // The window system hands input to a window, which passes it on to the widget it is meant
    // for: it is judged there, where the receiver is known.
    if (watched->isWindowType() || !IsUserInput(*event) || PassesThrough(watched, *event))
        return false;
    // A close event that is not ignored lets its window close although nobody received it.
    event->ignore();
    return true;
}

bool InputBlocker::PassesThrough(const QObject* watched, const QEvent& event) const {
    if (event.type() == QEvent::Close)
        return closable_ && watched == closable_;
    // The object itself or a child of it, such as a button's inner parts.
    for (const QObject* object = watched; object; object = object->parent()) {
        for (const QPointer<QObject>& allowed : passThrough_) {
            if (allowed == object)
                return true;
        }
    }
    return false;
}

bool InputBlocker::IsUserInput(const QEvent& event) {
    switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

} // namespace zelmora::ui

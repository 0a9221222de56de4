#pragma once

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace zelmora::ui::test {

// The widget's window, created if it was never shown: the window system hands its input to the
// window, which passes it on to the widget under the pointer or with the focus.
inline QWindow* WindowOf(QWidget* widget) {
    QWidget* top = widget->window();
    top->createWinId();
    return top->windowHandle();
}

// A left click on the middle of the widget, queued to its window as the window system would
// deliver it.
inline void PostClick(QWidget* widget) {
    const QPointF centre = QRectF(widget->rect()).center();
    const QPointF inWindow = widget->mapTo(widget->window(), centre);
    const QPointF global = widget->mapToGlobal(centre);
    QWindow* window = WindowOf(widget);
    QCoreApplication::postEvent(window,
                                new QMouseEvent(QEvent::MouseButtonPress, inWindow, global,
                                                Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(window,
                                new QMouseEvent(QEvent::MouseButtonRelease, inWindow, global,
                                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}

// A left click on the middle of the widget, handed to its window at once the way the window
// system hands it: for a click while a command waits.
inline void ClickThroughWindow(QWidget* widget) {
    const QPoint centre = widget->rect().center();
    QTest::mouseClick(WindowOf(widget), Qt::LeftButton, Qt::NoModifier,
                      widget->mapTo(widget->window(), centre));
}

// A request to close the widget's window, as its title bar's close button makes it.
inline void PostClose(QWidget* window) {
    QCoreApplication::postEvent(WindowOf(window), new QCloseEvent);
}

inline void PostSpaceKey(QWidget* widget) {
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
        QCoreApplication::postEvent(
            widget, new QKeyEvent(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" ")));
}

} // namespace zelmora::ui::test

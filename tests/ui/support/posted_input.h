#pragma once

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace zelmora::ui::test {

// A left click on the middle of the widget, queued as the window system would deliver it.
inline void PostClick(QWidget* widget) {
    const QPointF centre = QRectF(widget->rect()).center();
    const QPointF global = widget->mapToGlobal(centre);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(widget, new QMouseEvent(type, centre, global, Qt::LeftButton,
                                                            Qt::LeftButton, Qt::NoModifier));
}

inline void PostSpaceKey(QWidget* widget) {
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
        QCoreApplication::postEvent(
            widget, new QKeyEvent(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" ")));
}

} // namespace zelmora::ui::test

#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

// Acts on the modal window that the next step opens. The step does not return while that
// window is open, so the action is queued to run inside the window's own event loop. The
// window's object name goes to opened; nothing happens when no modal window is up by then.
inline void onNextModal(QObject *context, QString &opened, std::function<void(QWidget *)> action)
{
    QTimer::singleShot(0, context, [&opened, action] {
        if (QWidget *window = QApplication::activeModalWidget()) {
            opened = window->objectName();
            action(window);
        }
    });
}

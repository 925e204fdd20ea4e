#include "present/EnterKey.h"

#include <QKeyEvent>
#include <QPushButton>

bool pressOnEnter(const QWidget *screen, const QKeyEvent *event, QPushButton *defaultButton)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    auto *button = qobject_cast<QPushButton *>(screen->focusWidget());
    if (!button || !screen->isAncestorOf(button))
        button = defaultButton;
    if (!button || !button->isEnabled())
        return false;
    button->click();
    return true;
}

#include "AnswerDialog.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>

AnswerDialog::AnswerDialog(QWidget *parent) : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
}

void AnswerDialog::setCloseButton(QPushButton *button)
{
    m_closeButton = button;
}

void AnswerDialog::done(int result)
{
    QDialog::done(result);
    // Closed right after its message box, the window leaves some window managers with no
    // window to give the focus to; the owner takes it back for the keyboard.
    if (QWidget *owner = parentWidget())
        owner->window()->activateWindow();
}

void AnswerDialog::closeEvent(QCloseEvent *event)
{
    // A close from the title bar or the system menu comes from the window system.
    if (event->spontaneous()) {
        event->ignore();
        // Queued: the button may show a message box, which is no thing to do inside this event.
        if (m_closeButton && m_closeButton->isEnabled())
            QMetaObject::invokeMethod(m_closeButton, &QPushButton::click, Qt::QueuedConnection);
        return;
    }
    QDialog::closeEvent(event);
}

void AnswerDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

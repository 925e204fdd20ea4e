#include "AnswerDialog.h"

#include <QCloseEvent>
#include <QKeyEvent>

AnswerDialog::AnswerDialog(QWidget *parent) : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
}

void AnswerDialog::closeEvent(QCloseEvent *event)
{
    // A close from the title bar or the system menu comes from the window system.
    if (event->spontaneous()) {
        event->ignore();
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

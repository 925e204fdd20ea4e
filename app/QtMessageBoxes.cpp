#include "QtMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace {
QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::NoIcon:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

// The box's first button is its default, as the program's questions expect.
QMessageBox::StandardButton defaultButton(MessageButtons buttons)
{
    return buttons == MessageButtons::Ok || buttons == MessageButtons::OkCancel ? QMessageBox::Ok
                                                                                : QMessageBox::Yes;
}

MessageButton chosenButton(int result, MessageButtons buttons)
{
    switch (result) {
    case QMessageBox::Ok:
        return MessageButton::Ok;
    case QMessageBox::Cancel:
        return MessageButton::Cancel;
    case QMessageBox::Yes:
        return MessageButton::Yes;
    case QMessageBox::No:
        return MessageButton::No;
    default:
        break;
    }
    // Closed without a button: the box's escape answer.
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageButton::Ok;
    case MessageButtons::YesNo:
        return MessageButton::No;
    case MessageButtons::OkCancel:
    case MessageButtons::YesNoCancel:
        break;
    }
    return MessageButton::Cancel;
}
} // namespace

MessageButton QtMessageBoxes::show(const MessageBoxRequest &request)
{
    QMessageBox box(qtIcon(request.icon), request.title, request.text, qtButtons(request.buttons),
                    QApplication::activeWindow());
    box.setDefaultButton(defaultButton(request.buttons));
    return chosenButton(box.exec(), request.buttons);
}

#include "MessageBoxes.h"

namespace {
MessageBoxes *installedBoxes = nullptr;

MessageButton firstButton(MessageButtons buttons)
{
    return buttons == MessageButtons::Ok || buttons == MessageButtons::OkCancel
               ? MessageButton::Ok
               : MessageButton::Yes;
}
} // namespace

void MessageBoxes::install(MessageBoxes *boxes)
{
    installedBoxes = boxes;
}

MessageBoxes *MessageBoxes::installed()
{
    return installedBoxes;
}

MessageButton showMessage(const QString &title, const QString &text, MessageIcon icon,
                          MessageButtons buttons)
{
    if (!installedBoxes)
        return firstButton(buttons);
    return installedBoxes->show({title, text, icon, buttons});
}

#pragma once

#include <QString>

enum class MessageIcon { NoIcon, Information, Warning, Critical, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageButton { Ok, Cancel, Yes, No };

struct MessageBoxRequest
{
    QString title;
    QString text;
    MessageIcon icon = MessageIcon::NoIcon;
    MessageButtons buttons = MessageButtons::Ok;

    bool operator==(const MessageBoxRequest &) const = default;
};

// The one way the program asks or tells the user something in a message box. The program
// installs an implementation that shows real boxes; tests install a scripted one.
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    virtual MessageButton show(const MessageBoxRequest &request) = 0;

    // Installs the implementation every later showMessage() uses; not owned.
    static void install(MessageBoxes *boxes);
    static MessageBoxes *installed();
};

// Shows a box through the installed implementation and returns the button chosen.
// Without one installed (a programming error), the box counts as answered with its
// first button.
MessageButton showMessage(const QString &title, const QString &text, MessageIcon icon,
                          MessageButtons buttons = MessageButtons::Ok);

#pragma once

#include <QString>
#include <QStringList>

// What the command line asks of the program.
struct CommandLine
{
    enum class Action { Run, Print, Refuse };
    Action action = Action::Run;
    // The module to open instead of the bundled one, as an absolute path; empty for none.
    QString modulePath;
    // For Print, the help or the version for standard output; for Refuse, the reason for
    // standard error.
    QString text;
};

// Reads the arguments (the program's name first), before the application object exists.
// Options the windowing system takes (-platform, -style, ...) are left to it.
CommandLine parseCommandLine(const QStringList &arguments);

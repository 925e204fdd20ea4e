#include "CommandLine.h"

#include "Version.h"

#include <QCommandLineParser>
#include <QFileInfo>

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOptions({help, version, QCommandLineOption(QStringLiteral("measure-startup"))});
    // The values of the windowing system's options are no module.
    for (const char *name : {"platform", "style", "display", "platformtheme", "qwindowgeometry"})
        parser.addOption(QCommandLineOption(QLatin1String(name), {}, QStringLiteral("value")));
    // Unknown options are the windowing system's to judge.
    parser.parse(arguments);

    CommandLine commandLine;
    if (parser.isSet(help)) {
        commandLine.action = CommandLine::Action::Print;
        commandLine.text = QStringLiteral(
            "Usage: quexam [OPTION]... [MODULE.qdb]\n"
            "Practice tests on the questions of a test module: the NTCX 512-330 module\n"
            "installed with Quendra, or the module MODULE.qdb, whose pictures and exhibits\n"
            "sit in its own folder.\n\n"
            "  -h, --help     show this help and exit\n"
            "  -v, --version  show the version and exit\n");
    } else if (parser.isSet(version)) {
        commandLine.action = CommandLine::Action::Print;
        commandLine.text = QStringLiteral("quexam (Quendra) ") + versionText() + QLatin1Char('\n');
    } else if (parser.positionalArguments().size() > 1) {
        commandLine.action = CommandLine::Action::Refuse;
        commandLine.text = QStringLiteral("quexam: one module at a time\n"
                                          "Try 'quexam --help' for more information.\n");
    } else if (!parser.positionalArguments().isEmpty()) {
        commandLine.modulePath =
            QFileInfo(parser.positionalArguments().constFirst()).absoluteFilePath();
    }
    return commandLine;
}

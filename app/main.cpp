#include "AppContext.h"
#include "CommandLine.h"
#include "DeferredIconStyle.h"
#include "FontConfiguration.h"
#include "MainWindow.h"
#include "QtMessageBoxes.h"
#include "StartUp.h"
#include "StartupMeasure.h"
#include "UserSettings.h"

#include "common/BusyCursor.h"
#include "moduledb/ModulePreload.h"

#include <QApplication>
#include <QSettings>

#include <cstdio>
#include <optional>

#ifdef __GLIBC__
#include <malloc.h>
#endif

int main(int argc, char *argv[])
{
#ifdef __GLIBC__
    // One heap for every thread: what the module's read-ahead frees once the bank is taken
    // is then reused by the windows, instead of idling in a heap of the reading thread.
    mallopt(M_ARENA_MAX, 1);
#endif
    QStringList arguments;
    for (int index = 0; index < argc; ++index)
        arguments.append(QString::fromLocal8Bit(argv[index]));
    // Help and version need no display.
    const CommandLine commandLine = parseCommandLine(arguments);
    if (commandLine.action != CommandLine::Action::Run) {
        const bool printing = commandLine.action == CommandLine::Action::Print;
        std::fputs(commandLine.text.toLocal8Bit().constData(), printing ? stdout : stderr);
        return printing ? 0 : 2;
    }
    const QString programFolder = programFolderOf(runningProgramFolder());

    // The module is read and loaded on a thread of its own while the windows come up, after
    // the font configuration that the splash's first text needs. Should the program folder
    // found here differ from the application's, nothing read is taken.
    ModulePreload readAhead(commandLine.modulePath.isEmpty() ? testDbPathOf(programFolder)
                                                             : commandLine.modulePath,
                            loadFontConfiguration);
    QApplication application(argc, argv);
    // Names the user's folders: settings and the files an installed program unpacks.
    QCoreApplication::setOrganizationName(QStringLiteral("quendra"));
    QCoreApplication::setApplicationName(QStringLiteral("quexam"));
    QApplication::setStyle(new DeferredIconStyle);
    QtMessageBoxes messageBoxes;
    MessageBoxes::install(&messageBoxes);
    BusyCursor::install([] { QApplication::setOverrideCursor(Qt::WaitCursor); },
                        [] { QApplication::restoreOverrideCursor(); });

    const bool measuring = measuringStartup(application.arguments());
    // The benchmark's runs neither read nor change the person's settings.
    std::optional<QSettings> userSettings;
    AppContext context;
    if (!measuring)
        context.userSettings = &userSettings.emplace();
    StartUp startUp(context,
                    {.programFolder = programFolderOf(QCoreApplication::applicationDirPath()),
                     .modulePath = commandLine.modulePath,
                     .userFolder = defaultUserFolder(),
                     .instanceLockPath = measuring
                                             ? measuredInstanceLockPath(defaultInstanceLockPath())
                                             : defaultInstanceLockPath(),
                     .module = moduleReaderSteps(&readAhead)});
    if (!startUp.run())
        return startUp.exitCode();
    if (measuring)
        quitWhenPainted(
            startUp.mainWindow()->screenArea()->findChild<QWidget *>(QStringLiteral("frStart")));
    const int exitCode = application.exec();
    if (userSettings)
        userSettings->setValue(UserSettings::geometryKey(), startUp.mainWindow()->saveGeometry());
    return exitCode;
}

#include "AppContext.h"
#include "DeferredIconStyle.h"
#include "FontConfiguration.h"
#include "MainWindow.h"
#include "QtMessageBoxes.h"
#include "StartUp.h"
#include "StartupMeasure.h"

#include "common/BusyCursor.h"
#include "moduledb/ModulePreload.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The module is read and loaded on a thread of its own while the windows come up, after
    // the font configuration that the splash's first text needs. Should the program folder
    // found here differ from the application's, nothing read is taken.
    ModulePreload readAhead(testDbPathOf(runningProgramFolder()), loadFontConfiguration);
    QApplication application(argc, argv);
    QApplication::setStyle(new DeferredIconStyle);
    QtMessageBoxes messageBoxes;
    MessageBoxes::install(&messageBoxes);
    BusyCursor::install([] { QApplication::setOverrideCursor(Qt::WaitCursor); },
                        [] { QApplication::restoreOverrideCursor(); });

    const bool measuring = measuringStartup(application.arguments());
    AppContext context;
    StartUp startUp(context, {.programFolder = QCoreApplication::applicationDirPath(),
                              .instanceLockPath =
                                  measuring ? measuredInstanceLockPath(defaultInstanceLockPath())
                                            : defaultInstanceLockPath(),
                              .module = moduleReaderSteps(&readAhead)});
    if (!startUp.run())
        return startUp.exitCode();
    if (measuring)
        quitWhenPainted(
            startUp.mainWindow()->screenArea()->findChild<QWidget *>(QStringLiteral("frStart")));
    return application.exec();
}

#include "AppContext.h"
#include "QtMessageBoxes.h"
#include "StartUp.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QtMessageBoxes messageBoxes;
    MessageBoxes::install(&messageBoxes);

    AppContext context;
    StartUp startUp(context, {.programFolder = QCoreApplication::applicationDirPath(),
                              .instanceLockPath = defaultInstanceLockPath(),
                              .module = moduleReaderSteps()});
    if (!startUp.run())
        return startUp.exitCode();
    return application.exec();
}

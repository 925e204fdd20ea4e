#include "MenuCommands.h"

#include "app/AboutWindow.h"
#include "app/AppContext.h"
#include "app/InfoWindow.h"
#include "app/MainWindow.h"
#include "app/ModuleFacts.h"
#include "app/OptionWindow.h"
#include "app/ShellOpen.h"
#include "app/TestRoad.h"
#include "app/UserSettings.h"
#include "engine/RuntimeError.h"
#include "testwindow/TestWindow.h"

#include <QAction>
#include <QSettings>

MenuCommands::MenuCommands(AppContext &context, MainWindow &main, TestRoad &road)
    : QObject(&main), m_context(context), m_main(main), m_road(road)
{
    connectItem(QStringLiteral("keyInfo"), &MenuCommands::showModuleInfo);
    connectItem(QStringLiteral("keyOption"), &MenuCommands::showTestOptions);
    for (const char *size : {"keySmall", "keyMedium", "keyLarge", "keyVLarge"})
        connectItem(QLatin1String(size), &MenuCommands::applyFontSize);
    connectItem(QStringLiteral("keyContent"), &MenuCommands::openHelp);
    connectItem(QStringLiteral("keyHomePage"), &MenuCommands::openHomePage);
    connectItem(QStringLiteral("keyContact"), &MenuCommands::openContactPage);
    connectItem(QStringLiteral("keyProducts"), &MenuCommands::openProductsPage);
    connectItem(QStringLiteral("keyAbout"), &MenuCommands::showAbout);
}

void MenuCommands::connectItem(const QString &key, void (MenuCommands::*command)())
{
    connect(m_main.menuItem(key), &QAction::triggered, this, command);
}

void MenuCommands::showModuleInfo()
{
    InfoWindow frInfo(m_context.bank, &m_main);
    frInfo.exec();
}

void MenuCommands::showTestOptions()
{
    OptionWindow frOption(m_context.bank, m_context.state, &m_main);
    if (frOption.exec() != QDialog::Accepted)
        return;
    guarded(QStringLiteral("Procedure Name: ChgTestOption"), [&] {
        ChgTestOption(m_context.state, frOption.choice());
        if (TestWindow *test = m_road.testWindow()) {
            test->SetTestTimer();
            test->ShowButtons(m_context.state.curItem);
            // Marking and the review list follow the Previous option.
            test->activate();
        }
    });
}

void MenuCommands::applyFontSize()
{
    // The group has already moved the check mark; a new test window takes the size too.
    if (QSettings *kept = m_context.userSettings)
        kept->setValue(UserSettings::fontSizeKey(), m_main.testFontSize());
    if (TestWindow *test = m_road.testWindow())
        test->SetTestFontSize(m_main.testFontSize());
}

void MenuCommands::openHelp()
{
    OpenHelp(m_context.programFolder, QStringLiteral("index.html"), true);
}

void MenuCommands::openHomePage()
{
    openWithSystem(QUrl(webPageAddress()));
}

void MenuCommands::openContactPage()
{
    openWithSystem(QUrl(webPageAddress(QStringLiteral("contact.php"))));
}

void MenuCommands::openProductsPage()
{
    openWithSystem(QUrl(webPageAddress(QStringLiteral("products.php"))));
}

void MenuCommands::showAbout()
{
    AboutWindow frAbout(m_context.bank, &m_main);
    frAbout.exec();
}

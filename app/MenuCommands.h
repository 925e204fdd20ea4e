#pragma once

#include <QObject>

struct AppContext;
class MainWindow;
class TestRoad;

// The menu's commands besides Exit: module information, test options, font size, the help
// manual, the web pages and the about box, each connected to its item's action.
class MenuCommands : public QObject
{
    Q_OBJECT
public:
    MenuCommands(AppContext &context, MainWindow &main, TestRoad &road);

private:
    void connectItem(const QString &key, void (MenuCommands::*command)());
    void showModuleInfo();
    void showTestOptions();
    void applyFontSize();
    void openHelp();
    void openHomePage();
    void openContactPage();
    void openProductsPage();
    void showAbout();

    AppContext &m_context;
    MainWindow &m_main;
    TestRoad &m_road;
};

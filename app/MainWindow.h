#pragma once

#include <QMainWindow>
#include <QString>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
struct TestState;

// The web site named by the Help menu.
inline const QString webSiteAddress = QStringLiteral("www.quendra.example.com");

// The program's frame: the menu, the status bar and the area that holds the screens
// (start, custom settings, get ready, score report) as frameless child widgets.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr int minimumWidth = 800;
    static constexpr int minimumHeight = 600;
    static constexpr int statusPanelCount = 6;

    explicit MainWindow(QWidget *parent = nullptr);

    // Shows the frame in the middle of its screen, a little larger than its minimum where
    // the screen has the room.
    void showCentred();

    // Creates the whole menu tree with its initial states; called once at start-up. Every
    // command is a QAction named by its key; Exit is connected here, and a window that
    // handles another command connects to its action, e.g.
    // connect(main.menuItem(QStringLiteral("keyInfo")), &QAction::triggered, ...).
    void BuildMenu();
    // The menu item (or top-level menu) with this key, e.g. "keyExit"; null before BuildMenu.
    QAction *menuItem(const QString &key) const;

    // The parent of the screens. A screen added here keeps its own size; the four mode
    // screens are placed by the layout rule on every resize.
    QWidget *screenArea() const { return m_screenArea; }
    void addScreen(QWidget *screen);
    void showScreen(QWidget *screen);

    // Panel 1 carries the key "info": the screen's status text and, in a test, the item's
    // instruction line. Panel 6 carries the key "date".
    void setStatusPanel(const QString &key, const QString &text);
    void setStatusText(const QString &text) { setStatusPanel(QStringLiteral("info"), text); }
    QString statusPanelText(const QString &key) const;

    // The points of the checked Font Size item (8, 10, 12 or 14).
    int testFontSize() const;
    // Checks the Font Size item of these points; other points leave the check where it is.
    void setTestFontSize(int points);

    // Test options and font size only apply while a test is shown.
    void DisableTestMenus();
    void EnableTestMenus(const TestState &state);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    void applyMinimumSize();
    void fitScreenArea();
    QMenu *addTopLevelMenu(const QString &key, const QString &caption);
    QAction *addItem(QMenu *menu, const QString &key, const QString &caption,
                     const QKeySequence &shortcut = {}, const QString &iconKey = {});
    void buildStatusBar();
    void layoutScreens();
    void unloadOtherWindows();

    QWidget *m_screenArea = nullptr;
    QLabel *m_statusPanels[statusPanelCount] = {};
    QActionGroup *m_fontSizes = nullptr;
};

#include "MainWindow.h"

#include "app/ScreenScroller.h"
#include "common/MessageBoxes.h"
#include "common/Twips.h"
#include "engine/TestState.h"
#include "present/ScreenFit.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>

#include <algorithm>

namespace {
// The screens that the layout rule places in the middle of the frame.
const QStringList centredScreens = {QStringLiteral("frStart"), QStringLiteral("frCustom"),
                                    QStringLiteral("frReady"), QStringLiteral("frResult")};

// The windows closed at shutdown, in this order, when they exist.
const QStringList shutdownOrder = {
    QStringLiteral("frAbout"),   QStringLiteral("frCustom"), QStringLiteral("frDiagram"),
    QStringLiteral("frExhibit"), QStringLiteral("frGDnD"),   QStringLiteral("frGoto"),
    QStringLiteral("frInfo"),    QStringLiteral("frList"),   QStringLiteral("frOption"),
    QStringLiteral("frReady"),   QStringLiteral("frResult"), QStringLiteral("frSplash"),
    QStringLiteral("frStart"),   QStringLiteral("frTDnD"),   QStringLiteral("frTest")};

// The height of the start, custom and Get Ready screens; the test window fits it too.
constexpr int smallestScreenHeight = 6600;

const QStringList fontSizeKeys = {QStringLiteral("keySmall"), QStringLiteral("keyMedium"),
                                  QStringLiteral("keyLarge"), QStringLiteral("keyVLarge")};
const int fontSizePoints[] = {8, 10, 12, 14};
constexpr char pointSizeProperty[] = "pointSize";

// The action property that names an item's picture until the picture is loaded.
constexpr char iconKeyProperty[] = "iconKey";

int panelIndex(const QString &key)
{
    if (key == QLatin1String("info"))
        return 0;
    if (key == QLatin1String("date"))
        return MainWindow::statusPanelCount - 1;
    return -1;
}

QIcon menuIcon(const QString &iconKey)
{
    static const QHash<QString, QStyle::StandardPixmap> pixmaps = {
        {QStringLiteral("info"), QStyle::SP_MessageBoxInformation},
        {QStringLiteral("option"), QStyle::SP_FileDialogDetailedView},
        {QStringLiteral("exit"), QStyle::SP_DialogCloseButton},
        {QStringLiteral("content"), QStyle::SP_DialogHelpButton},
        {QStringLiteral("web"), QStyle::SP_DriveNetIcon},
        {QStringLiteral("contact"), QStyle::SP_DialogYesButton},
        {QStringLiteral("product"), QStyle::SP_DirHomeIcon}};
    const auto found = pixmaps.constFind(iconKey);
    return found == pixmaps.constEnd() ? QIcon() : QApplication::style()->standardIcon(*found);
}
} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frMain"));
    setWindowTitle(QStringLiteral("Quendra"));
    m_screenArea = new QWidget;
    m_screenArea->setObjectName(QStringLiteral("mdiArea"));
    m_screenArea->installEventFilter(this);
    // On a screen smaller than the design (a high scale factor) the screens keep their
    // design size and scroll instead of overlapping or being cut off.
    auto *scroller = new ScreenScroller(this);
    scroller->setObjectName(QStringLiteral("mdiScroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setWidget(m_screenArea);
    setCentralWidget(scroller);
    applyMinimumSize();

    buildStatusBar();
}

void MainWindow::applyMinimumSize()
{
    // The minimum holds for the whole window, its frame included, and no more than the
    // screen can show.
    const QSize design = QSize(minimumWidth, minimumHeight) - windowFrameAllowance();
    setMinimumSize(design.boundedTo(roomOnScreen(this)));
    m_screenArea->setMinimumWidth(design.width());
    fitScreenArea();
}

void MainWindow::fitScreenArea()
{
    // The area scrolls no further down than its tallest shown screen needs; the test window
    // and the review list take the height there is, so that on a short screen the item's
    // heading, question and buttons stay in view together and the question scrolls inside.
    int height = twips(smallestScreenHeight);
    for (QObject *child : m_screenArea->children()) {
        auto *screen = qobject_cast<QWidget *>(child);
        if (screen && centredScreens.contains(screen->objectName()) && screen->isVisible())
            height = std::max(height, screen->height());
    }
    m_screenArea->setMinimumHeight(height);
}

// The window manager's frame is known once it has shown or placed the window.
void MainWindow::showEvent(QShowEvent *event)
{
    applyMinimumSize();
    QMainWindow::showEvent(event);
}

void MainWindow::moveEvent(QMoveEvent *event)
{
    applyMinimumSize();
    QMainWindow::moveEvent(event);
}

void MainWindow::showCentred()
{
    if (const QScreen *where = screen()) {
        const QSize frame = windowFrameAllowance();
        resize((QSize(1024, 768) - frame).boundedTo(roomOnScreen(this)).expandedTo(minimumSize()));
        QRect place(QPoint(), size() + frame);
        place.moveCenter(where->availableGeometry().center());
        move(place.topLeft());
    }
    show();
}

void MainWindow::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("stBar"));
    bar->setSizeGripEnabled(true);
    for (int panel = 0; panel < statusPanelCount; ++panel) {
        auto *label = new QLabel(bar);
        label->setTextFormat(Qt::PlainText);
        label->setObjectName(QStringLiteral("stBarPanel%1").arg(panel + 1));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(panel == 0 ? 0 : 40);
        label->setContentsMargins(4, 0, 4, 0);
        // The first panel takes the spare width; the others keep to their text.
        bar->addPermanentWidget(label, panel == 0 ? 1 : 0);
        m_statusPanels[panel] = label;
    }
}

void MainWindow::BuildMenu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("smXP"));

    QMenu *test = addTopLevelMenu(QStringLiteral("keyTest"), QStringLiteral("&Test"));
    addItem(test, QStringLiteral("keyInfo"), QStringLiteral("Test Module &Information"),
            QKeySequence(Qt::CTRL | Qt::Key_I), QStringLiteral("info"));
    addItem(test, QStringLiteral("keyOption"), QStringLiteral("&Options"),
            QKeySequence(Qt::CTRL | Qt::Key_O), QStringLiteral("option"))
        ->setEnabled(false);
    test->addSeparator();
    addItem(test, QStringLiteral("keyHistory"), QStringLiteral("&History..."),
            QKeySequence(Qt::CTRL | Qt::Key_H));
    addItem(test, QStringLiteral("keyPractice"), QStringLiteral("Practise &Weak Areas"),
            QKeySequence(Qt::CTRL | Qt::Key_W));
    addItem(test, QStringLiteral("keyPracticeWrong"), QStringLiteral("Practise Wrong &Answers"),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
    addItem(test, QStringLiteral("keyPrintReport"), QStringLiteral("&Print Score Report..."),
            QKeySequence(Qt::CTRL | Qt::Key_P));
    addItem(test, QStringLiteral("keySaveReportPdf"),
            QStringLiteral("Save Score Report as P&DF..."), QKeySequence(Qt::CTRL | Qt::Key_D));
    addItem(test, QStringLiteral("keyDeleteHistory"), QStringLiteral("De&lete History..."));
    test->addSeparator();
    QAction *exit = addItem(test, QStringLiteral("keyExit"), QStringLiteral("E&xit"),
                            QKeySequence(Qt::ALT | Qt::Key_X), QStringLiteral("exit"));
    // Closing asks the exit question, as the window's close button does.
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu *font = addTopLevelMenu(QStringLiteral("keyFont"), QStringLiteral("&Font Size"));
    // Exclusive: choosing the checked size again keeps it the only one checked.
    m_fontSizes = new QActionGroup(this);
    m_fontSizes->setExclusive(true);
    const QStringList fontCaptions = {QStringLiteral("&Small"), QStringLiteral("&Medium"),
                                      QStringLiteral("&Large"), QStringLiteral("&Very Large")};
    const Qt::Key fontLetters[] = {Qt::Key_S, Qt::Key_M, Qt::Key_L, Qt::Key_V};
    for (int size = 0; size < fontSizeKeys.size(); ++size) {
        QAction *item = addItem(font, fontSizeKeys[size], fontCaptions[size],
                                QKeySequence(Qt::CTRL | Qt::ALT | fontLetters[size]));
        item->setCheckable(true);
        item->setChecked(fontSizeKeys[size] == QLatin1String("keyMedium"));
        item->setProperty(pointSizeProperty, fontSizePoints[size]);
        m_fontSizes->addAction(item);
    }
    font->menuAction()->setEnabled(false);
    // The items' shortcuts must not reach around a disabled menu.
    m_fontSizes->setEnabled(false);

    QMenu *help = addTopLevelMenu(QStringLiteral("keyHelp"), QStringLiteral("&Help"));
    addItem(help, QStringLiteral("keyContent"), QStringLiteral("&Content and Index"),
            QKeySequence(Qt::Key_F1), QStringLiteral("content"));
    help->addSeparator();
    addItem(help, QStringLiteral("keyHomePage"), QStringLiteral("&") + webSiteAddress, {},
            QStringLiteral("web"));
    addItem(help, QStringLiteral("keyContact"), QStringLiteral("Contact and &Support"), {},
            QStringLiteral("contact"));
    addItem(help, QStringLiteral("keyProducts"), QStringLiteral("Quendra Products"), {},
            QStringLiteral("product"));
    help->addSeparator();
    addItem(help, QStringLiteral("keyAbout"), QStringLiteral("&About Quendra"));
}

QMenu *MainWindow::addTopLevelMenu(const QString &key, const QString &caption)
{
    QMenu *menu = menuBar()->addMenu(caption);
    menu->setObjectName(key + QStringLiteral("Menu"));
    menu->menuAction()->setObjectName(key);
    // The items' pictures are loaded when the menu first opens: loading them reads image
    // plugins that start-up has no other use for.
    connect(menu, &QMenu::aboutToShow, menu, [menu] {
        for (QAction *item : menu->actions()) {
            if (item->icon().isNull())
                item->setIcon(menuIcon(item->property(iconKeyProperty).toString()));
        }
    });
    return menu;
}

QAction *MainWindow::addItem(QMenu *menu, const QString &key, const QString &caption,
                             const QKeySequence &shortcut, const QString &iconKey)
{
    QAction *item = menu->addAction(caption);
    item->setProperty(iconKeyProperty, iconKey);
    item->setObjectName(key);
    item->setShortcut(shortcut);
    // Shortcuts work while any screen or child window of the frame has the focus.
    item->setShortcutContext(Qt::ApplicationShortcut);
    return item;
}

QAction *MainWindow::menuItem(const QString &key) const
{
    return menuBar()->findChild<QAction *>(key);
}

int MainWindow::testFontSize() const
{
    const QAction *checked = m_fontSizes ? m_fontSizes->checkedAction() : nullptr;
    return checked ? checked->property(pointSizeProperty).toInt() : fontSizePoints[1];
}

void MainWindow::setTestFontSize(int points)
{
    for (QAction *item : m_fontSizes->actions()) {
        if (item->property(pointSizeProperty).toInt() == points)
            item->setChecked(true);
    }
}

void MainWindow::DisableTestMenus()
{
    if (QAction *option = menuItem(QStringLiteral("keyOption")))
        option->setEnabled(false);
    if (QAction *font = menuItem(QStringLiteral("keyFont"))) {
        font->setEnabled(false);
        m_fontSizes->setEnabled(false);
    }
}

void MainWindow::EnableTestMenus(const TestState &state)
{
    if (QAction *font = menuItem(QStringLiteral("keyFont"))) {
        font->setEnabled(true);
        m_fontSizes->setEnabled(true);
    }
    if (state.testMode == CustomMode) {
        if (QAction *option = menuItem(QStringLiteral("keyOption")))
            option->setEnabled(state.testActive);
    }
}

void MainWindow::setStatusPanel(const QString &key, const QString &text)
{
    const int index = panelIndex(key);
    if (index >= 0)
        m_statusPanels[index]->setText(text);
}

QString MainWindow::statusPanelText(const QString &key) const
{
    const int index = panelIndex(key);
    return index >= 0 ? m_statusPanels[index]->text() : QString();
}

void MainWindow::addScreen(QWidget *screen)
{
    screen->setParent(m_screenArea);
    screen->installEventFilter(this);
    screen->hide();
    layoutScreens();
}

void MainWindow::showScreen(QWidget *screen)
{
    if (screen->parentWidget() != m_screenArea)
        addScreen(screen);
    layoutScreens();
    screen->show();
    screen->raise();
    screen->activateWindow();
    screen->setFocus();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_screenArea && event->type() == QEvent::Resize)
        layoutScreens();
    if (watched->parent() == m_screenArea &&
        (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        fitScreenArea();
    // The area's own background, painted here rather than through its palette or role, which
    // its screens would inherit.
    if (watched == m_screenArea && event->type() == QEvent::Paint) {
        QPainter painter(m_screenArea);
        painter.fillRect(m_screenArea->rect(), m_screenArea->palette().color(QPalette::Dark));
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::layoutScreens()
{
    if (isMinimized())
        return;
    // Centred in the part of the area in view when the area scrolls.
    const QSize shown = static_cast<QScrollArea *>(centralWidget())->viewport()->size();
    const int width = std::min(m_screenArea->width(), shown.width());
    const int height = std::min(m_screenArea->height(), shown.height());
    for (QObject *child : m_screenArea->children()) {
        auto *screen = qobject_cast<QWidget *>(child);
        if (!screen || !centredScreens.contains(screen->objectName()))
            continue;
        // Centred, a little above the middle; never pushed past the top or left edge,
        // where a part of the screen could no longer be reached.
        const int left = (width - screen->width()) / 2;
        const int top = (height - screen->height()) / 2 - twips(600);
        screen->move(std::max(left, 0), std::max(top, 0));
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (showMessage(QStringLiteral("Exit Quendra..."),
                    QStringLiteral("Are you sure you want to terminate Quendra?"),
                    MessageIcon::Question, MessageButtons::OkCancel) != MessageButton::Ok) {
        event->ignore();
        return;
    }
    event->accept();
    unloadOtherWindows();
    // Queued, so that a close confirmed while start-up is still running ends the program as
    // soon as its event loop starts.
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                              Qt::QueuedConnection);
}

void MainWindow::unloadOtherWindows()
{
    for (const QString &name : shutdownOrder) {
        // Looked up afresh for every name: closing one window may release others.
        QWidgetList windows = findChildren<QWidget *>(name);
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window != this && window->objectName() == name && !windows.contains(window))
                windows.append(window);
        }
        for (QWidget *window : windows)
            window->close();
    }
}

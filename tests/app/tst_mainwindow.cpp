#include "FakeMessageBoxes.h"
#include "app/DeferredIconStyle.h"
#include "app/MainWindow.h"
#include "engine/TestState.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// A window that notes in a shared list when it is closed.
class ClosingWindow : public QWidget
{
public:
    ClosingWindow(const QString &name, QStringList &closed, QWidget *parent = nullptr)
        : QWidget(parent), m_closed(closed)
    {
        setObjectName(name);
    }

protected:
    void closeEvent(QCloseEvent *event) override
    {
        m_closed.append(objectName());
        QWidget::closeEvent(event);
    }

private:
    QStringList &m_closed;
};

QStringList itemKeys(const QMenu *menu)
{
    QStringList keys;
    for (const QAction *item : menu->actions())
        keys.append(item->isSeparator() ? QStringLiteral("-") : item->objectName());
    return keys;
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void frameHasItsTitleSizeAndSixPanels();
    void menuItemsHaveTheirCaptionsShortcutsAndStates_data();
    void menuItemsHaveTheirCaptionsShortcutsAndStates();
    void menusHoldTheirItemsInOrder();
    void theOverflowArrowIsLoadedWhenFirstDrawn();
    void choosingAFontSizeLeavesExactlyOneChecked();
    void handledCommandsRunFromTheirActions_data();
    void handledCommandsRunFromTheirActions();
    void testMenusFollowTheModeAndTheTest_data();
    void testMenusFollowTheModeAndTheTest();
    void modeScreensAreCentredAboveTheMiddle();
    void aScreenTallerThanTheFrameStaysReachable();
    void cancellingTheExitQuestionChangesNothing();
    void confirmingExitClosesTheWindowsInOrder();

private:
    std::unique_ptr<MainWindow> m_window;
};

void TestMainWindow::init()
{
    m_window = std::make_unique<MainWindow>();
    m_window->BuildMenu();
}

void TestMainWindow::cleanup()
{
    m_window.reset();
}

void TestMainWindow::frameHasItsTitleSizeAndSixPanels()
{
    QCOMPARE(m_window->objectName(), QStringLiteral("frMain"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Quendra"));
    m_window->show();
    m_window->resize(500, 400);
    QCOMPARE(m_window->size(), QSize(800, 600));

    QVERIFY(m_window->findChild<QWidget *>(QStringLiteral("stBar")));
    for (int panel = 1; panel <= 6; ++panel)
        QVERIFY(m_window->findChild<QLabel *>(QStringLiteral("stBarPanel%1").arg(panel)));
    m_window->setStatusText(QStringLiteral("Main Menu"));
    m_window->setStatusPanel(QStringLiteral("date"), QStringLiteral("12/6/26 6:40 PM"));
    QCOMPARE(m_window->findChild<QLabel *>(QStringLiteral("stBarPanel1"))->text(),
             QStringLiteral("Main Menu"));
    QCOMPARE(m_window->statusPanelText(QStringLiteral("info")), QStringLiteral("Main Menu"));
    QCOMPARE(m_window->findChild<QLabel *>(QStringLiteral("stBarPanel6"))->text(),
             QStringLiteral("12/6/26 6:40 PM"));
}

void TestMainWindow::menuItemsHaveTheirCaptionsShortcutsAndStates_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("checked");

    const QKeySequence none;
    QTest::newRow("test") << "keyTest" << u"&Test"_s << none << true << false;
    QTest::newRow("info") << "keyInfo" << u"Test Module &Information"_s
                          << QKeySequence(Qt::CTRL | Qt::Key_I) << true << false;
    QTest::newRow("option") << "keyOption" << u"&Options"_s << QKeySequence(Qt::CTRL | Qt::Key_O)
                            << false << false;
    QTest::newRow("exit") << "keyExit" << u"E&xit"_s << QKeySequence(Qt::ALT | Qt::Key_X) << true
                          << false;
    QTest::newRow("font") << "keyFont" << u"&Font Size"_s << none << false << false;
    QTest::newRow("small") << "keySmall" << u"&Small"_s
                           << QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S) << false << false;
    QTest::newRow("medium") << "keyMedium" << u"&Medium"_s
                            << QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_M) << false << true;
    QTest::newRow("large") << "keyLarge" << u"&Large"_s
                           << QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_L) << false << false;
    QTest::newRow("very large") << "keyVLarge" << u"&Very Large"_s
                                << QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_V) << false << false;
    QTest::newRow("help") << "keyHelp" << u"&Help"_s << none << true << false;
    QTest::newRow("content") << "keyContent" << u"&Content and Index"_s << QKeySequence(Qt::Key_F1)
                             << true << false;
    QTest::newRow("home page") << "keyHomePage" << u"&www.quendra.example.com"_s << none << true
                               << false;
    QTest::newRow("contact") << "keyContact" << u"Contact and &Support"_s << none << true << false;
    QTest::newRow("products") << "keyProducts" << u"Quendra Products"_s << none << true << false;
    QTest::newRow("about") << "keyAbout" << u"&About Quendra"_s << none << true << false;
}

void TestMainWindow::menuItemsHaveTheirCaptionsShortcutsAndStates()
{
    QFETCH(QString, key);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    QFETCH(bool, enabled);
    QFETCH(bool, checked);

    const QAction *item = m_window->menuItem(key);
    QVERIFY(item);
    QCOMPARE(item->text(), caption);
    QCOMPARE(item->shortcut(), shortcut);
    QCOMPARE(item->isEnabled(), enabled);
    QCOMPARE(item->isChecked(), checked);
}

void TestMainWindow::theOverflowArrowIsLoadedWhenFirstDrawn()
{
    int loads = 0;
    QIcon deferred(new DeferredIconEngine([&] {
        ++loads;
        return QApplication::style()->standardIcon(QStyle::SP_ArrowRight);
    }));
    const QIcon copy = deferred;
    QCOMPARE(loads, 0);
    const QImage drawn = copy.pixmap(16).toImage();
    QCOMPARE(loads, 1);
    QCOMPARE(drawn,
             QApplication::style()->standardIcon(QStyle::SP_ArrowRight).pixmap(16).toImage());
    QCOMPARE(deferred.pixmap(16).toImage(), drawn);
    QCOMPARE(loads, 1);

    // The style changes nothing but when the arrow is loaded.
    DeferredIconStyle style;
    for (const auto which :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_DialogOkButton})
        QCOMPARE(style.standardIcon(which).pixmap(16).toImage(),
                 style.baseStyle()->standardIcon(which).pixmap(16).toImage());
}

void TestMainWindow::menusHoldTheirItemsInOrder()
{
    const QMenuBar *bar = m_window->findChild<QMenuBar *>(QStringLiteral("smXP"));
    QVERIFY(bar);
    QStringList topLevel;
    for (const QAction *item : bar->actions())
        topLevel.append(item->objectName());
    QCOMPARE(topLevel, QStringList({u"keyTest"_s, u"keyFont"_s, u"keyHelp"_s}));
    QCOMPARE(itemKeys(m_window->menuItem(QStringLiteral("keyTest"))->menu()),
             QStringList({u"keyInfo"_s, u"keyOption"_s, u"-"_s, u"keyExit"_s}));
    QCOMPARE(itemKeys(m_window->menuItem(QStringLiteral("keyFont"))->menu()),
             QStringList({u"keySmall"_s, u"keyMedium"_s, u"keyLarge"_s, u"keyVLarge"_s}));
    QCOMPARE(itemKeys(m_window->menuItem(QStringLiteral("keyHelp"))->menu()),
             QStringList({u"keyContent"_s, u"-"_s, u"keyHomePage"_s, u"keyContact"_s,
                          u"keyProducts"_s, u"-"_s, u"keyAbout"_s}));
    // The pictures come with the first opening of their menu.
    const QStringList pictured = {u"keyInfo"_s,    u"keyOption"_s,   u"keyExit"_s,
                                  u"keyContent"_s, u"keyHomePage"_s, u"keyContact"_s,
                                  u"keyProducts"_s};
    for (const QString &key : pictured)
        QVERIFY2(m_window->menuItem(key)->icon().isNull(), qPrintable(key));
    for (const QString &menu : {u"keyTest"_s, u"keyHelp"_s})
        Q_EMIT m_window->menuItem(menu)->menu()->aboutToShow();
    for (const QString &key : pictured)
        QVERIFY2(!m_window->menuItem(key)->icon().isNull(), qPrintable(key));
    QVERIFY(m_window->menuItem(QStringLiteral("keyAbout"))->icon().isNull());
}

void TestMainWindow::choosingAFontSizeLeavesExactlyOneChecked()
{
    m_window->EnableTestMenus(TestState{});
    const QStringList sizes = {u"keySmall"_s, u"keyMedium"_s, u"keyLarge"_s, u"keyVLarge"_s};
    for (const QString &chosen : {u"keyLarge"_s, u"keyLarge"_s, u"keySmall"_s}) {
        m_window->menuItem(chosen)->trigger();
        for (const QString &size : sizes)
            QCOMPARE(m_window->menuItem(size)->isChecked(), size == chosen);
    }
}

// One row for each command with a handler, its action found by its key.
void TestMainWindow::handledCommandsRunFromTheirActions_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QList<MessageBoxRequest>>("boxes");
    QTest::addColumn<bool>("windowShown");

    const MessageBoxRequest exitQuestion{u"Exit Quendra..."_s,
                                         u"Are you sure you want to terminate Quendra?"_s,
                                         MessageIcon::Question, MessageButtons::OkCancel};
    QTest::newRow("exit asks, then closes") << u"keyExit"_s << QList{exitQuestion} << false;
}

void TestMainWindow::handledCommandsRunFromTheirActions()
{
    QFETCH(QString, key);
    QFETCH(QList<MessageBoxRequest>, boxes);
    QFETCH(bool, windowShown);

    FakeMessageBoxes fake;
    fake.answerNext(MessageButton::Ok);
    m_window->show();
    m_window->menuItem(key)->trigger();
    QCOMPARE(fake.shown, boxes);
    QCOMPARE(m_window->isVisible(), windowShown);
}

void TestMainWindow::testMenusFollowTheModeAndTheTest_data()
{
    QTest::addColumn<int>("testMode");
    QTest::addColumn<bool>("testActive");
    QTest::addColumn<bool>("optionBefore");
    QTest::addColumn<bool>("optionAfter");

    QTest::newRow("exam, running") << int(ExamMode) << true << false << false;
    QTest::newRow("study leaves options as they were") << int(StudyMode) << true << true << true;
    QTest::newRow("custom, running") << int(CustomMode) << true << false << true;
    QTest::newRow("custom, graded") << int(CustomMode) << false << true << false;
}

void TestMainWindow::testMenusFollowTheModeAndTheTest()
{
    QFETCH(int, testMode);
    QFETCH(bool, testActive);
    QFETCH(bool, optionBefore);
    QFETCH(bool, optionAfter);

    QAction *option = m_window->menuItem(QStringLiteral("keyOption"));
    QAction *font = m_window->menuItem(QStringLiteral("keyFont"));
    option->setEnabled(optionBefore);
    TestState state;
    state.testMode = testMode;
    state.testActive = testActive;
    m_window->EnableTestMenus(state);
    QCOMPARE(option->isEnabled(), optionAfter);
    QVERIFY(font->isEnabled());
    QVERIFY(m_window->menuItem(QStringLiteral("keyLarge"))->isEnabled());

    m_window->DisableTestMenus();
    QVERIFY(!option->isEnabled());
    QVERIFY(!font->isEnabled());
    QVERIFY(!m_window->menuItem(QStringLiteral("keyLarge"))->isEnabled());
    QVERIFY(m_window->menuItem(QStringLiteral("keyMedium"))->isChecked());
}

void TestMainWindow::modeScreensAreCentredAboveTheMiddle()
{
    auto *start = new QWidget;
    start->setObjectName(QStringLiteral("frStart"));
    start->resize(600, 400);
    auto *other = new QWidget;
    other->setObjectName(QStringLiteral("frTest"));
    other->setGeometry(3, 4, 100, 100);
    m_window->addScreen(start);
    m_window->addScreen(other);
    m_window->show();
    m_window->showScreen(start);

    for (const QSize frame : {QSize(1000, 800), QSize(1200, 900)}) {
        m_window->resize(frame);
        const QSize area = m_window->screenArea()->size();
        QCOMPARE(start->pos(), QPoint((area.width() - 600) / 2, (area.height() - 400) / 2 - 40));
    }
    QCOMPARE(start->size(), QSize(600, 400));
    QCOMPARE(other->pos(), QPoint(3, 4));
    QVERIFY(start->isVisible());
    QVERIFY(!other->isVisible());
}

void TestMainWindow::aScreenTallerThanTheFrameStaysReachable()
{
    auto *result = new QWidget;
    result->setObjectName(QStringLiteral("frResult"));
    result->resize(700, 560);
    m_window->show();
    m_window->showScreen(result);
    m_window->resize(800, 600);
    QCOMPARE(result->pos().y(), 0);
    QCOMPARE(result->pos().x(), (m_window->screenArea()->width() - 700) / 2);
}

void TestMainWindow::cancellingTheExitQuestionChangesNothing()
{
    FakeMessageBoxes boxes;
    boxes.answerNext(MessageButton::Cancel);
    QStringList closed;
    auto *start = new ClosingWindow(QStringLiteral("frStart"), closed);
    ClosingWindow test(QStringLiteral("frTest"), closed);
    m_window->show();
    m_window->showScreen(start);
    test.show();

    m_window->menuItem(QStringLiteral("keyExit"))->trigger();

    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].title, QStringLiteral("Exit Quendra..."));
    QCOMPARE(boxes.shown[0].text, QStringLiteral("Are you sure you want to terminate Quendra?"));
    QCOMPARE(boxes.shown[0].icon, MessageIcon::Question);
    QCOMPARE(boxes.shown[0].buttons, MessageButtons::OkCancel);
    QVERIFY(m_window->isVisible());
    QVERIFY(start->isVisible());
    QVERIFY(test.isVisible());
    QVERIFY(closed.isEmpty());
}

void TestMainWindow::confirmingExitClosesTheWindowsInOrder()
{
    FakeMessageBoxes boxes;
    boxes.answerNext(MessageButton::Ok);
    QStringList closed;
    ClosingWindow test(QStringLiteral("frTest"), closed);
    ClosingWindow about(QStringLiteral("frAbout"), closed);
    ClosingWindow stranger(QStringLiteral("somethingElse"), closed);
    auto *ready = new ClosingWindow(QStringLiteral("frReady"), closed);
    auto *start = new ClosingWindow(QStringLiteral("frStart"), closed);
    m_window->show();
    m_window->addScreen(start);
    m_window->addScreen(ready);
    m_window->showScreen(ready);
    for (QWidget *window : {static_cast<QWidget *>(&test), static_cast<QWidget *>(&about),
                            static_cast<QWidget *>(&stranger)})
        window->show();

    // The window manager's close button goes the same way as Exit.
    QVERIFY(m_window->close());
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(closed, QStringList({u"frAbout"_s, u"frReady"_s, u"frStart"_s, u"frTest"_s}));
    QVERIFY(!m_window->isVisible());
    QVERIFY(!test.isVisible());
    QVERIFY(stranger.isVisible());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

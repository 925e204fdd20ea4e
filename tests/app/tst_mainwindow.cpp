#include "FakeMessageBoxes.h"
#include "app/DeferredIconStyle.h"
#include "app/MainWindow.h"
#include "engine/TestState.h"
#include "present/ScreenFit.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// A window that notes in a shared list when it is closed.
struct ClosingWindow : QWidget
{
    ClosingWindow(const QString &name, QStringList &closed) : closed(closed)
    {
        setObjectName(name);
    }
    void closeEvent(QCloseEvent *) override { closed << objectName(); }
    QStringList &closed;
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_window = std::make_unique<MainWindow>();
        m_window->BuildMenu();
    }

    void cleanup() { m_window.reset(); }

    void menuPicturesAreLoadedWhenFirstShown()
    {
        // The overflow arrow is loaded when it is first drawn, and once.
        int loads = 0;
        const QIcon arrow = QApplication::style()->standardIcon(QStyle::SP_ArrowRight);
        const QIcon deferred(new DeferredIconEngine([&] { return ++loads, arrow; }));
        QCOMPARE(loads, 0);
        for (int draw = 0; draw < 2; ++draw)
            QCOMPARE(deferred.pixmap(16).toImage(), arrow.pixmap(16).toImage());
        QCOMPARE(loads, 1);

        // A menu's item pictures come with its first opening.
        QVERIFY(item(u"keyInfo"_s)->icon().isNull());
        Q_EMIT item(u"keyTest"_s)->menu()->aboutToShow();
        QVERIFY(!item(u"keyInfo"_s)->icon().isNull());
    }

    void choosingAFontSizeLeavesExactlyOneChecked()
    {
        m_window->EnableTestMenus(TestState{});
        const QStringList sizes = {u"keySmall"_s, u"keyMedium"_s, u"keyLarge"_s, u"keyVLarge"_s};
        for (const QString &chosen : {u"keyLarge"_s, u"keyLarge"_s, u"keySmall"_s}) {
            item(chosen)->trigger();
            for (const QString &size : sizes)
                QCOMPARE(item(size)->isChecked(), size == chosen);
        }
    }

    void testMenusFollowTheModeAndTheTest_data()
    {
        QTest::addColumn<int>("testMode");
        QTest::addColumn<bool>("testActive");
        QTest::addColumn<bool>("optionBefore");
        QTest::addColumn<bool>("optionAfter");

        QTest::newRow("study (as exam) leaves options as they were")
            << int(StudyMode) << true << true << true;
        QTest::newRow("custom, running") << int(CustomMode) << true << false << true;
        QTest::newRow("custom, graded") << int(CustomMode) << false << true << false;
    }

    void testMenusFollowTheModeAndTheTest()
    {
        QFETCH(int, testMode);
        QFETCH(bool, testActive);
        QFETCH(bool, optionBefore);
        QFETCH(bool, optionAfter);

        QAction *option = item(u"keyOption"_s);
        option->setEnabled(optionBefore);
        TestState state;
        state.testMode = testMode;
        state.testActive = testActive;
        m_window->EnableTestMenus(state);
        QCOMPARE(option->isEnabled(), optionAfter);

        m_window->DisableTestMenus();
        QVERIFY(!option->isEnabled());
        // The size shortcuts must not reach around the disabled menu.
        QVERIFY(!item(u"keyLarge"_s)->isEnabled());
    }

    // On the smallest screen the program accepts (the offscreen one is 800 x 600), the frame
    // and its border fit the available area; the screens stay inside the frame.
    void frameFitsTheScreenAndScreensTheFrame()
    {
        auto *start = new QWidget;
        start->setObjectName(u"frStart"_s);
        start->resize(600, 400);
        auto *result = new QWidget;
        result->setObjectName(u"frResult"_s);
        result->resize(700, 560);
        m_window->addScreen(result);
        m_window->showCentred();
        const QRect framed(m_window->pos(), m_window->size() + windowFrameAllowance());
        QVERIFY(m_window->screen()->availableGeometry().contains(framed));
        m_window->showScreen(start);
        m_window->resize(1000, 800);

        // Centred across, above the middle; one taller than the frame keeps its top reachable.
        const QRect area = m_window->screenArea()->rect();
        QVERIFY(qAbs(start->geometry().center().x() - area.center().x()) <= 1);
        QVERIFY(start->y() > 0 && start->geometry().center().y() < area.center().y());
        // Dragged below its minimum, the frame stops there: 800 x 600 with its border.
        m_window->resize(500, 400);
        QCOMPARE(m_window->size() + windowFrameAllowance(), QSize(800, 600));
        QCOMPARE(result->y(), 0);
    }

    // Where a screen is taller than the view, the focus scrolls the area no further than it
    // takes to show the focused control, so the top comes back with a control there; once
    // the screen is hidden, the area is no taller than the view.
    void focusScrollsNoFurtherThanItNeeds()
    {
        auto *result = new QWidget;
        result->setObjectName(u"frResult"_s);
        result->resize(700, 1000);
        auto *top = new QPushButton(u"Top"_s, result);
        top->setGeometry(10, 10, 100, 30);
        auto *bottom = new QPushButton(u"Bottom"_s, result);
        bottom->setGeometry(10, 950, 100, 30);
        m_window->show();
        m_window->showScreen(result);
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        auto *scroller = m_window->findChild<QScrollArea *>(u"mdiScroller"_s);
        QScrollBar *bar = scroller->verticalScrollBar();

        bottom->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(bar->value(), result->y() + 980 - scroller->viewport()->height());
        QVERIFY(bar->value() < bar->maximum());
        top->setFocus(Qt::BacktabFocusReason);
        QTRY_COMPARE(bar->value(), 0);
        result->hide();
        QTRY_COMPARE(m_window->screenArea()->height(), scroller->viewport()->height());
    }

    void theExitQuestion_data()
    {
        QTest::addColumn<MessageButton>("answer");
        QTest::addColumn<QStringList>("closed");

        QTest::newRow("cancel changes nothing") << MessageButton::Cancel << QStringList();
        QTest::newRow("OK closes the program's windows in order")
            << MessageButton::Ok
            << QStringList({u"frAbout"_s, u"frReady"_s, u"frStart"_s, u"frTest"_s});
    }

    void theExitQuestion()
    {
        QFETCH(MessageButton, answer);
        QFETCH(QStringList, closed);

        FakeMessageBoxes boxes;
        boxes.answerNext(answer);
        QStringList closedWindows;
        ClosingWindow test(u"frTest"_s, closedWindows), about(u"frAbout"_s, closedWindows),
            stranger(u"somethingElse"_s, closedWindows);
        m_window->show();
        m_window->addScreen(new ClosingWindow(u"frStart"_s, closedWindows));
        m_window->showScreen(new ClosingWindow(u"frReady"_s, closedWindows));
        test.show();
        about.show();
        stranger.show();

        item(u"keyExit"_s)->trigger();

        QCOMPARE(boxes.shown,
                 (QList<MessageBoxRequest>{{u"Exit Quendra..."_s,
                                            u"Are you sure you want to terminate Quendra?"_s,
                                            MessageIcon::Question, MessageButtons::OkCancel}}));
        QCOMPARE(closedWindows, closed);
        QCOMPARE(m_window->isVisible(), closed.isEmpty());
        QVERIFY(stranger.isVisible());
    }

private:
    QAction *item(const QString &key) const { return m_window->menuItem(key); }

    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

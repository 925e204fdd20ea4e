#include "TestRoad.h"

#include "app/AppContext.h"
#include "app/CustomWindow.h"
#include "app/MainWindow.h"
#include "app/ReadyWindow.h"
#include "app/StartWindow.h"
#include "app/UserSettings.h"
#include "common/BusyCursor.h"
#include "common/Clock.h"
#include "engine/Grading.h"
#include "engine/InitTest.h"
#include "interactive/GraphicalDndWindow.h"
#include "interactive/ShowTask.h"
#include "interactive/TextDndWindow.h"
#include "moduledb/QuestionBank.h"
#include "present/ScoreReport.h"
#include "testwindow/ReviewListWindow.h"
#include "testwindow/TestWindow.h"

#include <QEvent>
#include <QSettings>

TestRoad::TestRoad(AppContext &context, MainWindow &main, const QString &userName)
    : QObject(&main), m_context(context), m_main(main), m_userName(userName)
{
    m_start = new StartWindow(m_context.bank, m_context.state, m_userName);
    m_main.addScreen(m_start);
    connect(m_start, &StartWindow::activated, this, [this] {
        m_main.setStatusText(QStringLiteral("Main Menu"));
        m_main.DisableTestMenus();
    });
    connect(m_start, &StartWindow::testPrepared, this, &TestRoad::getReady);
    // The start screen's Exit goes the way of the menu's.
    connect(m_start, &StartWindow::exitRequested, &m_main, &QWidget::close);

    // The custom settings start from the module's duration.
    m_context.state.testDuration = QString::number(m_context.bank.testInfo.durationMinutes);
    connect(m_start, &StartWindow::customRequested, this, &TestRoad::showCustom);

    m_ready = new ReadyWindow(m_context.bank, m_context.state, m_userName);
    m_main.addScreen(m_ready);
    connect(m_ready, &ReadyWindow::activated, this,
            [this] { m_main.setStatusText(QStringLiteral("Get Ready!")); });
    connect(m_ready, &ReadyWindow::startRequested, this, &TestRoad::startTest);
    connect(m_ready, &ReadyWindow::mainMenuRequested, this, &TestRoad::showStart);

    // The test window fills the screen area, as a maximised child window does.
    m_screenArea = m_main.screenArea();
    m_screenArea->installEventFilter(this);
}

TestRoad::~TestRoad() = default;

// The custom settings screen is made when first asked for: most sessions never open it,
// and start-up need not build it.
void TestRoad::showCustom()
{
    if (!m_custom) {
        m_custom = new CustomWindow(m_context.bank, m_context.state);
        m_main.addScreen(m_custom);
        connect(m_custom, &CustomWindow::activated, this,
                [this] { m_main.setStatusText(QStringLiteral("Custom Mode Settings")); });
        if (QSettings *kept = m_context.userSettings) {
            if (const std::optional<CustomSettings> custom = UserSettings::storedCustom(*kept))
                m_custom->setCustomSettings(*custom);
            connect(m_custom, &CustomWindow::testPrepared, this,
                    [this, kept] { UserSettings::storeCustom(*kept, m_custom->customSettings()); });
        }
        connect(m_custom, &CustomWindow::testPrepared, this, &TestRoad::getReady);
        connect(m_custom, &CustomWindow::cancelled, this, &TestRoad::showStart);
    }
    m_main.showScreen(m_custom);
}

TestWindow *TestRoad::testWindow() const
{
    return m_test;
}

ScoreReport *TestRoad::scoreReport() const
{
    return m_report;
}

ReviewListWindow *TestRoad::reviewList() const
{
    return m_list;
}

void TestRoad::showStart()
{
    m_main.showScreen(m_start);
}

void TestRoad::getReady()
{
    if (m_ready->TestReady())
        m_main.showScreen(m_ready);
    else
        showStart();
}

void TestRoad::startTest()
{
    openTestWindow();
    m_testStarted = Clock::current().now();
}

void TestRoad::openTestWindow()
{
    // A test left at the Get Ready screen or ended earlier leaves nothing behind.
    delete m_test;
    delete m_report;
    delete m_list;
    m_test = new TestWindow(m_context.bank, m_context.state, m_main.screenArea());
    m_test->setModuleFolder(m_context.moduleFolder);
    m_test->SetTestFontSize(m_main.testFontSize());
    connect(m_test, &TestWindow::activated, this,
            [this] { m_main.EnableTestMenus(m_context.state); });
    connect(m_test, &TestWindow::instructionChanged, this,
            [this](const QString &text) { m_main.setStatusText(text); });
    connect(m_test, &TestWindow::gradeRequested, this, &TestRoad::gradeTest);
    connect(m_test, &TestWindow::scoreReportRequested, this, &TestRoad::showReport);
    connect(m_test, &TestWindow::taskRequested, this,
            [this] { ShowTask(m_context.bank, m_context.state, m_context.moduleFolder, m_test); });
    connect(m_test, &TestWindow::answerTaskRequested, this, [this](int q) {
        const int type = m_context.bank.questions[q].questionType;
        if (type == TextDragAndDrop)
            ShowTDnD(m_context.bank, m_context.state, q, false, m_test);
        else if (type == GraphicalDragAndDrop)
            ShowGDnD(m_context.bank, m_context.state, m_context.moduleFolder, q, false, m_test);
    });
    connect(m_test, &TestWindow::reviewListRequested, this, &TestRoad::showReviewList);
    m_test->load();
    showTestWindow();
}

void TestRoad::showTestWindow()
{
    if (!m_test)
        return;
    m_test->setGeometry(m_main.screenArea()->rect());
    m_test->show();
    m_test->raise();
    m_main.setStatusText(m_test->instruction());
}

void TestRoad::showReviewList()
{
    if (!m_test)
        return;
    if (!m_list) {
        m_list = new ReviewListWindow(m_context.bank, m_context.state, m_main.screenArea());
        connect(m_list, &ReviewListWindow::activated, this, [this] {
            m_main.setStatusText(QStringLiteral("Item Review"));
            m_main.DisableTestMenus();
        });
        connect(m_list, &ReviewListWindow::itemRequested, this, [this] {
            m_test->markFromRecord();
            m_test->GoToItem(m_context.state.curItem);
            showTestWindow();
        });
        connect(m_list, &ReviewListWindow::gradeRequested, m_test, &TestWindow::endTest);
        connect(m_list, &ReviewListWindow::scoreReportRequested, this, &TestRoad::showReport);
    }
    m_list->setGeometry(m_main.screenArea()->rect());
    m_list->show();
    m_list->raise();
    m_list->activateWindow();
}

void TestRoad::gradeTest()
{
    BusyCursor busy;
    // The time can run out while the item review list is shown.
    if (m_list)
        m_list->hide();
    GradeTest(m_context.bank, m_context.state);
    if (!m_report) {
        m_report = new ScoreReport(m_context.bank, m_context.state, m_userName);
        m_main.addScreen(m_report);
        connect(m_report, &ScoreReport::activated, this, [this] {
            m_main.DisableTestMenus();
            m_main.setStatusText(QStringLiteral("Test result"));
        });
        const auto review = [this] {
            if (!m_test)
                return;
            m_test->GoToItem(m_context.state.curItem);
            showTestWindow();
        };
        connect(m_report, &ScoreReport::reviewAllRequested, this, review);
        connect(m_report, &ScoreReport::reviewIncorrectRequested, this, review);
        connect(m_report, &ScoreReport::itemReviewRequested, this, &TestRoad::showReviewList);
        connect(m_report, &ScoreReport::mainMenuRequested, this, &TestRoad::endSession);
        connect(m_report, &ScoreReport::printRequested, this, &TestRoad::printRequested);
        connect(m_report, &ScoreReport::pdfRequested, this, &TestRoad::pdfRequested);
        connect(m_report, &ScoreReport::practiceRequested, this, &TestRoad::practiceRequested);
    }
    m_report->DrawScoreBox(m_context.state.objListCount);
    showReport();
    Q_EMIT testGraded();
}

void TestRoad::showReport()
{
    // A recorded test under review has no report here: its score is in the history.
    if (m_report) {
        m_main.showScreen(m_report);
        return;
    }
    endSession();
    Q_EMIT pastReviewEnded();
}

void TestRoad::endSession()
{
    closeSession();
    showStart();
}

void TestRoad::leaveStartScreens()
{
    closeSession();
    // Screens stay shown beneath the one shown over them, with their shortcuts.
    m_start->hide();
    if (m_custom)
        m_custom->hide();
}

void TestRoad::startCustomTest(const CustomSettings &settings)
{
    if (m_context.state.testActive)
        return;
    leaveStartScreens();
    m_context.state.testMode = CustomMode;
    if (InitTest(CustomMode, m_context.bank, m_context.state, settings))
        getReady();
    else
        showStart();
}

void TestRoad::reviewPastTest(TestState reviewed)
{
    if (m_context.state.testActive)
        return;
    leaveStartScreens();
    m_ready->hide();
    m_context.state = std::move(reviewed);
    openTestWindow();
}

void TestRoad::closeSession()
{
    // The report asks from inside its own button's click: release it afterwards.
    for (QWidget *window : {static_cast<QWidget *>(m_test), static_cast<QWidget *>(m_report),
                            static_cast<QWidget *>(m_list)}) {
        if (window) {
            window->hide();
            window->deleteLater();
        }
    }
}

bool TestRoad::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_screenArea && event->type() == QEvent::Resize) {
        if (m_test)
            m_test->setGeometry(m_screenArea->rect());
        if (m_list)
            m_list->setGeometry(m_screenArea->rect());
    }
    return QObject::eventFilter(watched, event);
}

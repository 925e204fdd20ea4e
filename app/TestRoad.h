#pragma once

#include <QDateTime>
#include <QObject>
#include <QPointer>

struct AppContext;
class CustomWindow;
class MainWindow;
class ReadyWindow;
class ReviewListWindow;
class ScoreReport;
class StartWindow;
class TestWindow;
struct CustomSettings;
struct TestState;

// The road of one test through the main window: start screen, Get Ready, the test
// window, the item review list, grading, the score report, the reviews, and back to the
// start screen. The start and Get Ready screens live for the run; the test window, the
// item review list and the score report for one test.
class TestRoad : public QObject
{
    Q_OBJECT
public:
    // Loads the start and Get Ready screens into the main window, hidden.
    TestRoad(AppContext &context, MainWindow &main, const QString &userName);
    ~TestRoad() override;

    StartWindow *startWindow() const { return m_start; }
    ReadyWindow *readyWindow() const { return m_ready; }
    CustomWindow *customWindow() const { return m_custom; }
    // The windows of the test under way; null when there is none.
    TestWindow *testWindow() const;
    ScoreReport *scoreReport() const;
    ReviewListWindow *reviewList() const;

    void showStart();
    // Ends the session of a graded test, if any, and prepares a Custom test with these
    // settings, up to the Get Ready screen. Not while a test is under way.
    void startCustomTest(const CustomSettings &settings);
    // Ends the session of a graded test, if any, and shows the recorded test that reviewed
    // holds (a graded state) in the test window from its first item, read only. Not while
    // a test is under way.
    void reviewPastTest(TestState reviewed);
    // When the test of the current or last session started.
    QDateTime testStarted() const { return m_testStarted; }

Q_SIGNALS:
    // The test was graded; the state holds its results.
    void testGraded();
    // The score report's requests.
    void printRequested();
    void pdfRequested();
    void practiceRequested();
    // The review of a recorded test was left for its score: back at the start screen.
    void pastReviewEnded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showCustom();
    void getReady();
    void startTest();
    // A new test window for the test in the state, shown at its first item.
    void openTestWindow();
    void gradeTest();
    void showReport();
    void showTestWindow();
    void showReviewList();
    void endSession();
    void closeSession();
    // Closes what a test left and hides the start screens, for a test begun outside them.
    void leaveStartScreens();

    AppContext &m_context;
    MainWindow &m_main;
    QString m_userName;
    StartWindow *m_start = nullptr;
    ReadyWindow *m_ready = nullptr;
    CustomWindow *m_custom = nullptr;
    // Kept apart from the main window, whose destruction still sends events to it.
    QPointer<QWidget> m_screenArea;
    QPointer<TestWindow> m_test;
    QPointer<ScoreReport> m_report;
    QPointer<ReviewListWindow> m_list;
    QDateTime m_testStarted;
};

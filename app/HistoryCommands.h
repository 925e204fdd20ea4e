#pragma once

#include "history/Attempt.h"
#include "history/History.h"

#include <QObject>

#include <optional>

struct AppContext;
struct ReportContent;
class MainWindow;
class TestRoad;

// Records every graded test and carries the commands that use the record: the history
// window, practice of the weak objectives or of the questions answered wrongly, review of
// a recorded test, the score report printed or saved as PDF, and
// deleting the history.
class HistoryCommands : public QObject
{
    Q_OBJECT
public:
    HistoryCommands(AppContext &context, MainWindow &main, TestRoad &road, const QString &userName);
    ~HistoryCommands() override;

private:
    void connectItem(const QString &key, void (HistoryCommands::*command)());
    void updateItems();
    void recordTest();
    void showHistory();
    void practiseWeakAreas();
    void practise(const QList<int> &objectiveNos);
    void practiseWrongAnswers();
    void review(const Attempt &attempt);
    // The attempts the practice goes by: the recent ones of the exam, or without a
    // history the test on screen; nothing when there is neither. With their items on request.
    std::optional<QList<Attempt>> practiceAttempts(bool withItems);
    void printReport();
    void saveReportPdf();
    void deleteHistory();
    // The report of the test on screen and whether to list its incorrect items; nothing
    // when there is none or the candidate cancelled.
    std::optional<std::pair<ReportContent, bool>> reportToOutput(const QString &title);

    AppContext &m_context;
    MainWindow &m_main;
    TestRoad &m_road;
    QString m_userName;
    History m_history;
    std::optional<Attempt> m_graded; // the test whose score report is on screen
};

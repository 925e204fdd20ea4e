#include "HistoryCommands.h"

#include "app/AppContext.h"
#include "app/HistoryWindow.h"
#include "app/MainWindow.h"
#include "app/TestRoad.h"
#include "common/Clock.h"
#include "common/MessageBoxes.h"
#include "history/WeakAreas.h"
#include "present/ReportDocument.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

#include <functional>

HistoryCommands::HistoryCommands(AppContext &context, MainWindow &main, TestRoad &road,
                                 const QString &userName)
    : QObject(&main), m_context(context), m_main(main), m_road(road), m_userName(userName),
      m_history(context.historyPath)
{
    connectItem(QStringLiteral("keyHistory"), &HistoryCommands::showHistory);
    connectItem(QStringLiteral("keyPractice"), &HistoryCommands::practiseWeakAreas);
    connectItem(QStringLiteral("keyPracticeWrong"), &HistoryCommands::practiseWrongAnswers);
    connectItem(QStringLiteral("keyPrintReport"), &HistoryCommands::printReport);
    connectItem(QStringLiteral("keySaveReportPdf"), &HistoryCommands::saveReportPdf);
    connectItem(QStringLiteral("keyDeleteHistory"), &HistoryCommands::deleteHistory);
    connect(&road, &TestRoad::testGraded, this, &HistoryCommands::recordTest);
    connect(&road, &TestRoad::printRequested, this, &HistoryCommands::printReport);
    connect(&road, &TestRoad::pdfRequested, this, &HistoryCommands::saveReportPdf);
    connect(&road, &TestRoad::practiceRequested, this, &HistoryCommands::practiseWeakAreas);
    // Queued: the test window that asks is on its way out, and the history may replace it.
    connect(&road, &TestRoad::pastReviewEnded, this, &HistoryCommands::showHistory,
            Qt::QueuedConnection);
    if (QAction *test = m_main.menuItem(QStringLiteral("keyTest")))
        connect(test->menu(), &QMenu::aboutToShow, this, &HistoryCommands::updateItems);
    updateItems();
}

HistoryCommands::~HistoryCommands() = default;

void HistoryCommands::connectItem(const QString &key, void (HistoryCommands::*command)())
{
    if (QAction *item = m_main.menuItem(key))
        connect(item, &QAction::triggered, this, command);
}

// The history's commands wait while a test runs; printing needs a score report on screen.
// Brought up to date when the menu opens and at grading, so that the shortcuts work.
void HistoryCommands::updateItems()
{
    const bool idle = !m_context.state.testActive;
    const bool reportShown = m_graded && m_road.scoreReport();
    const std::pair<const char *, bool> states[] = {
        {"keyHistory", idle},
        {"keyPractice", idle},
        {"keyPracticeWrong", idle},
        {"keyPrintReport", reportShown},
        {"keySaveReportPdf", reportShown},
        {"keyDeleteHistory", idle},
    };
    for (const auto &[key, enabled] : states) {
        if (QAction *item = m_main.menuItem(QString::fromLatin1(key)))
            item->setEnabled(enabled);
    }
}

void HistoryCommands::recordTest()
{
    m_graded = attemptFromState(m_context.bank, m_context.state, m_road.testStarted(),
                                Clock::current().now());
    m_history.record(*m_graded);
    updateItems();
}

void HistoryCommands::showHistory()
{
    if (m_context.state.testActive)
        return;
    HistoryStore *store = m_history.store();
    if (!store)
        return;
    HistoryWindow window(m_context.bank, *store, m_userName, true, &m_main);
    // What the window asked for runs once it is closed.
    std::function<void()> next;
    connect(&window, &HistoryWindow::practiceRequested, &window, [&](const QList<int> &weakest) {
        next = [this, weakest] { practise(weakest); };
        window.accept();
    });
    connect(&window, &HistoryWindow::wrongAnswersPracticeRequested, &window, [&] {
        next = [this] { practiseWrongAnswers(); };
        window.accept();
    });
    connect(&window, &HistoryWindow::reviewRequested, &window, [&](const Attempt &attempt) {
        next = [this, attempt] { review(attempt); };
        window.accept();
    });
    window.exec();
    if (next)
        next();
}

std::optional<QList<Attempt>> HistoryCommands::practiceAttempts(bool withItems)
{
    // Without a history, the test on screen is all there is to go by.
    if (HistoryStore *store = m_history.store()) {
        QList<Attempt> attempts = store->attempts();
        if (!withItems)
            return attempts;
        attempts =
            lastAttempts(attempts, m_context.bank.testInfo.examCode, HistoryWindow::recentAttempts);
        for (Attempt &attempt : attempts)
            attempt.items = store->items(attempt.id);
        return attempts;
    }
    if (m_graded && m_road.scoreReport())
        return QList<Attempt>{*m_graded};
    return std::nullopt;
}

void HistoryCommands::practiseWeakAreas()
{
    if (m_context.state.testActive)
        return;
    if (const std::optional<QList<Attempt>> attempts = practiceAttempts(false))
        practise(weakestObjectives(*attempts, m_context.bank.testInfo.examCode,
                                   HistoryWindow::recentAttempts,
                                   m_context.bank.objectives.size()));
}

void HistoryCommands::practiseWrongAnswers()
{
    if (m_context.state.testActive)
        return;
    const std::optional<QList<Attempt>> attempts = practiceAttempts(true);
    if (!attempts)
        return;
    const QList<int> questionNos = wronglyAnsweredQuestions(m_context.bank, *attempts);
    if (questionNos.isEmpty()) {
        showMessage(QStringLiteral("Practise Wrong Answers"),
                    QStringLiteral("Your recent tests show no wrong answer to a question this "
                                   "module still holds."),
                    MessageIcon::Information);
        return;
    }
    m_graded.reset();
    m_road.startCustomTest(wrongAnswerSettings(m_context.bank, questionNos));
}

// The items of a recorded test in the test window, as after grading.
void HistoryCommands::review(const Attempt &attempt)
{
    TestState reviewed;
    if (reviewState(m_context.bank, attempt, reviewed) == 0) {
        showMessage(QStringLiteral("Review Items"),
                    QStringLiteral("This module no longer holds any question of that test."),
                    MessageIcon::Information);
        return;
    }
    m_graded.reset();
    m_road.reviewPastTest(std::move(reviewed));
}

// The weakest objectives, up to an exam's worth of their questions.
void HistoryCommands::practise(const QList<int> &objectiveNos)
{
    if (objectiveNos.isEmpty()) {
        showMessage(QStringLiteral("Practise Weak Areas"),
                    QStringLiteral("Your recent tests show no objective with a wrong answer."),
                    MessageIcon::Information);
        return;
    }
    QList<int> chosen;
    int questions = 0;
    const int wanted = std::max<int>(m_context.bank.testInfo.examQuestionCount, 1);
    for (int objective : objectiveNos) {
        if (questions >= wanted)
            break;
        chosen.append(objective);
        for (const Objective &entry : m_context.bank.objectives) {
            if (entry.objectiveNo == objective)
                questions += entry.questionCount;
        }
    }
    m_graded.reset();
    m_road.startCustomTest(weakAreaSettings(m_context.bank, chosen));
}

std::optional<std::pair<ReportContent, bool>> HistoryCommands::reportToOutput(const QString &title)
{
    if (!m_graded || !m_road.scoreReport())
        return std::nullopt;
    const MessageButton answer = showMessage(
        title,
        QStringLiteral("Include the items answered incorrectly, with their correct answers and "
                       "explanations?"),
        MessageIcon::Question, MessageButtons::YesNoCancel);
    if (answer == MessageButton::Cancel)
        return std::nullopt;
    return std::pair{reportContent(m_context.bank, *m_graded, m_userName),
                     answer == MessageButton::Yes};
}

void HistoryCommands::printReport()
{
    const auto report = reportToOutput(QStringLiteral("Print Score Report"));
    if (!report)
        return;
    QPrinter printer;
    printer.setDocName(QStringLiteral("Score Report ") + report->first.examCode);
    QPrintDialog dialog(&printer, &m_main);
    if (dialog.exec() == QDialog::Accepted)
        reportDocument(report->first, report->second)->print(&printer);
}

void HistoryCommands::saveReportPdf()
{
    const auto report = reportToOutput(QStringLiteral("Save Score Report as PDF"));
    if (!report)
        return;
    const QString suggested =
        documentsFolder() +
        QStringLiteral("/Score Report %1 %2.pdf")
            .arg(report->first.examCode, m_graded->ended.date().toString(Qt::ISODate));
    const QString path =
        QFileDialog::getSaveFileName(&m_main, QStringLiteral("Save Score Report as PDF"), suggested,
                                     QStringLiteral("PDF files (*.pdf)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!writeReportPdf(report->first, report->second, path, &error))
        showMessage(
            QStringLiteral("Save Score Report as PDF"),
            QStringLiteral("The score report could not be saved in %1: %2").arg(path, error),
            MessageIcon::Warning);
}

void HistoryCommands::deleteHistory()
{
    if (m_context.state.testActive)
        return;
    if (showMessage(QStringLiteral("Delete History"),
                    QStringLiteral("Delete the record of every test you have taken? This cannot "
                                   "be undone."),
                    MessageIcon::Question, MessageButtons::YesNo) != MessageButton::Yes)
        return;
    HistoryStore *store = m_history.store();
    if (store && !store->clear())
        showMessage(QStringLiteral("Delete History"),
                    QStringLiteral("The history could not be deleted: ") + store->lastError(),
                    MessageIcon::Warning);
}

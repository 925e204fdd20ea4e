#pragma once

#include "history/Attempt.h"

#include <QDialog>
#include <QList>

#include <optional>

class HistoryStore;
class QPushButton;
class QTreeWidget;
class ScoreChart;
struct QuestionBank;

// The graded tests of the loaded exam: the attempts in a sortable list, their scores over
// time against the passing score, and each objective's recent results, weakest first.
// An attempt's score report opens again from the list, and its items can be reviewed.
class HistoryWindow : public QDialog
{
    Q_OBJECT
public:
    // How many of the last attempts the objective trends and the weak areas look at.
    static constexpr int recentAttempts = 5;

    // Practice and review start a test of their own: startAllowed is false while one runs.
    HistoryWindow(const QuestionBank &bank, HistoryStore &store, const QString &candidate,
                  bool startAllowed, QWidget *parent = nullptr);

Q_SIGNALS:
    // The objectives to practise, weakest first.
    void practiceRequested(const QList<int> &objectiveNos);
    // Practice of the questions answered wrongly in the recent attempts.
    void wrongAnswersPracticeRequested();
    // The chosen attempt, with its items, to walk through in the test window.
    void reviewRequested(const Attempt &attempt);

private:
    void fill();
    // The attempt of the current row, with its items; nothing when there is none.
    std::optional<Attempt> currentAttempt() const;
    void showReport();
    void exportCsv();

    const QuestionBank &m_bank;
    HistoryStore &m_store;
    QString m_candidate;
    QList<Attempt> m_attempts; // of the loaded exam, oldest first
    QTreeWidget *m_lvAttempts = nullptr;
    ScoreChart *m_chart = nullptr;
    QTreeWidget *m_lvTrends = nullptr;
    QPushButton *m_cmReport = nullptr;
    QPushButton *m_cmReview = nullptr;
    QPushButton *m_cmPractice = nullptr;
    QPushButton *m_cmPracticeWrong = nullptr;
};

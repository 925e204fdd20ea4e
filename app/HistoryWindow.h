#pragma once

#include "history/Attempt.h"

#include <QDialog>
#include <QList>

class HistoryStore;
class QPushButton;
class QTreeWidget;
class ScoreChart;
struct QuestionBank;

// The graded tests of the loaded exam: the attempts in a sortable list, their scores over
// time against the passing score, and each objective's recent results, weakest first.
// An attempt's score report opens again from the list.
class HistoryWindow : public QDialog
{
    Q_OBJECT
public:
    // How many of the last attempts the objective trends and the weak areas look at.
    static constexpr int recentAttempts = 5;

    HistoryWindow(const QuestionBank &bank, HistoryStore &store, const QString &candidate,
                  bool practiceAllowed, QWidget *parent = nullptr);

Q_SIGNALS:
    // The objectives to practise, weakest first.
    void practiceRequested(const QList<int> &objectiveNos);

private:
    void fill();
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
    QPushButton *m_cmPractice = nullptr;
};

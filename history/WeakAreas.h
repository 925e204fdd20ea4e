#pragma once

#include "engine/CustomSettings.h"
#include "history/Attempt.h"

#include <QList>
#include <QString>

struct QuestionBank;

// How one objective went over the recent attempts of an exam.
struct ObjectiveTrend
{
    int objectiveNo = 0;
    QString objectiveName;
    QList<int> percents; // per attempt that asked it, oldest first
    int correct = 0;
    int asked = 0;
    int percent() const;
};

// The last recent attempts of the exam, oldest first.
QList<Attempt> lastAttempts(const QList<Attempt> &attempts, const QString &examCode, int recent);

// The objectives asked in the last recent attempts of the exam, weakest first: the lowest
// share answered correctly over those attempts, then the lower objective number.
QList<ObjectiveTrend> objectiveTrends(const QList<Attempt> &attempts, const QString &examCode,
                                      int recent);

// The numbers of at most count objectives scored lowest, leaving out those answered
// without a mistake.
QList<int> weakestObjectives(const QList<Attempt> &attempts, const QString &examCode, int recent,
                             int count);

// The settings of a Custom test of the given objectives: their questions (at most an
// exam's worth) shuffled, untimed, with Previous and Show Answer.
CustomSettings weakAreaSettings(const QuestionBank &bank, const QList<int> &objectiveNos);

// The bank questions (by position) of the items not answered correctly in the given
// attempts, whose items are read back, in the order first met; items whose question the
// bank no longer holds are left out.
QList<int> wronglyAnsweredQuestions(const QuestionBank &bank, const QList<Attempt> &attempts);

// The settings of a Custom test of the given questions (at most an exam's worth), otherwise
// as a weak-area test.
CustomSettings wrongAnswerSettings(const QuestionBank &bank, const QList<int> &questionNos);

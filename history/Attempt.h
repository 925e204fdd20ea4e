#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

struct QuestionBank;
struct TestState;

struct ObjectiveResult
{
    int objectiveNo = 0;
    QString objectiveName;
    int correct = 0;
    int asked = 0;
    bool operator==(const ObjectiveResult &) const = default;
};

struct ItemResult
{
    int itemNo = 0;
    QString questionCode;
    int questionType = 0;
    QString answer; // as stored: a number, a text, or empty when unanswered
    int status = 0; // the graded AnswerStatus: correct, incomplete or incorrect
    bool operator==(const ItemResult &) const = default;
};

// One graded test as the history keeps it.
struct Attempt
{
    qint64 id = 0; // given by the history when recorded
    QString examCode;
    QString examTitle;
    QString dbVersion;
    int mode = 0;
    QString modeName;
    QDateTime started;
    QDateTime ended;
    int questionCount = 0;
    int correctCount = 0;
    int scaledScore = 0;
    int passScore = 0;
    bool passed = false;
    QList<ObjectiveResult> objectives;
    QList<ItemResult> items; // read back only on request
    bool operator==(const Attempt &) const = default;

    qint64 secondsUsed() const { return started.secsTo(ended); }
};

// The attempt of the test just graded in state, which ran from started to ended.
Attempt attemptFromState(const QuestionBank &bank, const TestState &state, const QDateTime &started,
                         const QDateTime &ended);

// An objective's percentage, rounded as the score report rounds it.
int objectivePercent(const ObjectiveResult &result);

// Each question of the bank by its code, as the history names it (without padding).
QHash<QString, int> questionsByCode(const QuestionBank &bank);

// Sets up state as the graded test of the attempt, for review from its first item: the
// items whose question the bank still holds, in their order, each with its stored answer
// and result. Returns how many items that is; on 0 the state is left as it was.
int reviewState(const QuestionBank &bank, const Attempt &attempt, TestState &state);

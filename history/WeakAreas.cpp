#include "WeakAreas.h"

#include "engine/TestState.h"
#include "moduledb/QuestionBank.h"

#include <QMap>

#include <algorithm>

namespace {

// Shuffled, untimed, with Previous and Show Answer: a test to learn from.
CustomSettings practiceSettings(const QuestionBank &bank)
{
    CustomSettings settings;
    settings.ckRndQues = true;
    settings.ckRndAns = true;
    settings.ckPrevious = true;
    settings.ckAnsBtn = true;
    settings.ckTotCorAns = true;
    settings.txDuration = bank.testDuration;
    return settings;
}

int atMostAnExam(const QuestionBank &bank, int questions)
{
    const int examLength = bank.testInfo.examQuestionCount;
    return examLength > 0 ? std::min(questions, examLength) : questions;
}

} // namespace

int ObjectiveTrend::percent() const
{
    return objectivePercent({objectiveNo, objectiveName, correct, asked});
}

QList<Attempt> lastAttempts(const QList<Attempt> &attempts, const QString &examCode, int recent)
{
    QList<Attempt> chosen;
    for (auto attempt = attempts.crbegin(); attempt != attempts.crend(); ++attempt) {
        if (chosen.size() == recent)
            break;
        if (attempt->examCode == examCode)
            chosen.prepend(*attempt);
    }
    return chosen;
}

QList<ObjectiveTrend> objectiveTrends(const QList<Attempt> &attempts, const QString &examCode,
                                      int recent)
{
    QMap<int, ObjectiveTrend> byObjective;
    for (const Attempt &attempt : lastAttempts(attempts, examCode, recent)) {
        for (const ObjectiveResult &result : attempt.objectives) {
            if (result.asked < 1)
                continue;
            ObjectiveTrend &trend = byObjective[result.objectiveNo];
            trend.objectiveNo = result.objectiveNo;
            trend.objectiveName = result.objectiveName;
            trend.percents.append(objectivePercent(result));
            trend.correct += result.correct;
            trend.asked += result.asked;
        }
    }
    QList<ObjectiveTrend> trends = byObjective.values();
    // Compared as fractions, so that rounding does not decide between close objectives.
    std::stable_sort(trends.begin(), trends.end(),
                     [](const ObjectiveTrend &a, const ObjectiveTrend &b) {
                         return qint64(a.correct) * b.asked < qint64(b.correct) * a.asked;
                     });
    return trends;
}

QList<int> weakestObjectives(const QList<Attempt> &attempts, const QString &examCode, int recent,
                             int count)
{
    QList<int> weakest;
    for (const ObjectiveTrend &trend : objectiveTrends(attempts, examCode, recent)) {
        if (weakest.size() == count || trend.correct == trend.asked)
            break;
        weakest.append(trend.objectiveNo);
    }
    return weakest;
}

CustomSettings weakAreaSettings(const QuestionBank &bank, const QList<int> &objectiveNos)
{
    CustomSettings settings = practiceSettings(bank);
    settings.opObjIndex = 1;
    settings.lvObjChecked.fill(bank.objectives.size(), false);
    int questions = 0;
    for (int row = 1; row <= bank.objectives.size(); ++row) {
        if (objectiveNos.contains(bank.objectives[row].objectiveNo)) {
            settings.lvObjChecked[row] = true;
            questions += bank.objectives[row].questionCount;
        }
    }
    settings.txCustomQuestions = QString::number(atMostAnExam(bank, questions));
    return settings;
}

QList<int> wronglyAnsweredQuestions(const QuestionBank &bank, const QList<Attempt> &attempts)
{
    const QHash<QString, int> byCode = questionsByCode(bank);
    QList<int> questionNos;
    for (const Attempt &attempt : attempts) {
        for (const ItemResult &item : attempt.items) {
            const int q = byCode.value(item.questionCode);
            if (item.status != StatusCorrect && q != 0 && !questionNos.contains(q))
                questionNos.append(q);
        }
    }
    return questionNos;
}

CustomSettings wrongAnswerSettings(const QuestionBank &bank, const QList<int> &questionNos)
{
    CustomSettings settings = practiceSettings(bank);
    settings.txCustomQuestions = QString::number(atMostAnExam(bank, int(questionNos.size())));
    settings.questionNos = questionNos;
    return settings;
}

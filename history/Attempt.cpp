#include "Attempt.h"

#include "engine/Grading.h"
#include "engine/Selection.h"
#include "engine/TestState.h"
#include "moduledb/QuestionBank.h"

namespace {

QString answerText(const AnswerValue &answer)
{
    if (const int *number = std::get_if<int>(&answer))
        return QString::number(*number);
    if (const QString *text = std::get_if<QString>(&answer))
        return *text;
    return {};
}

} // namespace

Attempt attemptFromState(const QuestionBank &bank, const TestState &state, const QDateTime &started,
                         const QDateTime &ended)
{
    Attempt attempt;
    attempt.examCode = bank.testInfo.examCode;
    attempt.examTitle = bank.testInfo.examTitle;
    attempt.dbVersion = bank.testInfo.dbVersion;
    attempt.mode = state.testMode;
    attempt.modeName = state.testModeName;
    attempt.started = started;
    attempt.ended = ended;
    attempt.questionCount = state.testLength;
    attempt.correctCount = state.correctCount;
    attempt.scaledScore = state.scaledScore;
    attempt.passScore = state.passScore;
    attempt.passed = state.scaledScore >= state.passScore;
    for (int entry = 1; entry <= state.objListCount && entry <= state.objCorrect.size(); ++entry) {
        const int objective = state.objList[entry];
        ObjectiveResult result;
        result.objectiveNo = objective;
        if (bank.objectives.contains(objective))
            result.objectiveName = bank.objectives[objective].objectiveName;
        result.correct = state.objCorrect[entry];
        result.asked = state.objQuota.contains(objective) ? state.objQuota[objective] : 0;
        attempt.objectives.append(result);
    }
    for (int item = 1; item <= state.testLength; ++item) {
        const int q = GetQueID(state, item);
        if (!bank.questions.contains(q) || !state.answerRecs.contains(q))
            continue;
        const AnswerRecord &record = state.answerRecs[q];
        attempt.items.append({item, bank.questions[q].questionCode.trimmed(),
                              bank.questions[q].questionType, answerText(record.answer),
                              record.status});
    }
    return attempt;
}

int objectivePercent(const ObjectiveResult &result)
{
    return result.asked > 0 ? roundHalfEven(100LL * result.correct, result.asked) : 0;
}

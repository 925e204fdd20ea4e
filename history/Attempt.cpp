#include "Attempt.h"

#include "engine/Grading.h"
#include "engine/InitTest.h"
#include "engine/Selection.h"
#include "engine/TestState.h"
#include "moduledb/QuestionBank.h"

#include <algorithm>

namespace {

QString answerText(const AnswerValue &answer)
{
    if (const int *number = std::get_if<int>(&answer))
        return QString::number(*number);
    if (const QString *text = std::get_if<QString>(&answer))
        return *text;
    return {};
}

// The stored text as the answer record held it: typed answers as text, the rest as numbers.
AnswerValue answerValue(int questionType, const QString &text)
{
    if (text.isEmpty())
        return std::monostate{};
    if (questionType == TypedAnswer || questionType == TypedValues)
        return text;
    return text.toInt();
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

QHash<QString, int> questionsByCode(const QuestionBank &bank)
{
    QHash<QString, int> byCode;
    for (int q = 1; q <= bank.questions.size(); ++q)
        byCode.insert(bank.questions[q].questionCode.trimmed(), q);
    return byCode;
}

int reviewState(const QuestionBank &bank, const Attempt &attempt, TestState &state)
{
    const QHash<QString, int> byCode = questionsByCode(bank);
    QList<std::pair<int, const ItemResult *>> held;
    for (const ItemResult &item : attempt.items) {
        const int q = byCode.value(item.questionCode);
        if (q != 0 && std::none_of(held.cbegin(), held.cend(),
                                   [q](const auto &entry) { return entry.first == q; }))
            held.append({q, &item});
    }
    if (held.isEmpty())
        return 0;

    TestState review;
    SizeSessionArrays(bank, review);
    InitRecordIndex(bank, review, bank.questions.size());
    review.testMode = attempt.mode;
    review.testModeName = attempt.modeName;
    // The choices in the bank's order: the order they were shown in is not kept.
    review.optPrevious = true;
    review.testLength = int(held.size());
    review.objQueID.fill(bank.questions.size(), 0);
    int incorrect = 0;
    for (int item = 1; item <= review.testLength; ++item) {
        const auto [q, result] = held[item - 1];
        review.objQueID[item] = q;
        review.answerRecs[q] = {answerValue(result->questionType, result->answer), false,
                                result->status};
        if (result->status == StatusCorrect)
            ++review.correctCount;
        else
            review.incorrectItems[++incorrect] = item;
    }
    review.incorrectCount = incorrect;
    review.scaledScore = attempt.scaledScore;
    review.passScore = attempt.passScore;
    review.testActive = false;
    review.navMode = NavReviewAll;
    review.curItem = 1;
    state = std::move(review);
    return state.testLength;
}

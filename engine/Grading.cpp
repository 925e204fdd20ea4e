#include "Grading.h"

#include "engine/RuntimeError.h"
#include "engine/Selection.h"
#include "engine/TestState.h"
#include "moduledb/QuestionBank.h"

#include <QStringList>

#include <optional>

int roundHalfEven(long long numerator, long long denominator)
{
    long long quotient = numerator / denominator;
    const long long twiceRemainder = 2 * (numerator % denominator);
    if (twiceRemainder > denominator || (twiceRemainder == denominator && quotient % 2 != 0))
        ++quotient;
    return int(quotient);
}

namespace {

const QString *answerText(const AnswerValue &answer)
{
    return std::get_if<QString>(&answer);
}

bool answerEquals(const AnswerValue &answer, int value)
{
    const int *number = std::get_if<int>(&answer);
    return number && *number == value;
}

// The typed key of a type 3 or 4 question: the text of its first choice row, or of its
// choiceCount rows joined by "."; nothing when the rows are missing.
std::optional<QString> typedKey(const QuestionBank &bank, const TestState &state, int q,
                                int rowCount)
{
    if (!state.mcIndex.contains(q))
        return std::nullopt;
    const int first = state.mcIndex[q].rowIndex;
    if (first < 1 || rowCount < 1 || !bank.choiceRows.contains(first + rowCount - 1))
        return std::nullopt;
    QStringList parts;
    for (int row = first; row < first + rowCount; ++row)
        parts.append(bank.choiceRows[row].text);
    return parts.join(QLatin1Char('.'));
}

enum class Verdict { Skipped, Correct, Unanswered, Incorrect };

Verdict judge(const QuestionBank &bank, const TestState &state, int q)
{
    const Question &question = bank.questions[q];
    if (question.questionType < SingleAnswer || question.questionType > Simulation)
        return Verdict::Skipped;
    // An item without an answer is never correct, even against a key that is empty too.
    const AnswerValue &answer = state.answerRecs[q].answer;
    if (!answerPresent(answer))
        return Verdict::Unanswered;
    bool correct = false;
    switch (question.questionType) {
    case SingleAnswer:
    case MultipleAnswers:
        correct = answerEquals(answer, question.answerKey);
        break;
    case TypedAnswer:
    case TypedValues: {
        const int rows = question.questionType == TypedAnswer ? 1 : question.choiceCount;
        const std::optional<QString> key = typedKey(bank, state, q, rows);
        const QString *text = answerText(answer);
        correct = key && text && text->toLower() == key->toLower();
        break;
    }
    default:
        correct = answerEquals(answer, 1);
        break;
    }
    return correct ? Verdict::Correct : Verdict::Incorrect;
}

} // namespace

void CheckAnswer(const QuestionBank &, TestState &state, int n)
{
    guarded(QStringLiteral("Procedure Name: CheckAnswerErr"), [&] {
        state.answeredCount = 0;
        state.incompleteCount = 0;
        state.incompleteItems.clear();
        for (int item = 1; item <= n; ++item) {
            const int q = GetQueID(state, item);
            if (!state.answerRecs.contains(q))
                continue;
            AnswerRecord &record = state.answerRecs[q];
            if (answerPresent(record.answer)) {
                ++state.answeredCount;
                record.status = StatusAnswered;
            } else {
                ++state.incompleteCount;
                record.status = StatusIncomplete;
                state.incompleteItems.append(item);
            }
        }
    });
}

void GradeTest(const QuestionBank &bank, TestState &state)
{
    guarded(QStringLiteral("Procedure Name: GradeTest"), [&] {
        state.testActive = false;

        state.objCorrect.fill(state.objListCount, 0);
        state.objPercent.fill(state.objListCount, 0);
        state.objScoreText.fill(state.objListCount, QString());
        state.incorrectItems.clear();
        state.correctCount = 0;
        state.incorrectCount = 0;
        state.incompleteCount = 0;

        for (int item = 1; item <= state.testLength; ++item) {
            const int q = GetQueID(state, item);
            if (!state.answerRecs.contains(q) || !bank.questions.contains(q))
                continue;
            AnswerRecord &record = state.answerRecs[q];
            switch (judge(bank, state, q)) {
            case Verdict::Skipped:
                continue;
            case Verdict::Correct:
                ++state.correctCount;
                record.status = StatusCorrect;
                for (int entry = 1; entry <= state.objListCount; ++entry) {
                    if (state.objList[entry] == bank.questions[q].objectiveNo) {
                        ++state.objCorrect[entry];
                        break;
                    }
                }
                continue;
            case Verdict::Unanswered:
                ++state.incompleteCount;
                record.status = StatusIncomplete;
                break;
            case Verdict::Incorrect:
                record.status = StatusIncorrect;
                break;
            }
            ++state.incorrectCount;
            state.incorrectItems.append(item);
        }

        state.passScore = bank.testInfo.passingScore;
        state.scaledScore =
            state.testLength > 0 ? roundHalfEven(1000LL * state.correctCount, state.testLength) : 0;

        // Row i always describes objList(i), so the report's names and scores stay paired.
        for (int entry = 1; entry <= state.objListCount; ++entry) {
            const int objective = state.objList[entry];
            const int asked = state.objQuota.contains(objective) ? state.objQuota[objective] : 0;
            const int correct = state.objCorrect[entry];
            state.objPercent[entry] = asked > 0 ? roundHalfEven(100LL * correct, asked) : 0;
            state.objScoreText[entry] = QStringLiteral("(%1/%2)").arg(correct).arg(asked);
        }
    });
}

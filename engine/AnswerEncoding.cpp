#include "engine/AnswerEncoding.h"

#include "common/MessageBoxes.h"
#include "moduledb/QuestionBank.h"

namespace {

int choiceBit(int choice)
{
    return 1 << (choice - 1);
}

QString storedText(const AnswerValue &answer)
{
    if (const QString *text = std::get_if<QString>(&answer))
        return *text;
    return {};
}

int storedMask(const AnswerValue &answer)
{
    if (const int *mask = std::get_if<int>(&answer))
        return *mask;
    return 0;
}

// Splits a dotted answer over the value boxes. Every box but the last takes the text up to
// the next "."; the last takes all that remains, so a "." typed inside a box shifts the
// fields but never loses text when the answer is stored again. Boxes beyond the stored
// fields keep what they were drawn with.
void splitValues(const QString &answer, OneBasedArray<QString> &values)
{
    qsizetype start = 0;
    for (int box = 1; box <= values.size(); ++box) {
        const qsizetype dot = box < values.size() ? answer.indexOf(u'.', start) : -1;
        if (dot < 0) {
            values[box] = answer.mid(start);
            return;
        }
        values[box] = answer.mid(start, dot - start);
        start = dot + 1;
    }
}

} // namespace

int choiceAtPosition(const TestState &state, int q, int questionType, int position)
{
    const bool shuffled =
        state.optRandomAnswers && (questionType == SingleAnswer || questionType == MultipleAnswers);
    if (!shuffled || !state.ansOrder.contains(q) || !state.ansOrder[q].contains(position))
        return position;
    const int choice = state.ansOrder[q][position];
    return choice > 0 ? choice : position;
}

int NumOfChoices(const QuestionBank &bank, int q, int mask)
{
    // Typed answers and simulations have up to 255 rows, but a mask holds only 32 bits.
    const int bits = qMin<int>(bank.questions[q].choiceCount, 32);
    int count = 0;
    for (int bit = 0; bit < bits; ++bit) {
        if ((unsigned(mask) >> bit) & 1U)
            ++count;
    }
    return count;
}

AnswerControlState drawnControlState(const QuestionBank &bank, int q)
{
    const Question &question = bank.questions[q];
    AnswerControlState controls;
    if (question.questionType == SingleAnswer || question.questionType == MultipleAnswers)
        controls.selected.fill(question.choiceCount, false);
    else if (question.questionType == TypedValues)
        controls.values.fill(question.choiceCount, QStringLiteral("0"));
    return controls;
}

void storeAnswer(const QuestionBank &bank, TestState &state, int q,
                 const AnswerControlState &controls)
{
    const Question &question = bank.questions[q];
    AnswerRecord &record = state.answerRecs[q];
    if (state.optPrevious)
        record.marked = controls.marked;

    switch (question.questionType) {
    case SingleAnswer:
    case MultipleAnswers: {
        int mask = 0;
        for (int position = 1; position <= controls.selected.size(); ++position) {
            if (controls.selected[position])
                mask |= choiceBit(choiceAtPosition(state, q, question.questionType, position));
        }
        record.answer = mask;
        break;
    }
    case TypedAnswer:
        record.answer = controls.typedAnswer.trimmed();
        break;
    case TypedValues: {
        QStringList fields;
        for (const QString &value : controls.values)
            fields.append(value.trimmed());
        record.answer = fields.join(u'.');
        break;
    }
    default:
        break;
    }
}

void restoreAnswer(const QuestionBank &bank, const TestState &state, int q,
                   AnswerControlState &controls)
{
    const Question &question = bank.questions[q];
    const AnswerRecord &record = state.answerRecs[q];
    if (state.optPrevious)
        controls.marked = record.marked;

    switch (question.questionType) {
    case SingleAnswer:
    case MultipleAnswers: {
        const int mask = storedMask(record.answer);
        for (int position = 1; position <= controls.selected.size(); ++position) {
            const int choice = choiceAtPosition(state, q, question.questionType, position);
            controls.selected[position] = (mask & choiceBit(choice)) != 0;
        }
        break;
    }
    case TypedAnswer:
        controls.typedAnswer = storedText(record.answer);
        break;
    case TypedValues:
        // Never answered: the boxes stay as drawn.
        if (answerPresent(record.answer))
            splitValues(storedText(record.answer), controls.values);
        break;
    default:
        break;
    }
}

AnswerRequirement checkAnswerRequired(const QuestionBank &bank, const TestState &state, int q)
{
    const Question &question = bank.questions[q];
    const AnswerValue &answer = state.answerRecs[q].answer;
    if (!answerPresent(answer))
        return AnswerRequirement::Unanswered;
    if (question.questionType == MultipleAnswers &&
        NumOfChoices(bank, q, storedMask(answer)) != NumOfChoices(bank, q, question.answerKey))
        return AnswerRequirement::WrongCount;
    return AnswerRequirement::Accepted;
}

void showAnswerRequiredBox(const QuestionBank &bank, int q, AnswerRequirement requirement)
{
    if (requirement == AnswerRequirement::Unanswered) {
        showMessage(QStringLiteral("Attention!"),
                    QStringLiteral("You must answer this question to proceed."),
                    MessageIcon::Information);
    } else if (requirement == AnswerRequirement::WrongCount) {
        const int correctCount = NumOfChoices(bank, q, bank.questions[q].answerKey);
        showMessage(QStringLiteral("Attention:"),
                    QStringLiteral("Please select ") + QString::number(correctCount) +
                        QStringLiteral(" correct answers."),
                    MessageIcon::Information);
    }
}

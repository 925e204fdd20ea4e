#include "engine/CorrectAnswer.h"

#include "engine/AnswerEncoding.h"
#include "engine/TestState.h"
#include "moduledb/QuestionBank.h"

#include <QStringList>

namespace {

const QString answeredCorrectly = QStringLiteral("You answered this question correctly.");
const QString answeredIncorrectly = QStringLiteral("You answered this question incorrectly.");

bool bitSet(int mask, int choice)
{
    return (unsigned(mask) >> (choice - 1)) & 1U;
}

// Types 5 to 7 store 1 for a correct answer and -1 for a wrong one.
QString taskResult(const AnswerValue &answer)
{
    if (const int *value = std::get_if<int>(&answer)) {
        if (*value == 1)
            return answeredCorrectly;
    }
    return answeredIncorrectly;
}

QString storedText(const AnswerValue &answer)
{
    if (const QString *text = std::get_if<QString>(&answer))
        return *text;
    return {};
}

QString simulationListing(const QuestionBank &bank, const TestState &state, int q, int tasks)
{
    QString listing = QStringLiteral("The correct answers for this simulation question are:");
    const int first = state.simIndex[q].rowIndex;
    for (int t = 1; t <= tasks; ++t) {
        const SimRow &row = bank.simRows[first + t - 1];
        listing += QStringLiteral("\n\nTask #") + QString::number(row.rowNo) +
                   QStringLiteral(": ") + row.taskText + QStringLiteral("\nAnswer: ") +
                   row.hostName + bank.prompts[row.promptNo].promptText + row.expectedCommand;
    }
    return listing;
}

} // namespace

CorrectAnswerDisplay correctAnswerDisplay(const QuestionBank &bank, const TestState &state, int q)
{
    const Question &question = bank.questions[q];
    const int type = question.questionType;
    const int n = question.choiceCount;
    const AnswerValue &answer = state.answerRecs[q].answer;

    CorrectAnswerDisplay display;
    display.result = answeredIncorrectly;
    QString yours = QStringLiteral("You answered: ");
    QString correct = type == MultipleAnswers ? QStringLiteral("The correct answers are: ")
                                              : QStringLiteral("The correct answer is: ");

    switch (type) {
    case SingleAnswer:
    case MultipleAnswers: {
        const int mask = std::holds_alternative<int>(answer) ? std::get<int>(answer) : 0;
        const QString separator = type == MultipleAnswers ? QStringLiteral(" ") : QString();
        display.highlighted.fill(n, false);
        for (int p = 1; p <= n; ++p) {
            const QString letter = QChar(u'A' + (p - 1)) + separator;
            const int j = choiceAtPosition(state, q, type, p);
            if (bitSet(mask, j))
                yours += letter;
            if (bitSet(question.answerKey, j)) {
                display.highlighted[p] = true;
                correct += letter;
            }
        }
        if (mask == question.answerKey)
            display.result = answeredCorrectly;
        break;
    }
    case TypedAnswer: {
        const QString key = bank.choiceRows[state.mcIndex[q].rowIndex].text;
        yours += storedText(answer);
        correct += key.toLower();
        if (storedText(answer).toLower() == key.toLower())
            display.result = answeredCorrectly;
        break;
    }
    case TypedValues: {
        const int first = state.mcIndex[q].rowIndex;
        QStringList values;
        for (int row = first; row < first + n; ++row)
            values.append(bank.choiceRows[row].text.toUpper());
        const QString key = values.join(u'.');
        yours += storedText(answer);
        correct += key;
        if (storedText(answer).compare(key, Qt::CaseInsensitive) == 0)
            display.result = answeredCorrectly;
        break;
    }
    case TextDragAndDrop:
    case GraphicalDragAndDrop:
        correct = QStringLiteral("Click on the Show Answer button to reveal the correct answer.");
        display.result = taskResult(answer);
        break;
    case Simulation:
        correct = simulationListing(bank, state, q, n);
        display.result = taskResult(answer);
        break;
    default:
        break;
    }

    if (!answerPresent(answer)) {
        yours += QStringLiteral("-");
        display.result = QStringLiteral("You left this question unanswered.");
    }

    if (type >= SingleAnswer && type <= TypedValues)
        display.answerLines = yours + QStringLiteral("\n") + correct;
    else if (type >= TextDragAndDrop && type <= Simulation)
        display.answerLines = correct;

    display.explanation = question.explanation;
    display.objectiveName = bank.objectives[question.objectiveNo].objectiveName;
    display.reference = question.reference;
    return display;
}

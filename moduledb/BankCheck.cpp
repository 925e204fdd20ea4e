#include "BankCheck.h"

#include <QHash>

#include <bit>

namespace {

// How many rows of each detail table a question of its type owns.
struct RowNeeds
{
    int choiceRows = 0;
    int dndRows = 0;
    int simRows = 0;
};

RowNeeds rowNeedsOf(const Question &question)
{
    switch (question.questionType) {
    case SingleAnswer:
    case MultipleAnswers:
    case TypedAnswer:
    case TypedValues:
        return {question.choiceCount, 0, 0};
    case TextDragAndDrop:
    case GraphicalDragAndDrop:
        return {question.choiceCount, question.answerKey, 0};
    case Simulation:
        return {0, 0, question.choiceCount};
    default:
        return {};
    }
}

bool showsChoices(quint8 questionType)
{
    return questionType == SingleAnswer || questionType == MultipleAnswers ||
           questionType == TypedValues || questionType == TextDragAndDrop ||
           questionType == GraphicalDragAndDrop;
}

struct DetailTable
{
    QString rowsName; // "choice rows", for the descriptions
    int (*needed)(const RowNeeds &);
};

// Walks one detail table as the test engine's row index does: the search for a question's
// first row (its identifier with row number 1) starts where the previous question's block
// ended. Every question's rows must be exactly one block numbered 1..n found that way.
// firstRows receives the first row of each question's block (0 for none).
template <typename Row>
std::optional<QString> checkDetailTable(const QuestionBank &bank, const OneBasedArray<Row> &rows,
                                        const DetailTable &table, OneBasedArray<int> &firstRows)
{
    const int questionCount = bank.questions.size();
    firstRows.fill(questionCount, 0);

    QHash<int, int> rowsPerQuestion;
    for (const Row &row : rows)
        ++rowsPerQuestion[row.questionId];

    int searchStart = 1;
    for (int q = 1; q <= questionCount; ++q) {
        const Question &question = bank.questions[q];
        const int needed = table.needed(rowNeedsOf(question));
        if (rowsPerQuestion.value(question.questionId) != needed)
            return QStringLiteral("Question %1 has %2 %3, but needs %4.")
                .arg(q)
                .arg(rowsPerQuestion.value(question.questionId))
                .arg(table.rowsName)
                .arg(needed);
        if (needed == 0)
            continue;
        int first = 0;
        for (int j = searchStart; j <= rows.size() && first == 0; ++j) {
            if (rows[j].questionId == question.questionId && rows[j].rowNo == 1)
                first = j;
        }
        if (first == 0)
            return QStringLiteral("The %1 of question %2 do not follow those of the questions "
                                  "before it.")
                .arg(table.rowsName)
                .arg(q);
        for (int k = 1; k <= needed; ++k) {
            const int j = first + k - 1;
            if (!rows.contains(j) || rows[j].questionId != question.questionId ||
                rows[j].rowNo != k)
                return QStringLiteral("The %1 of question %2 are not numbered 1 to %3 in one "
                                      "block.")
                    .arg(table.rowsName)
                    .arg(q)
                    .arg(needed);
        }
        firstRows[q] = first;
        searchStart = first + needed;
    }
    return std::nullopt;
}

const DetailTable choiceTable{QStringLiteral("choice rows"),
                              [](const RowNeeds &needs) { return needs.choiceRows; }};
const DetailTable dndTable{QStringLiteral("drop targets"),
                           [](const RowNeeds &needs) { return needs.dndRows; }};
const DetailTable simTable{QStringLiteral("simulation tasks"),
                           [](const RowNeeds &needs) { return needs.simRows; }};

std::optional<QString> checkHeader(const QuestionBank &bank)
{
    const TestInfo &info = bank.testInfo;
    if (info.totalQuestions != bank.questions.size())
        return QStringLiteral("The module header counts %1 questions, but the question table "
                              "holds %2.")
            .arg(info.totalQuestions)
            .arg(bank.questions.size());
    if (info.numObjectives != bank.objectives.size())
        return QStringLiteral("The module header counts %1 objectives, but the objective table "
                              "holds %2.")
            .arg(info.numObjectives)
            .arg(bank.objectives.size());
    return std::nullopt;
}

std::optional<QString> checkQuestion(const QuestionBank &bank, int q)
{
    const Question &question = bank.questions[q];
    if (question.questionId != q)
        return QStringLiteral("Question %1 has the identifier %2; a question's identifier "
                              "must equal its position.")
            .arg(q)
            .arg(question.questionId);
    if (!bank.objectives.contains(question.objectiveNo))
        return QStringLiteral("Question %1 refers to objective %2, but the module has %3 "
                              "objectives.")
            .arg(q)
            .arg(question.objectiveNo)
            .arg(bank.objectives.size());
    if (question.questionType < SingleAnswer || question.questionType > Simulation ||
        !bank.questionTypes.contains(question.questionType))
        return QStringLiteral("Question %1 has the type %2, which the module does not "
                              "define.")
            .arg(q)
            .arg(question.questionType);
    if (question.choiceCount < 1)
        return QStringLiteral("Question %1 has no rows.").arg(q);
    if (showsChoices(question.questionType) && question.choiceCount > maxShownChoices)
        return QStringLiteral("Question %1 has %2 choices; at most %3 can be shown.")
            .arg(q)
            .arg(question.choiceCount)
            .arg(maxShownChoices);
    if (question.questionType == SingleAnswer || question.questionType == MultipleAnswers) {
        // The key marks the correct choices among the question's own (one for a single
        // answer); a key no answer can equal would grade every answer wrong.
        const quint16 key = quint16(question.answerKey);
        const int marked = std::popcount(key);
        if (key >> question.choiceCount != 0 || marked == 0 ||
            (question.questionType == SingleAnswer && marked != 1))
            return QStringLiteral("Question %1 has the answer key %2, which does not fit its %3 "
                                  "choices.")
                .arg(q)
                .arg(question.answerKey)
                .arg(question.choiceCount);
    }
    if ((question.questionType == TextDragAndDrop ||
         question.questionType == GraphicalDragAndDrop) &&
        question.answerKey < 1)
        return QStringLiteral("Question %1 has no drop targets.").arg(q);
    return std::nullopt;
}

std::optional<QString> checkObjectiveCounts(const QuestionBank &bank)
{
    OneBasedArray<int> counted(bank.objectives.size());
    for (const Question &question : bank.questions)
        ++counted[question.objectiveNo];
    for (int i = 1; i <= bank.objectives.size(); ++i) {
        if (bank.objectives[i].questionCount != counted[i])
            return QStringLiteral("Objective %1 counts %2 questions, but %3 questions belong "
                                  "to it.")
                .arg(i)
                .arg(bank.objectives[i].questionCount)
                .arg(counted[i]);
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> checkBank(const QuestionBank &bank)
{
    if (auto problem = checkHeader(bank))
        return problem;
    for (int q = 1; q <= bank.questions.size(); ++q) {
        if (auto problem = checkQuestion(bank, q))
            return problem;
    }
    if (auto problem = checkObjectiveCounts(bank))
        return problem;

    OneBasedArray<int> firstChoiceRow;
    OneBasedArray<int> firstDndRow;
    OneBasedArray<int> firstSimRow;
    if (auto problem = checkDetailTable(bank, bank.choiceRows, choiceTable, firstChoiceRow))
        return problem;
    if (auto problem = checkDetailTable(bank, bank.dndRows, dndTable, firstDndRow))
        return problem;
    if (auto problem = checkDetailTable(bank, bank.simRows, simTable, firstSimRow))
        return problem;

    for (int q = 1; q <= bank.questions.size(); ++q) {
        const Question &question = bank.questions[q];
        const RowNeeds needs = rowNeedsOf(question);
        for (int k = 0; k < needs.dndRows; ++k) {
            const DndRow &row = bank.dndRows[firstDndRow[q] + k];
            if (row.correctSource > question.choiceCount)
                return QStringLiteral("Drop target %1 of question %2 expects item %3, but the "
                                      "question has %4 items.")
                    .arg(k + 1)
                    .arg(q)
                    .arg(row.correctSource)
                    .arg(question.choiceCount);
        }
        for (int k = 0; k < needs.simRows; ++k) {
            const SimRow &row = bank.simRows[firstSimRow[q] + k];
            if (!bank.prompts.contains(row.promptNo))
                return QStringLiteral("Task %1 of question %2 uses prompt %3, but the module "
                                      "has %4 prompts.")
                    .arg(k + 1)
                    .arg(q)
                    .arg(row.promptNo)
                    .arg(bank.prompts.size());
        }
    }
    return std::nullopt;
}

#include "DndAnswer.h"

#include "engine/TestState.h"
#include "moduledb/QuestionBank.h"

#include <stdexcept>

namespace {

// Where q's block of rows starts; a question without rows has no block to read from.
int firstRow(const OneBasedArray<RowIndex> &index, int q)
{
    const int row = index[q].rowIndex;
    if (row < 1)
        throw std::out_of_range("question has no rows");
    return row;
}

} // namespace

OneBasedArray<DndItem> dndItems(const QuestionBank &bank, const TestState &state, int q)
{
    const int count = bank.questions[q].choiceCount;
    OneBasedArray<DndItem> items(count);
    for (int i = 1; i <= count; ++i) {
        const int k = state.optRandomAnswers ? state.ansOrder[q][i] : i;
        const ChoiceRow &row = bank.choiceRows[firstRow(state.mcIndex, q) + k - 1];
        items[i] = DndItem{row.text, row.rowNo};
    }
    return items;
}

QString dndItemText(const QuestionBank &bank, const TestState &state, int q, int k)
{
    if (k < 1 || k > bank.questions[q].choiceCount)
        throw std::out_of_range("no such drag-and-drop item");
    return bank.choiceRows[firstRow(state.mcIndex, q) + k - 1].text;
}

int dndTargetCount(const QuestionBank &bank, int q)
{
    return bank.questions[q].answerKey;
}

const DndRow &dndTargetRow(const QuestionBank &bank, const TestState &state, int q, int j)
{
    return bank.dndRows[firstRow(state.dndIndex, q) + j - 1];
}

int scoreDnDTargets(const QuestionBank &bank, const TestState &state, int q,
                    const OneBasedArray<QString> &tags)
{
    const int targets = dndTargetCount(bank, q);
    int correct = 0;
    for (int j = 1; j <= targets; ++j) {
        // A tag that is not a number reads as 0, the empty target.
        if (tags[j].toInt() == dndTargetRow(bank, state, q, j).correctSource)
            ++correct;
    }
    return correct == targets ? 1 : -1;
}

void recordDnDAnswer(const QuestionBank &bank, TestState &state, int q,
                     const OneBasedArray<QString> &tags)
{
    const int result = scoreDnDTargets(bank, state, q, tags);
    state.answerRecs[q].answer = result;
}

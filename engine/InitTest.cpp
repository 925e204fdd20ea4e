#include "InitTest.h"

#include "RuntimeError.h"
#include "Selection.h"
#include "common/BusyCursor.h"
#include "common/MessageBoxes.h"
#include "moduledb/QuestionBank.h"

#include <QHash>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace {

// The number of questions typed in the custom settings. Text that is not a number, or whose
// whole part is not in 1..bankQuestionCount, is replaced by the bank size there; the same
// is done here, so a Custom test never comes out with no items.
int customQuestionsWanted(const QString &text, int bankQuestionCount)
{
    bool numeric = false;
    const double value = text.trimmed().toDouble(&numeric);
    if (!numeric || !(value >= 1 && value < bankQuestionCount + 1))
        return bankQuestionCount;
    return int(value);
}

// Indexes one detail table: for each question, the row that starts its block (its
// questionId with rowNo 1), searched from the end of the previous question's block.
template <typename Row, typename BlockLength>
void indexBlocks(const OneBasedArray<Question> &questions, const OneBasedArray<Row> &rows,
                 OneBasedArray<RowIndex> &index, int n, BlockLength blockLength)
{
    index.fill(n, RowIndex{});
    QHash<qint16, std::vector<int>> blockStarts; // in table order
    for (int j = 1; j <= rows.size(); ++j) {
        if (rows[j].rowNo == 1)
            blockStarts[rows[j].questionId].push_back(j);
    }
    int start = 1;
    for (int q = 1; q <= n; ++q) {
        const Question &question = questions[q];
        const auto starts = blockStarts.constFind(question.questionId);
        if (starts == blockStarts.cend())
            continue;
        const auto found = std::lower_bound(starts->begin(), starts->end(), start);
        if (found == starts->end())
            continue;
        index[q] = RowIndex{question.questionId, *found};
        start = *found + blockLength(question);
    }
}

} // namespace

void SizeSessionArrays(const QuestionBank &bank, TestState &state)
{
    const int objectives = bank.objectives.size();
    const int questions = bank.questions.size();
    state.objSelected.fill(objectives, false);
    state.objQuota.fill(objectives, 0);
    state.rndQueID.fill(questions, 0);
    state.answerRecs.fill(questions, AnswerRecord{});
    state.markedItems.fill(questions, 0);
    state.incompleteItems.fill(questions, 0);
    state.incorrectItems.fill(questions, 0);
    // Choices in their own order until a shuffle says otherwise.
    OneBasedArray<int> inOrder(maxChoices);
    for (int d = 1; d <= maxChoices; ++d)
        inOrder[d] = d;
    state.ansOrder.fill(questions, inOrder);
}

void InitRecordIndex(const QuestionBank &bank, TestState &state, int n)
{
    n = std::min(n, bank.questions.size());
    indexBlocks(bank.questions, bank.choiceRows, state.mcIndex, n,
                [](const Question &question) { return int(question.choiceCount); });
    indexBlocks(bank.questions, bank.dndRows, state.dndIndex, n,
                [](const Question &question) { return int(question.answerKey); });
    indexBlocks(bank.questions, bank.simRows, state.simIndex, n,
                [](const Question &question) { return int(question.choiceCount); });
}

bool InitTest(int mode, const QuestionBank &bank, TestState &state, const CustomSettings &custom)
{
    const BusyCursor busy;
    return guarded(QStringLiteral("Function Name: InitTest"), false, [&] {
        const int objectiveCount = bank.objectives.size();
        const int bankQuestionCount = bank.questions.size();
        state.testMode = mode;
        state.testActive = false;
        state.testEndTime = QDateTime();
        SizeSessionArrays(bank, state);

        switch (mode) {
        case StudyMode:
        case ExamMode: {
            const bool exam = mode == ExamMode;
            state.testModeName = exam ? QStringLiteral("exam") : QStringLiteral("study");
            state.numQuestionsWanted = bank.testInfo.examQuestionCount;
            if (exam)
                state.testDuration = QString::number(bank.testInfo.durationMinutes);
            state.optRandomQuestions = true;
            state.optRandomAnswers = true;
            state.optTimed = exam;
            state.optPrevious = !exam;
            state.optAnswerButton = !exam;
            state.optShowCorrectCount = true;
            state.objSelected.fill(objectiveCount, true);
            break;
        }
        case CustomMode: {
            state.testModeName = QStringLiteral("custom");
            state.numQuestionsWanted =
                customQuestionsWanted(custom.txCustomQuestions, bankQuestionCount);
            state.testDuration = custom.txDuration;
            state.optRandomQuestions = custom.ckRndQues;
            state.optRandomAnswers = custom.ckRndAns;
            state.optTimed = custom.ckTimer;
            state.optPrevious = custom.ckPrevious;
            state.optAnswerButton = custom.ckAnsBtn;
            state.optShowCorrectCount = custom.ckTotCorAns;
            if (custom.opObjIndex == 1) {
                if (std::none_of(custom.lvObjChecked.begin(), custom.lvObjChecked.end(),
                                 [](bool checked) { return checked; })) {
                    showMessage(QStringLiteral("Please select category"),
                                QStringLiteral("You must select at least one category to "
                                               "continue."),
                                MessageIcon::Information, MessageButtons::Ok);
                    return false;
                }
                const int rows = std::min(custom.lvObjChecked.size(), objectiveCount);
                for (int i = 1; i <= rows; ++i)
                    state.objSelected[i] = custom.lvObjChecked[i];
            } else {
                state.objSelected.fill(objectiveCount, true);
            }
            break;
        }
        default:
            throw std::invalid_argument("unknown test mode");
        }

        InitRecordIndex(bank, state, bankQuestionCount);
        const QList<int> questionNos = mode == CustomMode ? custom.questionNos : QList<int>();
        if (!InitObjQueID(bank, state, objectiveCount, state.numQuestionsWanted, questionNos))
            return false;
        if (state.optRandomQuestions)
            InitRndQueID(state, state.testLength);
        if (state.optRandomAnswers)
            InitAnsID(bank, state, state.testLength);
        state.answerRecs.fill(bankQuestionCount, AnswerRecord{});
        state.navMode = NavTakingTest;
        state.testActive = true;
        return true;
    });
}

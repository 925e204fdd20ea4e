#include "engine/ReviewList.h"

#include "engine/Grading.h"
#include "engine/Selection.h"
#include "engine/TestState.h"
#include "moduledb/QuestionBank.h"

#include <cmath>
#include <cstdlib>

namespace {

void setStatus(ReviewRow &row, int status)
{
    switch (status) {
    case StatusAnswered:
        row.statusSymbol = QStringLiteral("!");
        row.statusColour = StatusColour::Blue;
        break;
    case StatusIncomplete:
        row.statusSymbol = QStringLiteral("?");
        row.statusColour = StatusColour::Blue;
        break;
    case StatusCorrect:
        row.statusSymbol = QStringLiteral("C");
        row.statusColour = StatusColour::Green;
        break;
    case StatusIncorrect:
        row.statusSymbol = QStringLiteral("X");
        row.statusColour = StatusColour::Red;
        break;
    default:
        break;
    }
}

QString typeCaption(const QuestionBank &bank, int type)
{
    return bank.questionTypes.contains(type) ? bank.questionTypes[type].typeCaption : QString();
}

} // namespace

ReviewListContents activateReviewList(const QuestionBank &bank, TestState &state)
{
    ReviewListContents contents;
    if (state.testActive) {
        CheckAnswer(bank, state, state.testLength);
        contents.firstHeader = QStringLiteral("Marked");
        contents.rowsCheckable = true;
        contents.captions[0] = QStringLiteral("&Back to Test");
        contents.captions[1] = QStringLiteral("&Review Marked");
        contents.captions[2] = QStringLiteral("Review &Incomplete");
        contents.captions[3] = QStringLiteral("&Grade Test");
        contents.enabled[1] = reviewMarkedEnabled(state);
        contents.enabled[2] = state.incompleteCount > 0;
        contents.legend = QStringLiteral("[?] = Incomplete (%1) | [!] = Answered (%2)")
                              .arg(state.incompleteCount)
                              .arg(state.answeredCount);
    } else {
        contents.firstHeader = QStringLiteral("Item #");
        contents.captions[0] = QStringLiteral("Review &All");
        contents.captions[1] = QStringLiteral("&Review Marked");
        contents.captions[2] = QStringLiteral("Review &Incorrect");
        contents.captions[3] = QStringLiteral("View &Score");
        contents.enabled[2] = state.incorrectCount > 0;
        // Unanswered items count as incorrect in the grading, but the legend lists them
        // once, as incomplete.
        contents.legend =
            QStringLiteral("[?] = Incomplete (%1) | [C] = Correct (%2) | [X] = Incorrect (%3)")
                .arg(state.incompleteCount)
                .arg(state.correctCount)
                .arg(std::abs(state.incorrectCount - state.incompleteCount));
    }

    for (int item = 1; item <= state.testLength; ++item) {
        const int q = GetQueID(state, item);
        const Question &question = bank.questions[q];
        ReviewRow row;
        row.questionCode = question.questionCode;
        row.questionText = question.questionText;
        row.typeCaption = typeCaption(bank, question.questionType);
        row.marked = state.testActive && state.answerRecs[q].marked;
        setStatus(row, state.answerRecs[q].status);
        contents.rows.append(row);
    }
    return contents;
}

bool reviewMarkedEnabled(const TestState &state)
{
    if (!state.testActive)
        return false;
    for (int item = 1; item <= state.testLength; ++item) {
        if (state.answerRecs[GetQueID(state, item)].marked)
            return true;
    }
    return false;
}

void openListItem(TestState &state, int item)
{
    state.navMode = state.testActive ? NavTakingTest : NavReviewAll;
    state.curItem = item;
}

void listBackToTest(TestState &state)
{
    if (state.testActive) {
        state.navMode = NavTakingTest;
        return;
    }
    state.navMode = NavReviewAll;
    state.curItem = 1;
}

bool listReviewMarked(TestState &state)
{
    OneBasedArray<int> marked;
    for (int item = 1; item <= state.testLength; ++item) {
        if (state.answerRecs[GetQueID(state, item)].marked)
            marked.append(item);
    }
    if (marked.isEmpty())
        return false;
    state.navMode = NavReviewMarked;
    state.markedItems = marked;
    state.reviewPosMarked = 1;
    state.curItem = marked[1];
    return true;
}

bool listReviewIncompleteOrIncorrect(TestState &state)
{
    if (state.testActive) {
        if (state.incompleteCount < 1 || state.incompleteItems.isEmpty())
            return false;
        state.navMode = NavReviewIncomplete;
        state.reviewPosIncomplete = 1;
        state.curItem = state.incompleteItems[1];
        return true;
    }
    if (state.incorrectCount < 1 || state.incorrectItems.isEmpty())
        return false;
    state.navMode = NavReviewIncorrect;
    state.reviewPosIncorrect = 1;
    state.curItem = state.incorrectItems[1];
    return true;
}

QString truncatedQuestion(const QString &text, int columnWidth, int letterWidth)
{
    const int letters = letterWidth > 0 ? int(std::lround(double(columnWidth) / letterWidth)) : 0;
    return text.left(qMax(0, letters)) + QStringLiteral("...");
}

#pragma once

#include "common/OneBasedArray.h"

#include <QString>

struct QuestionBank;
struct TestState;

enum class StatusColour { None, Blue, Green, Red };

// One row of the item review list: item i of the test.
struct ReviewRow
{
    QString questionCode;
    QString questionText;
    QString typeCaption;
    QString statusSymbol;
    StatusColour statusColour = StatusColour::None;
    bool marked = false;
};

// The item review list as one activation shows it: while the test runs the rows carry the
// marks; after grading they show each item's result.
struct ReviewListContents
{
    QString firstHeader;
    bool rowsCheckable = false;
    OneBasedArray<ReviewRow> rows;
    QString legend;
    QString captions[4]; // cmReview1..4
    bool enabled[4] = {true, false, false, true};
};

// Refreshes the statuses (CheckAnswer while the test runs) and says what the list shows.
ReviewListContents activateReviewList(const QuestionBank &bank, TestState &state);

// Review Marked is enabled while the test runs and at least one item is marked.
bool reviewMarkedEnabled(const TestState &state);

// The state the list's commands leave for the test window, which then shows curItem.
// Double-click (or Enter) on a row: that item, taking the test or reviewing all.
void openListItem(TestState &state, int item);
// Back to Test / Review All.
void listBackToTest(TestState &state);
// Review Marked: the marked items in item order; false when there are none.
bool listReviewMarked(TestState &state);
// Review Incomplete / Review Incorrect; false when the list is empty.
bool listReviewIncompleteOrIncorrect(TestState &state);

// The question text cut to what a column of columnWidth holds, at letterWidth per letter.
QString truncatedQuestion(const QString &text, int columnWidth, int letterWidth);

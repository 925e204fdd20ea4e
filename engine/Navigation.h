#pragma once

#include "engine/TestState.h"

#include <QString>

#include <optional>

struct QuestionBank;

// Captions and tool tips of the Previous and Next buttons, and the Go To enabling, for the
// navigation mode of the test.
struct NavCaptions
{
    QString previousCaption;
    QString previousToolTip;
    QString nextCaption;
    QString nextToolTip;
    bool gotoEnabled = false;
};
NavCaptions navCaptions(const TestState &state);

// The item-dependent buttons of the test window (ShowButtons).
struct ButtonStates
{
    bool previous = false;
    bool next = true;
    bool diagram = false;
    bool exhibit = false;
    bool task = false;
    bool answer = false;
};
ButtonStates buttonStates(const QuestionBank &bank, const TestState &state, int item);

// The controls the test window sets each time it becomes active.
struct WindowStates
{
    bool markEnabled = false;
    bool listEnabled = false;
    QString endCaption;
    QString endToolTip;
};
WindowStates windowStates(const TestState &state);

enum class NextOutcome {
    ShowItem,     // curItem is the item to draw
    LeaveForList, // back to the item review list
    AskToEndTest, // the last item of a test without free navigation
};

// Moves curItem (or the position in the review list of the mode) one step forward.
NextOutcome advanceItem(TestState &state);

// Moves one step back; false when already at the first entry (nothing to redraw).
bool stepBackItem(TestState &state);

// The item number typed into the go-to window, or nothing when it is not a number whose
// integer part lies in 1..testLength.
std::optional<int> parseGotoItem(const QString &text, int testLength);

inline const QString endTestPromptText = QStringLiteral(
    "You have answered all questions in this test.\n\nWould you like to end the test?");
inline const QString endAndGradePromptText =
    QStringLiteral("Would you like to end and grade the test?");
inline const QString endingTestTitle = QStringLiteral("Ending Test...");

#pragma once

#include "common/MessageBoxes.h"
#include "engine/TestState.h"

#include <QList>
#include <QString>

#include <optional>

// A value the user left in a settings box that cannot stand: the box to show, and the text
// the box gets back.
struct EntryRefusal
{
    MessageBoxRequest message;
    QString restoredText;
};

// The number of questions of the custom settings, checked when its box is left.
std::optional<EntryRefusal> checkCustomQuestionCount(const QString &text, int bankQuestionCount);

// The duration of the custom settings; a refused one goes back to testDuration.
std::optional<EntryRefusal> checkCustomDuration(const QString &text, const QString &testDuration);

// The duration of the test options, at least one minute; text that is no number at all
// counts as below one.
std::optional<EntryRefusal> checkOptionDuration(const QString &text);

// The objectives list of the custom settings, checked when it is left: one row at least.
std::optional<MessageBoxRequest> checkObjectivesChosen(const QList<bool> &checked);

// What the test options window holds when OK is pressed.
struct TestOptionChoice
{
    bool ckPrevious = false;
    bool ckAnsBtn = false;
    bool ckTotCorAns = false;
    bool ckTimer = false;
    QString txDuration;
};

// The engine's part of ChgTestOption: takes the options over into the running test, and
// gives a test that has just become timed its end time. The caller then applies the timer
// (SetTestTimer) and the buttons of the item on screen.
void ChgTestOption(TestState &state, const TestOptionChoice &choice);

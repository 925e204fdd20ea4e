#pragma once

#include "common/OneBasedArray.h"

#include <QString>

#include <optional>

struct QuestionBank;
struct TestState;

// What the correct-answer display shows for question q: the answer line, the result for
// the status bar, the choices to highlight and the texts stacked below.
struct CorrectAnswerDisplay
{
    // The text of lbCorAns; nothing for a type the display does not know.
    std::optional<QString> answerLines;
    QString result;
    // By display position: the choices that carry a correct text (types 1 and 2).
    OneBasedArray<bool> highlighted;
    QString explanation;
    QString objectiveName;
    QString reference;
};

CorrectAnswerDisplay correctAnswerDisplay(const QuestionBank &bank, const TestState &state, int q);

#pragma once

#include "engine/TestState.h"

#include <QString>

struct QuestionBank;

// What the answer controls of the item on screen show: the selectors of a choice question
// by display position, the typed-answer field, the value boxes in box order, and the mark.
struct AnswerControlState
{
    OneBasedArray<bool> selected;  // opChc / ckChc, display positions 1..n
    QString typedAnswer;           // txTI(0)
    OneBasedArray<QString> values; // txTI(1..n)
    bool marked = false;           // ckMark
};

// The bank's choice number shown at display position `position` of question q. Only the
// choices of single- and multiple-answer questions are ever shown shuffled.
int choiceAtPosition(const TestState &state, int q, int questionType, int position);

// Number of set bits among the lowest choiceCount bits of mask.
int NumOfChoices(const QuestionBank &bank, int q, int mask);

// An empty control state for q as the display draws it: nothing selected, an empty
// typed-answer field and every value box at "0".
AnswerControlState drawnControlState(const QuestionBank &bank, int q);

// SaveAnswer: stores what the controls show as q's answer (types 1 to 4) and, with free
// navigation, its mark. Answers of the task types are written by their own windows.
void storeAnswer(const QuestionBank &bank, TestState &state, int q,
                 const AnswerControlState &controls);

// ReadAnswer: sets the controls (given in their drawn state) from q's record.
void restoreAnswer(const QuestionBank &bank, const TestState &state, int q,
                   AnswerControlState &controls);

enum class AnswerRequirement { Accepted, Unanswered, WrongCount };

// Whether q's stored answer lets a test without free navigation move on.
AnswerRequirement checkAnswerRequired(const QuestionBank &bank, const TestState &state, int q);

// Shows the box that explains a refusal of checkAnswerRequired.
void showAnswerRequiredBox(const QuestionBank &bank, int q, AnswerRequirement requirement);

#pragma once

#include "common/OneBasedArray.h"

#include <QString>

struct QuestionBank;
struct DndRow;
struct TestState;

// What a drop target's tag holds while nothing has been dropped on it.
inline const QString emptyTargetTag = QStringLiteral("0");

// One draggable item of a drag-and-drop question: its caption and its choice number.
struct DndItem
{
    QString text;
    int number = 0;
};

// The items of drag-and-drop question q in the order they are shown: by ansOrder when
// answers are shuffled, else by choice number. Throws std::out_of_range when q's rows or
// its answer order do not reach (the caller reports it as a run-time error).
OneBasedArray<DndItem> dndItems(const QuestionBank &bank, const TestState &state, int q);

// The caption of the item with choice number k of question q (k = 1..choiceCount).
QString dndItemText(const QuestionBank &bank, const TestState &state, int q, int k);

// Number of drop targets of question q (its answerKey).
int dndTargetCount(const QuestionBank &bank, int q);

// The row of target j (1..dndTargetCount) of question q.
const DndRow &dndTargetRow(const QuestionBank &bank, const TestState &state, int q, int j);

// 1 when the tag of every target j (tags[j], a choice number or "0" for empty) equals the
// correctSource of its row, else -1. A target left empty is right only when its key is 0.
int scoreDnDTargets(const QuestionBank &bank, const TestState &state, int q,
                    const OneBasedArray<QString> &tags);

// Scores the targets and stores the result as q's answer. Throws std::out_of_range, before
// anything is stored, when the tags or rows do not reach.
void recordDnDAnswer(const QuestionBank &bank, TestState &state, int q,
                     const OneBasedArray<QString> &tags);

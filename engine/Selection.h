#pragma once

#include "engine/TestState.h"

#include <QList>

struct QuestionBank;

// Chooses up to wanted questions from the selected objectives (state.objSelected): every
// selected objective with questions gets one item while room remains, the rest is shared
// out in proportion to the objectives' sizes. Sets testLength, objOrder, objQue, objQuota,
// objList, objListCount and objQueID. False (after telling the user) when the selected
// objectives have no questions. A wanted count below 1 sets no limit. A non-empty
// questionNos leaves every other bank question out, as if the bank did not hold it.
bool InitObjQueID(const QuestionBank &bank, TestState &state, int objectiveCount, int wanted,
                  const QList<int> &questionNos = {});

// Fills rndQueID(1..n) with a random order of the items 1..n.
void InitRndQueID(TestState &state, int n);

// Shuffles the choice order (ansOrder) of the questions of items 1..n whose choices are
// shown in a list: types 1, 2, 5 and 6.
void InitAnsID(const QuestionBank &bank, TestState &state, int n);

// The bank question shown as the given item; 0 (after an error report) for an item that
// is not in the test.
int GetQueID(const TestState &state, int item);

#pragma once

#include "engine/CustomSettings.h"
#include "engine/TestState.h"

struct QuestionBank;

// Builds a test of the given mode (StudyMode, ExamMode, CustomMode) from the bank: sets
// state.testMode and the options of the mode, chooses the items and their order, the order
// of each question's choices, and clears every answer. Custom mode takes its options from
// custom. On false no test is open; the reason has been shown in a message box.
bool InitTest(int mode, const QuestionBank &bank, TestState &state,
              const CustomSettings &custom = {});

// Finds for each of the questions 1..n where its block of choice, drag-and-drop and
// simulation rows starts (mcIndex, dndIndex, simIndex).
void InitRecordIndex(const QuestionBank &bank, TestState &state, int n);

// Sizes the per-objective and per-question arrays of the state to the bank, emptied.
void SizeSessionArrays(const QuestionBank &bank, TestState &state);

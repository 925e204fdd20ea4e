#pragma once

struct QuestionBank;
struct TestState;

// Classifies items 1..n of the running test as answered or incomplete: sets
// answeredCount, incompleteCount, incompleteItems and each item's status (1 or 2).
void CheckAnswer(const QuestionBank &bank, TestState &state, int n);

// Ends and grades the test: testActive false, every item's status (3 correct, 2 incomplete,
// 4 incorrect), correctCount, incorrectCount (unanswered items included),
// incompleteCount, incorrectItems, objCorrect, objPercent, objScoreText, scaledScore and
// passScore. No partial credit. The caller saves the item on screen first and shows the
// score report afterwards.
void GradeTest(const QuestionBank &bank, TestState &state);

// Rounds numerator / denominator to the nearest integer, an exact half to the even
// neighbour (62.5 gives 62, 12.5 gives 12). denominator must be positive.
int roundHalfEven(long long numerator, long long denominator);

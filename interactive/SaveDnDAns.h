#pragma once

class QString;
class QWidget;
struct QuestionBank;
struct TestState;

// Scores the drop targets (lbDes) of an open drag-and-drop window against question q's key
// and stores 1 or -1 as q's answer; then, unless the correct answer is being shown,
// confirms it in a box titled `title`. A run-time error leaves the answer as it was.
void SaveDnDAns(const QuestionBank &bank, TestState &state, int q, const QWidget *window,
                const QString &title);

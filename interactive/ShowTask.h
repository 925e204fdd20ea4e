#pragma once

class QString;
class QWidget;
struct QuestionBank;
struct TestState;

// The Task button: opens the answer window that fits the type of question state.curQ
// (text or graphical drag-and-drop, or simulation) and returns when it has closed. The
// window writes 1 or -1 into the question's answer record. Other types open nothing.
// moduleFolder is the folder that holds the module's pictures.
void ShowTask(const QuestionBank &bank, TestState &state, const QString &moduleFolder,
              QWidget *parent);

#pragma once

#include <QList>
#include <QString>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollArea;
class QWidget;
struct QuestionBank;
struct TestState;

// The controls of the test window that show an item. The arrays keep element 0 as the
// hidden template; elements 1..n exist only while an item of their kind is on screen.
struct QuestionControls
{
    QLabel *lbItem = nullptr;
    QScrollArea *svTest = nullptr;
    QWidget *questionArea = nullptr; // the widget svTest scrolls
    QLabel *lbQuestion = nullptr;
    QLabel *lbTI = nullptr;
    QList<QLabel *> lbChc;
    QList<QRadioButton *> opChc;
    QList<QCheckBox *> ckChc;
    QList<QLineEdit *> txTI;
    QList<QLabel *> lbDot;
    QLabel *lbTheAnswer = nullptr;
    QLabel *lbCorAns = nullptr;
    QLabel *lbExplain = nullptr;
    QLabel *lbURL = nullptr;
    QLabel *lbTheObjective = nullptr;
    QLabel *lbObjective = nullptr;
    QLabel *lbTheReference = nullptr;
    QLabel *lbReference = nullptr;

    // Number of correct choices of the question on screen.
    int curCorrectCount = 0;

    // The instruction line of the status bar.
    std::function<void(const QString &)> setInstruction;
    // Button enabling for the item drawn (ShowButtons).
    std::function<void(int item)> showButtons;
    // Opens the drag-and-drop window of question q showing its correct answer.
    std::function<void(int q)> showAnswerTask;
};

// Draws item `item`: sets state.curQ, the item line, the question text, the answer
// controls in their empty state and the buttons; once the test is graded, also its
// correct answer.
// The previous item's controls must have been removed with HideChoices.
void ShowQuestion(const QuestionBank &bank, TestState &state, QuestionControls &controls, int item);

// Builds the answer controls of question q and writes the instruction line.
void ShowChoices(const QuestionBank &bank, const TestState &state, QuestionControls &controls,
                 int q);

// Removes the answer controls of question q.
void HideChoices(const QuestionBank &bank, QuestionControls &controls, int q);

// Shows what was answered, the correct answer with the correct choices highlighted, the
// explanation, objective and reference, and the result in the status bar. With openTask a
// drag-and-drop question also opens its window showing the correct answer.
void ShowCorAns(const QuestionBank &bank, TestState &state, QuestionControls &controls, int q,
                bool openTask);

// Hides the correct-answer display and removes the highlighting.
void HideCorAns(const QuestionBank &bank, QuestionControls &controls, int q);

// Restacks the answer area below the correct-answer line and scrolls back to the top.
void RefreshDisplay(QuestionControls &controls);

// Sets the widths of the question area's labels for the current width of svTest.
void fitLabelWidths(QuestionControls &controls);

// The instruction line for a question (types 1 to 7).
QString instructionText(const QuestionBank &bank, const TestState &state, int q);

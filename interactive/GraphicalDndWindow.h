#pragma once

#include "interactive/AnswerDialog.h"

class QPixmap;
struct QuestionBank;
struct TestState;

// frGDnD: a graphical drag-and-drop question. The items stand in a column beside the
// picture, the drop targets lie over the picture where the question's rows place them.
// With answerable false, or once the test has ended, the items cannot be dragged; while
// the correct answer is shown every target with a key shows its item.
class GraphicalDndWindow : public AnswerDialog
{
    Q_OBJECT

public:
    // Throws std::out_of_range when q's rows are not in the bank.
    GraphicalDndWindow(const QuestionBank &bank, TestState &state, int q, bool answerable,
                       const QPixmap &picture, QWidget *parent = nullptr);

private:
    void okClicked();

    const QuestionBank &m_bank;
    TestState &m_state;
    int m_q = 0;
};

// Shows question q in frGDnD modally and returns when OK has closed it. A picture that
// cannot be read shows the error report instead, and the window does not open.
void ShowGDnD(const QuestionBank &bank, TestState &state, const QString &moduleFolder, int q,
              bool answerable, QWidget *parent);

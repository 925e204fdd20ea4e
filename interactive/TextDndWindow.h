#pragma once

#include "interactive/AnswerDialog.h"

struct QuestionBank;
struct TestState;

// frTDnD: a text drag-and-drop question. The items stand in a column on the left; on the
// right each row of the question has a drop target and its description. With answerable
// false, or once the test has ended, the items cannot be dragged; while the correct answer
// is shown every target with a key shows its item.
class TextDndWindow : public AnswerDialog
{
    Q_OBJECT

public:
    // Throws std::out_of_range when q's rows are not in the bank.
    TextDndWindow(const QuestionBank &bank, TestState &state, int q, bool answerable,
                  QWidget *parent = nullptr);

private:
    void okClicked();

    const QuestionBank &m_bank;
    TestState &m_state;
    int m_q = 0;
};

// Shows question q in frTDnD modally and returns when OK has closed it.
void ShowTDnD(const QuestionBank &bank, TestState &state, int q, bool answerable, QWidget *parent);

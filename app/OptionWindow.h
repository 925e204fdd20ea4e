#pragma once

#include "engine/TestOptions.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
struct QuestionBank;
struct TestState;

// frOption, "Test Options": changes the buttons and the timer of a running Custom test.
// Shown modally; accepted when OK has taken the options over (ChgTestOption).
class OptionWindow : public QDialog
{
    Q_OBJECT
public:
    OptionWindow(const QuestionBank &bank, TestState &state, QWidget *parent = nullptr);

    TestOptionChoice choice() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TestState &m_state;
    QCheckBox *m_ckAnsBtn = nullptr;
    QCheckBox *m_ckTimer = nullptr;
    QLineEdit *m_txDuration = nullptr;
    QCheckBox *m_ckPrevious = nullptr;
    QCheckBox *m_ckTotCorAns = nullptr;
    bool m_checking = false;
};

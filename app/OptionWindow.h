#pragma once

#include "engine/TestOptions.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
struct QuestionBank;
struct TestState;

// frOption, "Test Options": changes the buttons and the timer of a running Custom test.
// Shown modally with the options of the test; accepted by OK, after which the caller
// takes them over (ChgTestOption).
class OptionWindow : public QDialog
{
    Q_OBJECT
public:
    OptionWindow(const QuestionBank &bank, const TestState &state, QWidget *parent = nullptr);

    TestOptionChoice choice() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The duration left in its box: false, after the message, when it cannot stand.
    bool checkDuration();

    QCheckBox *m_ckAnsBtn = nullptr;
    QCheckBox *m_ckTimer = nullptr;
    QLineEdit *m_txDuration = nullptr;
    QCheckBox *m_ckPrevious = nullptr;
    QCheckBox *m_ckTotCorAns = nullptr;
    bool m_checking = false;
};

#pragma once

#include "app/ShadowHeading.h"

#include <QWidget>

class QFrame;
class QLabel;
class QTextEdit;
struct QuestionBank;
struct TestState;

// frReady, the Get Ready screen: describes the test just set up and starts it or goes back
// to the main menu.
class ReadyWindow : public QWidget
{
    Q_OBJECT
public:
    ReadyWindow(const QuestionBank &bank, const TestState &state, const QString &userName,
                QWidget *parent = nullptr);

    // Fills the screen for the test just set up; false (after the error report) when it
    // could not, and the screen must not be shown.
    bool TestReady();

Q_SIGNALS:
    // Shown: the app sets the status text "Get Ready!".
    void activated();
    // The screen has hidden itself: start the test, or go back to the start screen.
    void startRequested();
    void mainMenuRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void layoutReady();

    const QuestionBank &m_bank;
    const TestState &m_state;
    QString m_userName;
    ShadowHeading m_heading;
    QFrame *m_faReady = nullptr;
    QLabel *m_lbQuestion = nullptr;
    QLabel *m_lbMode = nullptr;
    QLabel *m_lbInfo = nullptr;
    QTextEdit *m_txInfo = nullptr;
};

// The two paragraphs of the Get Ready screen for the test in state.
QString readyQuestionText(const QuestionBank &bank, const TestState &state);
QString readyModeText(const TestState &state);

#pragma once

#include "app/ShadowHeading.h"

#include <QWidget>

class QPushButton;
struct QuestionBank;
struct TestState;

// frStart, the main menu: greets the user and offers the Study, Exam and Custom tests and
// Exit. Study and Exam set up the test at once.
class StartWindow : public QWidget
{
    Q_OBJECT
public:
    StartWindow(const QuestionBank &bank, TestState &state, const QString &userName,
                QWidget *parent = nullptr);

Q_SIGNALS:
    // Shown: the app sets the status text "Main Menu" and disables the test menus.
    void activated();
    // A Study or Exam test has been set up and this screen is hidden: get ready.
    void testPrepared();
    // This screen is hidden: show the custom-mode settings.
    void customRequested();
    void exitRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void addMode(const QString &frameName, const QString &buttonName, const QString &caption,
                 const QString &toolTip, const QString &labelName, const QString &text, int top,
                 void (StartWindow::*clicked)() = nullptr);
    void prepareTest(int mode);
    void study() { prepareTest(1); }
    void exam() { prepareTest(2); }
    void custom();
    void exit() { Q_EMIT exitRequested(); }

    const QuestionBank &m_bank;
    TestState &m_state;
    ShadowHeading m_heading;
};

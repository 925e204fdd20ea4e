#pragma once

#include "present/QuestionDisplay.h"

#include <QWidget>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QTimer;
struct QuestionBank;
struct TestState;

// frTest: the window in which a test is taken and, after grading, reviewed. It routes its
// buttons to the navigation and answer-recording logic and tells the program through its
// signals what lies outside it (grading, the item review list, the score report).
class TestWindow : public QWidget
{
    Q_OBJECT

public:
    TestWindow(const QuestionBank &bank, TestState &state, QWidget *parent = nullptr);

    // Where the diagram and exhibit files of the module are.
    void setModuleFolder(const QString &folder) { m_moduleFolder = folder; }

    // Starts the test: caption, timer, item 1.
    void load();
    // Captions and enabling that depend on the mode; runs whenever the window is shown.
    void activate();
    // Applies optTimed to the timer (also after the options change during a test).
    void SetTestTimer();

    // The window's text size in points; the item on screen is drawn again in it.
    void SetTestFontSize(int points);

    void NextQuestion();
    void PreviousQuestion();
    // Shows `item`; callers set curItem first where it should follow.
    void GoToItem(int item);
    void ShowButtons(int item);
    void SaveAnswer(int q);
    void ReadAnswer(int q);
    // Sets ckMark from the record of curQ, which the item review list may have changed.
    void markFromRecord();
    // Ends the running test: saves the item on screen, stops the clock, asks for grading
    // and hides the window.
    void endTest();

    // One tick of tmTimer.
    void timerTick();

    // What the status bar's "info" panel should show.
    QString instruction() const { return m_instruction; }

Q_SIGNALS:
    // The item on screen is saved and the test has ended: grade it and show the report.
    void gradeRequested();
    // The window has hidden itself for the item review list or the score report.
    void reviewListRequested();
    void scoreReportRequested();
    void instructionChanged(const QString &text);
    void activated();
    // The Task button for question q.
    void taskRequested(int q);
    // Show Answer on a drag-and-drop question q: its window showing the correct answer.
    void answerTaskRequested(int q);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void fitChoiceTemplates();
    void layoutControls();
    void setInstruction(const QString &text);
    // Draws an item with its stored answer.
    void showItem(int item);
    void orderFocus();
    // Removes the item on screen and draws curItem.
    void redraw(bool refresh);
    void leaveForList();
    void stopClock();
    void closeOpenDialogs();
    void clickChoiceLabel(int position);
    void endButton();
    void listButton();
    void answerButton();
    void gotoButton();
    void diagramButton();
    void exhibitButton();

    const QuestionBank &m_bank;
    TestState &m_state;
    QString m_moduleFolder;
    QString m_instruction;
    bool m_loaded = false;
    QuestionControls m_controls;

    QLabel *m_lbTime = nullptr;
    QLabel *m_imTimer = nullptr;
    QTimer *m_tmTimer = nullptr;
    QPushButton *m_cmList = nullptr;
    QPushButton *m_cmGoto = nullptr;
    QCheckBox *m_ckMark = nullptr;
    QFrame *m_faFLeft = nullptr;
    QFrame *m_faFMid = nullptr;
    QFrame *m_faFRight = nullptr;
    QPushButton *m_cmPrevious = nullptr;
    QPushButton *m_cmNext = nullptr;
    QPushButton *m_cmDiagram = nullptr;
    QPushButton *m_cmExhibit = nullptr;
    QPushButton *m_cmTask = nullptr;
    QPushButton *m_cmAnswer = nullptr;
    QPushButton *m_cmEnd = nullptr;
};

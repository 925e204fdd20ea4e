#pragma once

#include "interactive/AnswerDialog.h"
#include "interactive/logic/SimSession.h"

#include <QList>

class QLabel;
class QLineEdit;
class QPixmap;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QStatusBar;
class QTabWidget;
struct QuestionBank;
struct TestState;

// frSim: a simulation question. A column of numbered task labels, the instruction text,
// and a device console (transcript, prompt, command line) that shares its place with the
// topology picture. The window only draws its SimSession and routes clicks and Enter to it.
class SimWindow : public AnswerDialog
{
    Q_OBJECT

public:
    SimWindow(const QuestionBank &bank, TestState &state, SimSession session,
              const QPixmap &picture, QWidget *parent = nullptr);

    const SimSession &session() const { return m_session; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildTaskColumn();
    void buildConsole();
    void placeControls();
    void placeConsole();
    void placeCommandLine();
    void showSession();
    void taskClicked(int t);
    void enterPressed();
    void altClicked();
    void closeClicked();
    void focusCommandLine();

    const QuestionBank &m_bank;
    TestState &m_state;
    SimSession m_session;

    QLabel *m_lbTasks = nullptr;
    QList<QLabel *> m_lbTask; // lbTask(0..n)
    QPlainTextEdit *m_txTask = nullptr;
    QTabWidget *m_ssSim = nullptr;
    QWidget *m_consolePage = nullptr;
    QScrollArea *m_svPort = nullptr;
    QLabel *m_lbOutput = nullptr;
    QLabel *m_lbPrompt = nullptr;
    QLineEdit *m_txInput = nullptr;
    QLabel *m_imDiagram = nullptr;
    QPushButton *m_cmAlt = nullptr;
    QPushButton *m_cmClose = nullptr;
    QStatusBar *m_stsCommand = nullptr;
};

// Shows simulation question q in frSim modally and returns when Close has recorded the
// answer. A topology picture that cannot be read leaves the picture empty.
void ShowSim(const QuestionBank &bank, TestState &state, const QString &moduleFolder, int q,
             QWidget *parent);

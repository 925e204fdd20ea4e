#pragma once

#include <QList>
#include <QString>

struct QuestionBank;
struct TestState;

// How a task label of the simulation window looks: clickable or not, and shown as the
// selected one (white on black).
struct SimTaskLabel
{
    bool enabled = false;
    bool selected = false;
};

// The state of one opening of a simulation question: which task is open, the transcript of
// the device console and everything else the window shows. The window draws these fields
// and routes clicks and the Enter key to the functions below.
struct SimSession
{
    int q = 0;
    int simFirstRow = 0;
    int simTaskCount = 0;
    int simTask = 1;    // the task being worked on; only a restart makes it go back
    int simSelTask = 0; // the task label shown selected; 0 = the overview label
    int simRowNo = 0;
    QString simHost;
    int simPromptNo = 0;
    QString simPromptText;
    QString simInput;
    QString simNewText;

    // The last task's command has been accepted.
    bool completed = false;

    QString transcript;             // lbOutput
    QString taskText;               // txTask
    QString statusText;             // stsCommand
    QList<SimTaskLabel> taskLabels; // lbTask(0..simTaskCount)
    bool consoleShown = false;      // the console, else the topology picture
    bool viewSwitchEnabled = false; // cmAlt
    bool inputEnabled = true;       // txInput

    // lbPrompt: the device name followed by the prompt text, e.g. "Router>".
    QString prompt() const { return simHost + simPromptText; }
    // The answer recorded when the window closes: 1 when completed, else -1.
    int answer() const { return completed ? 1 : -1; }
};

inline const QString simCaption = QStringLiteral("QuendraSim");
inline const QString simStatusTask =
    QStringLiteral("Please complete the required task. Do not use command abbreviation.");
inline const QString simStatusOverview =
    QStringLiteral("Please read the instruction carefully. Click on Task #1 to begin.");
inline const QString simStatusCompleted =
    QStringLiteral("Task completed. Click on the Close button to return to the main screen.");
inline const QString simIncorrectLine =
    QStringLiteral("% Incorrect response. Please read the instruction carefully.");

// Sets up the session of simulation question q and shows its overview. Throws
// std::out_of_range when q or its rows are not in the bank.
SimSession startSimSession(const QuestionBank &bank, const TestState &state, int q);

// Selects task t (0 = the overview, which also restarts the simulation). A task beyond the
// one being worked on, or beyond the last, is ignored (returns false). Throws std::out_of_range
// when the task's row or prompt is not in the bank.
bool ShowSimTask(SimSession &session, const QuestionBank &bank, int t);

enum class SimLineResult {
    Echoed,    // an empty line: only the prompt is echoed, the command line keeps its text
    Accepted,  // the task's command: the next task is open
    Completed, // the last task's command
    Refused,   // anything else: the error line, the task stays open
    Ignored,   // no task is open
};

// Enter in the command line with `line` typed: echoes it and checks it against the open
// task's command, ignoring letter case and the spaces around it. Throws std::out_of_range
// when the task's row or prompt is not in the bank.
SimLineResult submitSimLine(SimSession &session, const QuestionBank &bank, const QString &line);

// The Topology / Device button: switches between the console and the picture.
void toggleSimView(SimSession &session);

#include "SimSession.h"

#include "engine/TestState.h"
#include "moduledb/QuestionBank.h"

#include <stdexcept>

namespace {

const QString crlf = QStringLiteral("\r\n");

// Only spaces count as outer blanks of a command line; any other character must match.
QString trimSpaces(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

// The device name and prompt of the selected task's row.
void readCurrentRow(SimSession &session, const QuestionBank &bank)
{
    const SimRow &row = bank.simRows[session.simRowNo];
    session.simHost = row.hostName;
    session.simPromptNo = row.promptNo;
    session.simPromptText = bank.prompts[session.simPromptNo].promptText;
}

SimTaskLabel &taskLabel(SimSession &session, int t)
{
    if (t < 0 || t >= session.taskLabels.size())
        throw std::out_of_range("no such task label");
    return session.taskLabels[t];
}

} // namespace

SimSession startSimSession(const QuestionBank &bank, const TestState &state, int q)
{
    SimSession session;
    session.q = q;
    session.simFirstRow = state.simIndex[q].rowIndex;
    session.simRowNo = session.simFirstRow;
    session.simTask = 1;
    session.simSelTask = 0;
    session.simTaskCount = bank.questions[q].choiceCount;
    session.taskLabels.resize(session.simTaskCount + 1);
    session.taskLabels[0].enabled = true;
    ShowSimTask(session, bank, 0);
    return session;
}

bool ShowSimTask(SimSession &session, const QuestionBank &bank, int t)
{
    if (t < 0 || t > session.simTask || t > session.simTaskCount)
        return false;

    SimTaskLabel &old = taskLabel(session, session.simSelTask);
    old.selected = false;
    if (session.simSelTask > 0)
        old.enabled = false;
    SimTaskLabel &selected = taskLabel(session, t);
    selected.selected = true;
    selected.enabled = true;
    session.simSelTask = t;

    if (t != 0) {
        session.simRowNo = session.simFirstRow + t - 1;
        session.taskText = bank.simRows[session.simRowNo].taskText;
        session.statusText = simStatusTask;
        readCurrentRow(session, bank);
        session.consoleShown = true;
        session.viewSwitchEnabled = true;
    } else {
        session.taskText = bank.questions[session.q].questionText + crlf + crlf +
                           QStringLiteral("Click on Task #1 to begin.");
        session.statusText = simStatusOverview;
        session.simRowNo = session.simFirstRow;
        session.simTask = 1;
        session.simSelTask = 0;
        session.simNewText.clear();
        session.transcript.clear();
        // A simulation without tasks has nothing to begin.
        if (session.simTaskCount >= 1)
            taskLabel(session, 1).enabled = true;
        session.consoleShown = false;
        session.viewSwitchEnabled = false;
    }
    return true;
}

SimLineResult submitSimLine(SimSession &session, const QuestionBank &bank, const QString &line)
{
    if (session.completed || session.simTask > session.simTaskCount || session.simSelTask == 0)
        return SimLineResult::Ignored;

    session.simInput = trimSpaces(line);
    readCurrentRow(session, bank);
    session.simNewText = session.prompt() + session.simInput;

    SimLineResult result = SimLineResult::Echoed;
    if (!session.simInput.isEmpty()) {
        const SimRow &row = bank.simRows[session.simRowNo];
        if (session.simInput.toLower() == row.expectedCommand.toLower()) {
            if (!row.response.isEmpty())
                session.simNewText += crlf + row.response + crlf;
            if (session.simTask <= session.simTaskCount - 1) {
                session.simTask += 1;
                ShowSimTask(session, bank, session.simTask);
                result = SimLineResult::Accepted;
            } else {
                taskLabel(session, 0).enabled = false;
                taskLabel(session, session.simTask).enabled = false;
                session.completed = true;
                session.simNewText += crlf + crlf + QStringLiteral("% Task completed.") + crlf +
                                      QStringLiteral("Click on the Close button to return to "
                                                     "the main screen.") +
                                      crlf;
                session.inputEnabled = false;
                session.statusText = simStatusCompleted;
                result = SimLineResult::Completed;
            }
        } else {
            session.simNewText += crlf + simIncorrectLine + crlf;
            result = SimLineResult::Refused;
        }
    }
    session.transcript += crlf + session.simNewText;
    return result;
}

void toggleSimView(SimSession &session)
{
    session.consoleShown = !session.consoleShown;
}

#include "interactive/ShowTask.h"

#include "common/MessageBoxes.h"
#include "engine/RuntimeError.h"
#include "engine/TestState.h"
#include "interactive/GraphicalDndWindow.h"
#include "interactive/SimWindow.h"
#include "interactive/TextDndWindow.h"
#include "moduledb/QuestionBank.h"

void ShowTask(const QuestionBank &bank, TestState &state, const QString &moduleFolder,
              QWidget *parent)
{
    const int q = state.curQ;
    // The kind of answer window to open; none when the user keeps the answer.
    const int type = guarded(QStringLiteral("Procedure Name: ShowTask"), 0, [&] {
        if (answerPresent(state.answerRecs[q].answer) && state.testActive) {
            const MessageButton choice =
                showMessage(QStringLiteral("Attention!"),
                            QStringLiteral("You have answered this question.\r\n"
                                           "Click OK to redo it again and reset your answer."),
                            MessageIcon::Information, MessageButtons::OkCancel);
            if (choice != MessageButton::Ok)
                return 0;
        }
        return int(bank.questions[q].questionType);
    });
    switch (type) {
    case TextDragAndDrop:
        ShowTDnD(bank, state, q, true, parent);
        break;
    case GraphicalDragAndDrop:
        ShowGDnD(bank, state, moduleFolder, q, true, parent);
        break;
    case Simulation:
        // After grading a simulation cannot be reopened.
        if (state.testActive)
            ShowSim(bank, state, moduleFolder, q, parent);
        break;
    default:
        break;
    }
}

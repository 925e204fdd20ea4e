#include "interactive/SaveDnDAns.h"

#include "common/MessageBoxes.h"
#include "engine/RuntimeError.h"
#include "engine/TestState.h"
#include "interactive/AnswerDialog.h"
#include "interactive/logic/DndAnswer.h"

#include <QLabel>
#include <QWidget>

#include <algorithm>

void SaveDnDAns(const QuestionBank &bank, TestState &state, int q, const QWidget *window,
                const QString &title)
{
    const bool recorded = guarded(QStringLiteral("Procedure Name: SaveDnDAns"), false, [&] {
        const QList<QLabel *> targets = window->findChildren<QLabel *>(QStringLiteral("lbDes"));
        int count = 0;
        for (const QLabel *target : targets)
            count = std::max(count, target->property("index").toInt());
        OneBasedArray<QString> tags(count);
        for (const QLabel *target : targets) {
            const int index = target->property("index").toInt();
            if (index >= 1)
                tags[index] = target->property("tag").toString();
        }
        recordDnDAnswer(bank, state, q, tags);
        return true;
    });
    if (!recorded)
        return;
    if (!state.showingAnswer)
        showMessage(title, answerRecordedText, MessageIcon::Information);
}

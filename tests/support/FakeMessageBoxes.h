#pragma once

#include "common/MessageBoxes.h"

#include <QList>

// Records every message box and answers from a script. A box nobody scripted is answered
// with its first button and counted in unexpected, so the test can fail on it.
// Installs itself for its lifetime.
class FakeMessageBoxes : public MessageBoxes
{
public:
    FakeMessageBoxes();
    ~FakeMessageBoxes() override;

    // Queues the answer for the next box.
    void answerNext(MessageButton button) { m_answers.append(button); }
    MessageButton show(const MessageBoxRequest &request) override;

    QList<MessageBoxRequest> shown;
    int unexpected = 0;

private:
    QList<MessageButton> m_answers;
    MessageBoxes *m_previous = nullptr;
};

#pragma once

#include "common/MessageBoxes.h"

#include <QList>
#include <QTest>

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

// So that QCOMPARE of whole requests shows what differed.
namespace QTest {
template <> inline char *toString(const MessageBoxRequest &request)
{
    return qstrdup(QStringLiteral("{\"%1\", \"%2\", icon %3, buttons %4}")
                       .arg(request.title, request.text)
                       .arg(int(request.icon))
                       .arg(int(request.buttons))
                       .toUtf8()
                       .constData());
}
} // namespace QTest

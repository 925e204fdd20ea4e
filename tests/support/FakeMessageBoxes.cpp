#include "FakeMessageBoxes.h"

FakeMessageBoxes::FakeMessageBoxes() : m_previous(MessageBoxes::installed())
{
    MessageBoxes::install(this);
}

FakeMessageBoxes::~FakeMessageBoxes()
{
    MessageBoxes::install(m_previous);
}

MessageButton FakeMessageBoxes::show(const MessageBoxRequest &request)
{
    shown.append(request);
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    if (request.buttons != MessageButtons::Ok)
        ++unexpected;
    return request.buttons == MessageButtons::YesNo ||
                   request.buttons == MessageButtons::YesNoCancel
               ? MessageButton::Yes
               : MessageButton::Ok;
}

#include "TestOptions.h"

#include "Timing.h"

#include <algorithm>

namespace {

const QString attentionTitle = QStringLiteral("Attention!");
const QString reenterLine = QStringLiteral("\nPlease reenter the correct value.");

std::optional<double> numberIn(const QString &text)
{
    bool numeric = false;
    const double value = text.trimmed().toDouble(&numeric);
    if (!numeric)
        return std::nullopt;
    return value;
}

EntryRefusal attention(const QString &firstLine, const QString &restoredText)
{
    return {{attentionTitle, firstLine + reenterLine, MessageIcon::Information, MessageButtons::Ok},
            restoredText};
}

} // namespace

std::optional<EntryRefusal> checkCustomQuestionCount(const QString &text, int bankQuestionCount)
{
    const QString bankSize = QString::number(bankQuestionCount);
    const std::optional<double> value = numberIn(text);
    if (!value)
        return attention(QStringLiteral("You enter an invalid number of questions."), bankSize);
    // The whole part counts: 5.9 of a five-question bank is five.
    if (*value <= 0 || *value >= bankQuestionCount + 1)
        return attention(QStringLiteral("You enter more than available number of questions."),
                         bankSize);
    return std::nullopt;
}

std::optional<EntryRefusal> checkCustomDuration(const QString &text, const QString &testDuration)
{
    const std::optional<double> value = numberIn(text);
    if (!value || *value <= 0)
        return attention(QStringLiteral("You enter an invalid time value."), testDuration);
    return std::nullopt;
}

std::optional<EntryRefusal> checkOptionDuration(const QString &text)
{
    const std::optional<double> value = numberIn(text);
    if (value && *value >= 1)
        return std::nullopt;
    return EntryRefusal{{QStringLiteral("Timer setting"),
                         QStringLiteral("The duration must be set to at least 1 minute."),
                         MessageIcon::Warning, MessageButtons::Ok},
                        QStringLiteral("1")};
}

std::optional<MessageBoxRequest> checkObjectivesChosen(const QList<bool> &checked)
{
    if (std::find(checked.begin(), checked.end(), true) != checked.end())
        return std::nullopt;
    return MessageBoxRequest{attentionTitle,
                             QStringLiteral("You must select at least one category to continue.\n"
                                            "Please retry again."),
                             MessageIcon::Information, MessageButtons::Ok};
}

void ChgTestOption(TestState &state, const TestOptionChoice &choice)
{
    const bool wasTimed = state.optTimed;
    state.optPrevious = choice.ckPrevious;
    state.optAnswerButton = choice.ckAnsBtn;
    state.optShowCorrectCount = choice.ckTotCorAns;
    state.optTimed = choice.ckTimer;
    state.testDuration = choice.txDuration;
    if (state.optTimed && !wasTimed)
        InitTestDur(state, state.testDuration);
}

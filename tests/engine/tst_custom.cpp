#include "FakeClock.h"
#include "FakeMessageBoxes.h"
#include "engine/TestOptions.h"
#include "engine/Timing.h"

#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

QDateTime at(int hour, int minute)
{
    return QDateTime(QDate(2026, 12, 7), QTime(hour, minute));
}

MessageBoxRequest attention(const QString &firstLine)
{
    return {u"Attention!"_s, firstLine + u"\nPlease reenter the correct value."_s,
            MessageIcon::Information, MessageButtons::Ok};
}

} // namespace

class TestCustom : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void enteredValuesAreCheckedWhenLeft_data();
    void enteredValuesAreCheckedWhenLeft();
    void anObjectiveMustStayChosen();
    void optionsMoveTheEndOfTheTest();
};

// One row per box and value: the refusal shown and the text put back, or none.
void TestCustom::enteredValuesAreCheckedWhenLeft_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<EntryRefusal>>("refusal");

    const auto count = [](const QString &line) {
        return std::optional<EntryRefusal>({attention(line), u"12"_s});
    };
    const std::optional<EntryRefusal> accepted;
    const QString invalidCount = u"You enter an invalid number of questions."_s;
    const QString tooMany = u"You enter more than available number of questions."_s;
    QTest::newRow("count: bank size") << u"count"_s << u"12"_s << accepted;
    QTest::newRow("count: fraction of the last") << u"count"_s << u"12.9"_s << accepted;
    QTest::newRow("count: zero") << u"count"_s << u"0"_s << count(tooMany);
    QTest::newRow("count: one past") << u"count"_s << u"13"_s << count(tooMany);
    QTest::newRow("count: text") << u"count"_s << u"ten"_s << count(invalidCount);

    const std::optional<EntryRefusal> badTime(
        {attention(u"You enter an invalid time value."_s), u"45"_s});
    QTest::newRow("custom time: fraction") << u"custom time"_s << u"0.5"_s << accepted;
    QTest::newRow("custom time: zero") << u"custom time"_s << u"0"_s << badTime;
    QTest::newRow("custom time: text") << u"custom time"_s << u"soon"_s << badTime;

    const std::optional<EntryRefusal> atLeastOne(
        {{u"Timer setting"_s, u"The duration must be set to at least 1 minute."_s,
          MessageIcon::Warning, MessageButtons::Ok},
         u"1"_s});
    QTest::newRow("option time: one") << u"option time"_s << u"1"_s << accepted;
    QTest::newRow("option time: below one") << u"option time"_s << u"0.9"_s << atLeastOne;
}

void TestCustom::enteredValuesAreCheckedWhenLeft()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(std::optional<EntryRefusal>, refusal);

    std::optional<EntryRefusal> found;
    if (box == u"count")
        found = checkCustomQuestionCount(text, 12);
    else if (box == u"custom time")
        found = checkCustomDuration(text, u"45"_s);
    else
        found = checkOptionDuration(text);
    QCOMPARE(found.has_value(), refusal.has_value());
    if (refusal) {
        QCOMPARE(found->message, refusal->message);
        QCOMPARE(found->restoredText, refusal->restoredText);
    }
}

void TestCustom::anObjectiveMustStayChosen()
{
    QVERIFY(!checkObjectivesChosen({false, true, false}));
    QCOMPARE(checkObjectivesChosen({false, false}),
             MessageBoxRequest({u"Attention!"_s,
                                u"You must select at least one category to continue.\n"
                                u"Please retry again."_s,
                                MessageIcon::Information, MessageButtons::Ok}));
}

void TestCustom::optionsMoveTheEndOfTheTest()
{
    FakeClock clock(at(9, 0));
    TestState state;
    state.optTimed = false;
    ChgTestOption(state, {true, false, true, true, u"30"_s});
    QVERIFY(state.optPrevious && !state.optAnswerButton && state.optShowCorrectCount);
    QCOMPARE(state.testEndTime, at(9, 30));

    // Applied again ten minutes later with a new duration: it counts from then.
    clock.advanceSecs(600);
    ChgTestOption(state, {true, false, true, true, u"90"_s});
    QCOMPARE(SetTestTimer(state).timeLeft, u"Time Left: 01:30:00"_s);
    QCOMPARE(state.testEndTime, at(10, 40));

    // Off, then on again after the old end has passed: a fresh countdown, not the end.
    ChgTestOption(state, {true, false, true, false, u"90"_s});
    QVERIFY(!SetTestTimer(state).timerEnabled);
    clock.set(at(11, 0));
    ChgTestOption(state, {true, false, true, true, u"5"_s});
    QVERIFY(!timeIsUp(state, clock.now()));
    QCOMPARE(SetTestTimer(state).timeLeft, u"Time Left: 00:05:00"_s);
}

QTEST_APPLESS_MAIN(TestCustom)
#include "tst_custom.moc"

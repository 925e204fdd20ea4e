#include "BankBuilder.h"
#include "FakeMessageBoxes.h"
#include "common/BusyCursor.h"
#include "engine/InitTest.h"
#include "engine/Selection.h"

#include <QTest>

#include <set>

using namespace Qt::StringLiterals;

namespace {

// Four objectives of 4, 8, 2 and 6 questions; an exam of 12 questions in 90 minutes.
QuestionBank smallBank()
{
    BankBuilder builder;
    builder.objectives(4).examQuestions(12, 90);
    for (int o = 1; o <= 4; ++o)
        builder.questions(o, QList<int>{4, 8, 2, 6}[o - 1]);
    return builder.bank();
}

} // namespace

class TestSetup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void newTestClearsTheLastOne();
    void customQuestionCountText_data();
    void customQuestionCountText();
    void customObjectives_data();
    void customObjectives();

private:
    int m_busyBegun = 0;
    int m_busyEnded = 0;
};

void TestSetup::init()
{
    m_busyBegun = m_busyEnded = 0;
    BusyCursor::install([this] { ++m_busyBegun; }, [this] { ++m_busyEnded; });
}

void TestSetup::cleanup()
{
    // The pointer is back to normal however the set-up ended.
    QCOMPARE(m_busyBegun, 1);
    QCOMPARE(m_busyEnded, m_busyBegun);
    BusyCursor::install({}, {});
}

void TestSetup::newTestClearsTheLastOne()
{
    const QuestionBank bank = smallBank();
    TestState state;
    SizeSessionArrays(bank, state);
    state.answerRecs[3] = AnswerRecord{4, true, StatusCorrect};
    state.markedItems[1] = 3;
    state.navMode = NavReviewAll;
    state.testEndTime = QDateTime::currentDateTime();

    QVERIFY(InitTest(StudyMode, bank, state));
    for (const AnswerRecord &record : state.answerRecs)
        QVERIFY(!answerPresent(record.answer) && !record.marked && record.status == StatusNone);
    QCOMPARE(state.markedItems[1], 0);
    QCOMPARE(state.navMode, int(NavTakingTest));
    // The time of the new test starts when its window opens.
    QVERIFY(!state.testEndTime.isValid());
}

void TestSetup::customQuestionCountText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("length");
    // Text the settings window would put back to the bank size gets the bank size here too,
    // so no test comes out empty.
    QTest::newRow("spaces") << " 3 " << 3;
    QTest::newRow("fraction") << "2.7" << 2;
    QTest::newRow("bank size") << "20" << 20;
    QTest::newRow("zero") << "0" << 20;
    QTest::newRow("above the bank") << "21" << 20;
    QTest::newRow("not finite") << "nan" << 20;
}

void TestSetup::customQuestionCountText()
{
    QFETCH(QString, text);
    QFETCH(int, length);
    TestState state;
    CustomSettings custom;
    custom.txCustomQuestions = text;
    QVERIFY(InitTest(CustomMode, smallBank(), state, custom));
    QCOMPARE(state.testLength, length);
}

void TestSetup::customObjectives_data()
{
    QTest::addColumn<int>("opObjIndex");
    QTest::addColumn<QList<bool>>("checked");
    QTest::addColumn<QList<int>>("objectives");
    QTest::newRow("checked ones") << 1 << QList<bool>{false, true, true, false} << QList<int>{2, 3};
    // The first option takes every objective, whatever the list holds.
    QTest::newRow("all") << 0 << QList<bool>{false, true, true, false} << QList<int>{1, 2, 3, 4};
    QTest::newRow("none checked") << 1 << QList<bool>(4, false) << QList<int>{};
}

void TestSetup::customObjectives()
{
    QFETCH(int, opObjIndex);
    QFETCH(QList<bool>, checked);
    QFETCH(QList<int>, objectives);
    FakeMessageBoxes boxes;
    const QuestionBank bank = smallBank();
    TestState state;
    CustomSettings custom;
    custom.opObjIndex = opObjIndex;
    for (bool row : checked)
        custom.lvObjChecked.append(row);

    QCOMPARE(InitTest(CustomMode, bank, state, custom), !objectives.isEmpty());
    QCOMPARE(state.testActive, !objectives.isEmpty());
    std::set<int> drawnFrom;
    for (int item = 1; item <= state.testLength; ++item)
        drawnFrom.insert(bank.questions[GetQueID(state, item)].objectiveNo);
    QCOMPARE(QList<int>(drawnFrom.begin(), drawnFrom.end()), objectives);
    const MessageBoxRequest selectOne{u"Please select category"_s,
                                      u"You must select at least one category to continue."_s,
                                      MessageIcon::Information, MessageButtons::Ok};
    QCOMPARE(boxes.shown, objectives.isEmpty() ? QList{selectOne} : QList<MessageBoxRequest>());
}

QTEST_APPLESS_MAIN(TestSetup)
#include "tst_setup.moc"

#include "BankBuilder.h"
#include "FakeMessageBoxes.h"
#include "common/BusyCursor.h"
#include "common/Random.h"
#include "engine/InitTest.h"
#include "engine/Selection.h"

#include <QTest>

#include <set>

namespace {

// Four objectives of 4, 8, 2 and 6 questions; an exam of 12 questions in 90 minutes.
QuestionBank smallBank()
{
    BankBuilder builder;
    builder.objectives(4).examQuestions(12, 90);
    const QList<int> sizes{4, 8, 2, 6};
    for (int round = 0; round < 8; ++round) {
        for (int o = 1; o <= 4; ++o) {
            if (round < sizes[o - 1])
                builder.question(o, 1 + (round + o) % 7, 2 + round % 5);
        }
    }
    return builder.bank();
}

CustomSettings customSettings(const QString &questions)
{
    CustomSettings custom;
    custom.txCustomQuestions = questions;
    custom.ckRndQues = true;
    custom.ckRndAns = true;
    custom.ckTimer = true;
    custom.txDuration = QStringLiteral("45");
    custom.ckPrevious = true;
    return custom;
}

QList<int> objectivesOfTest(const QuestionBank &bank, const TestState &state)
{
    std::set<int> objectives;
    for (int item = 1; item <= state.testLength; ++item)
        objectives.insert(bank.questions[GetQueID(state, item)].objectiveNo);
    return QList<int>(objectives.begin(), objectives.end());
}

} // namespace

class TestSetup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void modeSetsItsOptions_data();
    void modeSetsItsOptions();
    void newTestClearsThePreviousOne();
    void customReadsTheSettingsWindow();
    void customQuestionCountText_data();
    void customQuestionCountText();
    void customWithNoObjectiveCheckedStops();
    void customTakesOnlyTheCheckedObjectives();
    void unknownModeIsReported();
    void recordIndexFindsEachQuestionsBlock();

private:
    int m_busyBegun = 0;
    int m_busyEnded = 0;
};

void TestSetup::init()
{
    Random::instance().seed(512330);
    m_busyBegun = m_busyEnded = 0;
    BusyCursor::install([this] { ++m_busyBegun; }, [this] { ++m_busyEnded; });
}

void TestSetup::cleanup()
{
    // The pointer is back to normal however the set-up ended.
    QCOMPARE(m_busyEnded, m_busyBegun);
    BusyCursor::install({}, {});
}

void TestSetup::modeSetsItsOptions_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("timed");
    QTest::addColumn<QString>("duration");
    QTest::addColumn<bool>("previous");
    QTest::addColumn<bool>("answerButton");
    // Study leaves the duration as it was.
    QTest::newRow("study") << int(StudyMode) << "study" << false << "unchanged" << true << true;
    QTest::newRow("exam") << int(ExamMode) << "exam" << true << "90" << false << false;
}

void TestSetup::modeSetsItsOptions()
{
    QFETCH(int, mode);
    QFETCH(QString, name);
    QFETCH(bool, timed);
    QFETCH(QString, duration);
    QFETCH(bool, previous);
    QFETCH(bool, answerButton);
    FakeMessageBoxes boxes;
    const QuestionBank bank = smallBank();
    TestState state;
    state.testDuration = QStringLiteral("unchanged");

    QVERIFY(InitTest(mode, bank, state));
    QCOMPARE(m_busyBegun, 1);
    QCOMPARE(state.testMode, mode);
    QCOMPARE(state.testModeName, name);
    QCOMPARE(state.numQuestionsWanted, 12);
    QCOMPARE(state.testLength, 12);
    QCOMPARE(state.testDuration, duration);
    QVERIFY(state.optRandomQuestions);
    QVERIFY(state.optRandomAnswers);
    QCOMPARE(state.optTimed, timed);
    QCOMPARE(state.optPrevious, previous);
    QCOMPARE(state.optAnswerButton, answerButton);
    QVERIFY(state.optShowCorrectCount);
    for (int o = 1; o <= 4; ++o)
        QVERIFY(state.objSelected[o]);
    QCOMPARE(state.objListCount, 4);
    QCOMPARE(state.navMode, int(NavTakingTest));
    QVERIFY(state.testActive);
    QCOMPARE(boxes.shown.size(), 0);
}

void TestSetup::newTestClearsThePreviousOne()
{
    const QuestionBank bank = smallBank();
    TestState state;
    SizeSessionArrays(bank, state);
    state.answerRecs[3] = AnswerRecord{4, true, StatusCorrect};
    state.markedItems[1] = 3;
    state.navMode = NavReviewAll;
    state.testActive = false;
    state.testEndTime = QDateTime::currentDateTime();

    QVERIFY(InitTest(StudyMode, bank, state));
    QCOMPARE(state.answerRecs.size(), bank.questions.size());
    for (const AnswerRecord &record : state.answerRecs) {
        QVERIFY(!answerPresent(record.answer));
        QVERIFY(!record.marked);
        QCOMPARE(record.status, int(StatusNone));
    }
    QCOMPARE(state.markedItems[1], 0);
    QCOMPARE(state.navMode, int(NavTakingTest));
    QVERIFY(state.testActive);
    // The time of the new test starts when its window opens.
    QVERIFY(!state.testEndTime.isValid());
}

void TestSetup::customReadsTheSettingsWindow()
{
    const QuestionBank bank = smallBank();
    TestState state;
    CustomSettings custom = customSettings(QStringLiteral("7"));
    custom.ckRndQues = false;
    custom.ckAnsBtn = true;
    custom.ckTotCorAns = false;

    QVERIFY(InitTest(CustomMode, bank, state, custom));
    QCOMPARE(state.testMode, int(CustomMode));
    QCOMPARE(state.testModeName, QStringLiteral("custom"));
    QCOMPARE(state.numQuestionsWanted, 7);
    QCOMPARE(state.testLength, 7);
    QCOMPARE(state.testDuration, QStringLiteral("45"));
    QVERIFY(!state.optRandomQuestions);
    QVERIFY(state.optRandomAnswers);
    QVERIFY(state.optTimed);
    QVERIFY(state.optPrevious);
    QVERIFY(state.optAnswerButton);
    QVERIFY(!state.optShowCorrectCount);
    QCOMPARE(objectivesOfTest(bank, state), (QList<int>{1, 2, 3, 4}));
}

void TestSetup::customQuestionCountText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("length");
    // Text the settings window would put back to the bank size gets the bank size here too,
    // so no test comes out empty.
    QTest::newRow("number") << "5" << 5;
    QTest::newRow("spaces") << " 3 " << 3;
    QTest::newRow("fraction") << "2.7" << 2;
    QTest::newRow("bank size") << "20" << 20;
    QTest::newRow("zero") << "0" << 20;
    QTest::newRow("below one") << "0.5" << 20;
    QTest::newRow("negative") << "-2" << 20;
    QTest::newRow("above the bank") << "21" << 20;
    QTest::newRow("not a number") << "abc" << 20;
    QTest::newRow("empty") << "" << 20;
    QTest::newRow("not finite") << "nan" << 20;
}

void TestSetup::customQuestionCountText()
{
    QFETCH(QString, text);
    QFETCH(int, length);
    const QuestionBank bank = smallBank();
    TestState state;
    QVERIFY(InitTest(CustomMode, bank, state, customSettings(text)));
    QCOMPARE(state.numQuestionsWanted, length);
    QCOMPARE(state.testLength, length);
}

void TestSetup::customWithNoObjectiveCheckedStops()
{
    FakeMessageBoxes boxes;
    const QuestionBank bank = smallBank();
    TestState state;
    CustomSettings custom = customSettings(QStringLiteral("10"));
    custom.opObjIndex = 1;
    custom.lvObjChecked.fill(4, false);

    QVERIFY(!InitTest(CustomMode, bank, state, custom));
    QVERIFY(!state.testActive);
    QCOMPARE(m_busyBegun, 1);
    QCOMPARE(m_busyEnded, 1);
    // The options are taken over before the objectives are checked.
    QCOMPARE(state.testModeName, QStringLiteral("custom"));
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].title, QStringLiteral("Please select category"));
    QCOMPARE(boxes.shown[0].text,
             QStringLiteral("You must select at least one category to continue."));
    QCOMPARE(boxes.shown[0].icon, MessageIcon::Information);
    QCOMPARE(boxes.shown[0].buttons, MessageButtons::Ok);
}

void TestSetup::customTakesOnlyTheCheckedObjectives()
{
    FakeMessageBoxes boxes;
    const QuestionBank bank = smallBank();
    TestState state;
    CustomSettings custom = customSettings(QStringLiteral("20"));
    custom.opObjIndex = 1;
    custom.lvObjChecked.fill(4, false);
    custom.lvObjChecked[2] = true;
    custom.lvObjChecked[3] = true;

    QVERIFY(InitTest(CustomMode, bank, state, custom));
    QCOMPARE(state.testLength, 10);
    QCOMPARE(objectivesOfTest(bank, state), (QList<int>{2, 3}));

    // The first option takes every objective, whatever the list holds.
    custom.opObjIndex = 0;
    QVERIFY(InitTest(CustomMode, bank, state, custom));
    QCOMPARE(state.testLength, 20);
    QCOMPARE(boxes.shown.size(), 0);
}

void TestSetup::unknownModeIsReported()
{
    FakeMessageBoxes boxes;
    TestState state;
    QVERIFY(!InitTest(4, smallBank(), state));
    QVERIFY(!state.testActive);
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].icon, MessageIcon::Critical);
    QVERIFY(boxes.shown[0].text.endsWith(QStringLiteral("\nFunction Name: InitTest")));
}

void TestSetup::recordIndexFindsEachQuestionsBlock()
{
    // Choice rows for 1, 2, 3 and 5; drag-and-drop targets for 2 (three) and 5 (two);
    // tasks for 4.
    BankBuilder builder;
    builder.objectives(1)
        .question(1, SingleAnswer, 3)
        .question(1, TextDragAndDrop, 4)
        .question(1, TypedAnswer)
        .question(1, Simulation, 2)
        .question(1, GraphicalDragAndDrop, 2);
    QuestionBank bank = builder.bank();
    bank.questions[2].answerKey = 3;
    bank.dndRows.append(DndRow{2, 3, 3, QString(), 0, 0, 0, 0});
    // Keep the blocks in question order: question 2's third target before question 5's.
    std::swap(bank.dndRows[3], bank.dndRows[5]);
    std::swap(bank.dndRows[4], bank.dndRows[5]);
    TestState state;
    InitRecordIndex(bank, state, bank.questions.size());

    const QList<int> choiceStarts{1, 4, 8, 0, 9};
    const QList<int> dndStarts{0, 1, 0, 0, 4};
    const QList<int> simStarts{0, 0, 0, 1, 0};
    for (int q = 1; q <= 5; ++q) {
        QCOMPARE(state.mcIndex[q].rowIndex, choiceStarts[q - 1]);
        QCOMPARE(state.dndIndex[q].rowIndex, dndStarts[q - 1]);
        QCOMPARE(state.simIndex[q].rowIndex, simStarts[q - 1]);
        QCOMPARE(state.mcIndex[q].questionId, qint16(choiceStarts[q - 1] ? q : 0));
    }
}

QTEST_APPLESS_MAIN(TestSetup)
#include "tst_setup.moc"

#include "BankBuilder.h"
#include "engine/Navigation.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

OneBasedArray<int> list(std::initializer_list<int> items)
{
    OneBasedArray<int> result;
    for (int item : items)
        result.append(item);
    return result;
}

// A test of ten items in bank order, questions of the given types.
struct Fixture
{
    QuestionBank bank;
    TestState state;

    explicit Fixture(int type = SingleAnswer)
    {
        BankBuilder builder;
        builder.objectives(1);
        for (int i = 0; i < 10; ++i)
            builder.question(1, type, 4);
        bank = builder.bank();
        state.testLength = 10;
        for (int q = 1; q <= 10; ++q)
            state.objQueID.append(q);
        state.navMode = NavTakingTest;
        state.testActive = true;
        state.optPrevious = true;
        state.curItem = 1;
        state.curQ = 1;
    }
};

} // namespace

Q_DECLARE_METATYPE(NextOutcome)

class TestNavigation : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void modeEnablesControls_data();
    void modeEnablesControls();
    void nextWalksThroughTheItems_data();
    void nextWalksThroughTheItems();
    void reviewListBoundaries_data();
    void reviewListBoundaries();
    void previousEnabling_data();
    void previousEnabling();
    void taskAndAnswerButtons_data();
    void taskAndAnswerButtons();
    void diagramAndExhibitButtons();
    void gotoItemNumber_data();
    void gotoItemNumber();
};

void TestNavigation::modeEnablesControls_data()
{
    QTest::addColumn<int>("navMode");
    QTest::addColumn<bool>("testActive");
    QTest::addColumn<bool>("optPrevious");
    QTest::addColumn<bool>("gotoEnabled");
    QTest::addColumn<bool>("markEnabled");
    QTest::addColumn<bool>("listEnabled");
    QTest::newRow("study") << 1 << true << true << true << true << true;
    QTest::newRow("exam") << 1 << true << false << false << false << false;
    QTest::newRow("marked") << 2 << true << true << false << true << true;
    QTest::newRow("graded review") << 5 << false << false << true << false << true;
}

void TestNavigation::modeEnablesControls()
{
    QFETCH(int, navMode);
    QFETCH(bool, testActive);
    QFETCH(bool, optPrevious);
    QFETCH(bool, gotoEnabled);
    QFETCH(bool, markEnabled);
    QFETCH(bool, listEnabled);
    TestState state;
    state.navMode = navMode;
    state.testActive = testActive;
    state.optPrevious = optPrevious;
    QCOMPARE(navCaptions(state).gotoEnabled, gotoEnabled);
    QCOMPARE(windowStates(state).markEnabled, markEnabled);
    QCOMPARE(windowStates(state).listEnabled, listEnabled);
}

void TestNavigation::nextWalksThroughTheItems_data()
{
    QTest::addColumn<int>("navMode");
    QTest::addColumn<bool>("optPrevious");
    QTest::addColumn<int>("from");
    QTest::addColumn<NextOutcome>("outcome");
    QTest::addColumn<int>("curItem");
    QTest::newRow("study middle") << 1 << true << 4 << NextOutcome::ShowItem << 5;
    QTest::newRow("study last") << 1 << true << 10 << NextOutcome::LeaveForList << 10;
    QTest::newRow("exam last") << 1 << false << 10 << NextOutcome::AskToEndTest << 10;
    QTest::newRow("review all last") << 5 << false << 10 << NextOutcome::LeaveForList << 10;
    QTest::newRow("review all middle") << 5 << false << 9 << NextOutcome::ShowItem << 10;
}

void TestNavigation::nextWalksThroughTheItems()
{
    QFETCH(int, navMode);
    QFETCH(bool, optPrevious);
    QFETCH(int, from);
    QFETCH(NextOutcome, outcome);
    QFETCH(int, curItem);
    Fixture fixture;
    fixture.state.navMode = navMode;
    fixture.state.optPrevious = optPrevious;
    fixture.state.curItem = from;
    QCOMPARE(advanceItem(fixture.state), outcome);
    QCOMPARE(fixture.state.curItem, curItem);
}

void TestNavigation::reviewListBoundaries_data()
{
    QTest::addColumn<int>("navMode");
    QTest::newRow("marked") << 2;
    QTest::newRow("incomplete") << 3;
    QTest::newRow("incorrect") << 4;
}

void TestNavigation::reviewListBoundaries()
{
    QFETCH(int, navMode);
    Fixture fixture;
    TestState &state = fixture.state;
    state.navMode = navMode;
    OneBasedArray<int> &items = navMode == 2   ? state.markedItems
                                : navMode == 3 ? state.incompleteItems
                                               : state.incorrectItems;
    int &position = navMode == 2   ? state.reviewPosMarked
                    : navMode == 3 ? state.reviewPosIncomplete
                                   : state.reviewPosIncorrect;
    items = list({2, 5, 9});
    position = 1;
    state.curItem = 2;

    for (int item : {5, 9}) {
        QCOMPARE(advanceItem(state), NextOutcome::ShowItem);
        QCOMPARE(state.curItem, item);
    }
    // Past the last entry: back to the list, the position left at the last entry.
    QCOMPARE(advanceItem(state), NextOutcome::LeaveForList);
    QCOMPARE(position, 3);
    QCOMPARE(state.curItem, 9);
    for (int item : {5, 2}) {
        QVERIFY(stepBackItem(state));
        QCOMPARE(state.curItem, item);
    }
    QVERIFY(!stepBackItem(state));
    QCOMPARE(position, 1);
    QCOMPARE(state.curItem, 2);
}

void TestNavigation::previousEnabling_data()
{
    QTest::addColumn<int>("navMode");
    QTest::addColumn<bool>("testActive");
    QTest::addColumn<bool>("optPrevious");
    QTest::addColumn<int>("reviewPos");
    QTest::addColumn<int>("item");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("first item") << 1 << true << true << 0 << 1 << false;
    QTest::newRow("study middle") << 1 << true << true << 0 << 5 << true;
    QTest::newRow("study last") << 1 << true << true << 0 << 10 << true;
    QTest::newRow("exam middle") << 1 << true << false << 0 << 5 << false;
    QTest::newRow("exam last") << 1 << true << false << 0 << 10 << false;
    QTest::newRow("graded middle") << 5 << false << false << 0 << 5 << true;
    QTest::newRow("graded last") << 5 << false << false << 0 << 10 << true;
    QTest::newRow("graded first") << 4 << false << false << 1 << 1 << false;
    QTest::newRow("first marked entry") << 2 << true << true << 1 << 5 << false;
    QTest::newRow("second marked entry") << 2 << true << true << 2 << 5 << true;
    QTest::newRow("incomplete first entry") << 3 << true << true << 1 << 5 << false;
}

void TestNavigation::previousEnabling()
{
    QFETCH(int, navMode);
    QFETCH(bool, testActive);
    QFETCH(bool, optPrevious);
    QFETCH(int, reviewPos);
    QFETCH(int, item);
    QFETCH(bool, enabled);
    Fixture fixture;
    TestState &state = fixture.state;
    state.navMode = navMode;
    state.testActive = testActive;
    state.optPrevious = optPrevious;
    state.reviewPosMarked = state.reviewPosIncomplete = state.reviewPosIncorrect = reviewPos;
    QCOMPARE(buttonStates(fixture.bank, state, item).previous, enabled);
    QVERIFY(buttonStates(fixture.bank, state, item).next);
}

void TestNavigation::taskAndAnswerButtons_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("testActive");
    QTest::addColumn<bool>("optAnswerButton");
    QTest::addColumn<bool>("task");
    QTest::addColumn<bool>("answer");
    QTest::newRow("choice, study") << 1 << true << true << false << true;
    QTest::newRow("choice, exam") << 1 << true << false << false << false;
    QTest::newRow("choice, graded") << 2 << false << true << false << false;
    QTest::newRow("dnd, exam") << 5 << true << false << true << false;
    QTest::newRow("dnd, graded") << 6 << false << false << false << true;
    QTest::newRow("sim, study") << 7 << true << true << true << true;
    QTest::newRow("sim, graded") << 7 << false << true << false << false;
}

void TestNavigation::taskAndAnswerButtons()
{
    QFETCH(int, type);
    QFETCH(bool, testActive);
    QFETCH(bool, optAnswerButton);
    QFETCH(bool, task);
    QFETCH(bool, answer);
    Fixture fixture(type);
    fixture.state.testActive = testActive;
    fixture.state.optAnswerButton = optAnswerButton;
    const ButtonStates buttons = buttonStates(fixture.bank, fixture.state, 3);
    QCOMPARE(buttons.task, task);
    QCOMPARE(buttons.answer, answer);
}

void TestNavigation::diagramAndExhibitButtons()
{
    Fixture fixture(GraphicalDragAndDrop);
    fixture.bank.questions[1].diagramFile = u"net.gif"_s;
    QVERIFY(!buttonStates(fixture.bank, fixture.state, 1).diagram);
    fixture.bank.questions[1].questionType = SingleAnswer;
    QVERIFY(buttonStates(fixture.bank, fixture.state, 1).diagram);
    QVERIFY(!buttonStates(fixture.bank, fixture.state, 1).exhibit);
    fixture.bank.questions[1].exhibitFile = u"show.txt"_s;
    QVERIFY(buttonStates(fixture.bank, fixture.state, 1).exhibit);
}

void TestNavigation::gotoItemNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("item");
    QTest::newRow("plain") << u"7"_s << 7;
    QTest::newRow("blanks") << u" 3 "_s << 3;
    QTest::newRow("last") << u"10"_s << 10;
    QTest::newRow("fraction uses its integer part") << u"10.6"_s << 10;
    QTest::newRow("zero") << u"0"_s << 0;
    QTest::newRow("above") << u"11"_s << 0;
    QTest::newRow("negative") << u"-2"_s << 0;
    QTest::newRow("below one") << u"0.5"_s << 0;
    QTest::newRow("text") << u"abc"_s << 0;
    QTest::newRow("empty") << u""_s << 0;
    QTest::newRow("infinite") << u"inf"_s << 0;
}

void TestNavigation::gotoItemNumber()
{
    QFETCH(QString, text);
    QFETCH(int, item);
    QCOMPARE(parseGotoItem(text, 10).value_or(0), item);
}

QTEST_APPLESS_MAIN(TestNavigation)
#include "tst_navigation.moc"

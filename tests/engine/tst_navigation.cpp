#include "BankBuilder.h"
#include "engine/Navigation.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

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
    void nextWalksThroughTheItems_data();
    void nextWalksThroughTheItems();
    void reviewListBoundaries_data();
    void reviewListBoundaries();
    void enabledControls_data();
    void enabledControls();
    void diagramAndExhibitButtons();
    void gotoItemNumber_data();
    void gotoItemNumber();
};

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
    for (int item : {2, 5, 9})
        items.append(item);
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

void TestNavigation::enabledControls_data()
{
    // Question type, navigation mode, test running, free navigation (and the Show Answer
    // option), position in the review list, item.
    QTest::addColumn<QList<int>>("test");
    QTest::addColumn<QString>("enabled");
    QTest::newRow("first item") << QList<int>{1, 1, 1, 1, 0, 1} << "answer goto mark list";
    QTest::newRow("study middle") << QList<int>{1, 1, 1, 1, 0, 5}
                                  << "previous answer goto mark list";
    QTest::newRow("exam middle") << QList<int>{1, 1, 1, 0, 0, 5} << "";
    QTest::newRow("graded middle") << QList<int>{1, 5, 0, 0, 0, 5} << "previous goto list";
    QTest::newRow("graded, first incorrect") << QList<int>{1, 4, 0, 0, 1, 1} << "list";
    QTest::newRow("first marked entry") << QList<int>{1, 2, 1, 1, 1, 5} << "answer mark list";
    QTest::newRow("second marked entry")
        << QList<int>{1, 2, 1, 1, 2, 5} << "previous answer mark list";
    QTest::newRow("dnd, exam") << QList<int>{5, 1, 1, 0, 0, 3} << "task";
    QTest::newRow("dnd, graded") << QList<int>{6, 5, 0, 0, 0, 3} << "previous answer goto list";
    QTest::newRow("sim, study") << QList<int>{7, 1, 1, 1, 0, 3}
                                << "previous task answer goto mark list";
    QTest::newRow("sim, graded") << QList<int>{7, 5, 0, 1, 0, 3} << "previous goto list";
}

void TestNavigation::enabledControls()
{
    QFETCH(QList<int>, test);
    QFETCH(QString, enabled);
    Fixture fixture(test[0]);
    TestState &state = fixture.state;
    state.navMode = test[1];
    state.testActive = test[2];
    state.optPrevious = state.optAnswerButton = test[3];
    state.reviewPosMarked = state.reviewPosIncomplete = state.reviewPosIncorrect = test[4];
    const ButtonStates buttons = buttonStates(fixture.bank, state, test[5]);
    const WindowStates window = windowStates(state);
    const std::pair<bool, QString> controls[] = {
        {buttons.previous, u"previous"_s}, {buttons.task, u"task"_s},
        {buttons.answer, u"answer"_s},     {navCaptions(state).gotoEnabled, u"goto"_s},
        {window.markEnabled, u"mark"_s},   {window.listEnabled, u"list"_s}};
    QStringList on;
    for (const auto &[isEnabled, name] : controls) {
        if (isEnabled)
            on.append(name);
    }
    QCOMPARE(on.join(u' '), enabled);
    QVERIFY(buttons.next);
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
    QTest::newRow("blanks") << u" 3 "_s << 3;
    QTest::newRow("last") << u"10"_s << 10;
    QTest::newRow("fraction uses its integer part") << u"10.6"_s << 10;
    QTest::newRow("above") << u"11"_s << 0;
    QTest::newRow("below one") << u"0.5"_s << 0;
    QTest::newRow("text") << u"abc"_s << 0;
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

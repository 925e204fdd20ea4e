// Drag-and-drop questions: the scoring of the targets' tags as a plain function, and the
// answer windows with real widgets: synthesized drops, OK, the read-only modes, and what the
// Task button opens (or why not).

#include "ErrorReportBox.h"
#include "FakeMessageBoxes.h"
#include "InteractiveFixtures.h"
#include "NextModal.h"
#include "Widgets.h"

#include "interactive/DndSourceLabel.h"
#include "interactive/GraphicalDndWindow.h"
#include "interactive/ShowTask.h"
#include "interactive/TextDndWindow.h"
#include "interactive/logic/DndAnswer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QLabel *target(QWidget *window, int j)
{
    return element<QLabel>(window, u"lbDes"_s, j);
}

// Drops item i on target j as a drag from the item's label would.
bool drop(QWidget *window, int i, int j)
{
    QLabel *on = target(window, j);
    const std::unique_ptr<QMimeData> data(
        element<DndSourceLabel>(window, u"lbSrc"_s, i)->createMimeData());
    const QPoint centre = on->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(on, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent dropped(QPointF(centre), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(on, &dropped);
    return dropped.isAccepted();
}

QColor background(const QLabel *label)
{
    return label->autoFillBackground() ? label->palette().color(QPalette::Window)
                                       : QColor(Qt::transparent);
}

} // namespace

class TestDnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void score_data();
    void score();
    void itemsInShuffledOrderKeepTheirNumbers();
    void onlyItemsDropAndOnlyOkCloses();
    void keyboardStoresWhatTheMouseStores_data();
    void keyboardStoresWhatTheMouseStores();
    void readOnly_data();
    void readOnly();
    void taskRoutes_data();
    void taskRoutes();
    void answeredQuestionAsksFirst();
    void extremeLayoutsStayOnScreenAndScroll_data();
    void extremeLayoutsStayOnScreenAndScroll();

private:
    std::unique_ptr<QDialog> openWindow(int q, bool answerable);

    QTemporaryDir m_folder;
    QuestionBank m_bank;
    TestState m_state;
    std::unique_ptr<FakeMessageBoxes> m_boxes;
    QString m_opened;
};

void TestDnd::initTestCase()
{
    QVERIFY(m_folder.isValid());
    QImage picture(400, 240, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QVERIFY(picture.save(m_folder.filePath(u"picture.png"_s)));
    QFile notAPicture(m_folder.filePath(u"broken.png"_s));
    QVERIFY(notAPicture.open(QIODevice::WriteOnly));
    notAPicture.write("not a picture");
}

void TestDnd::init()
{
    m_bank = interactiveBank();
    m_state = runningTest(m_bank, graphicalQ);
    m_boxes.reset(); // the old fake puts back what it replaced first
    m_boxes = std::make_unique<FakeMessageBoxes>();
    m_opened.clear();
}

std::unique_ptr<QDialog> TestDnd::openWindow(int q, bool answerable)
{
    std::unique_ptr<QDialog> window;
    if (q == graphicalQ)
        window = std::make_unique<GraphicalDndWindow>(m_bank, m_state, q, answerable,
                                                      QPixmap(m_folder.filePath(u"picture.png"_s)));
    else
        window = std::make_unique<TextDndWindow>(m_bank, m_state, q, answerable);
    window->show();
    return window;
}

void TestDnd::score_data()
{
    // The graphical question is keyed 2, 0, 1; the text one 3, 1, 0. Tags by target.
    QTest::addColumn<int>("q");
    QTest::addColumn<QString>("tags");
    QTest::addColumn<int>("expected");
    QTest::newRow("all right") << int(graphicalQ) << "2 0 1" << 1;
    QTest::newRow("one wrong") << int(graphicalQ) << "2 0 3" << -1;
    QTest::newRow("keyed target left empty") << int(graphicalQ) << "2 0 0" << -1;
    QTest::newRow("item on the empty-key target") << int(graphicalQ) << "2 2 1" << -1;
    QTest::newRow("tag that is no number reads as empty") << int(textQ) << "3 1 x" << 1;
}

void TestDnd::score()
{
    QFETCH(int, q);
    QFETCH(QString, tags);
    QFETCH(int, expected);
    OneBasedArray<QString> targetTags;
    for (const QString &tag : tags.split(u' '))
        targetTags.append(tag);
    QCOMPARE(scoreDnDTargets(m_bank, runningTest(m_bank, q), q, targetTags), expected);
}

void TestDnd::itemsInShuffledOrderKeepTheirNumbers()
{
    m_state.optRandomAnswers = true;
    const int order[] = {3, 1, 4, 2};
    for (int p = 1; p <= 4; ++p)
        m_state.ansOrder[textQ][p] = order[p - 1];
    QStringList items;
    for (const DndItem &item : dndItems(m_bank, m_state, textQ))
        items.append(item.text + u' ' + QString::number(item.number));
    QCOMPARE(items, (QStringList{u"Blue 3"_s, u"Red 1"_s, u"Black 4"_s, u"Green 2"_s}));
}

void TestDnd::onlyItemsDropAndOnlyOkCloses()
{
    const std::unique_ptr<QDialog> window = openWindow(graphicalQ, true);
    QMimeData text;
    text.setText(u"Alpha"_s);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target(window.get(), 2), &enter);
    QVERIFY(!enter.isAccepted());
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QVERIFY(window->isVisible());
}

void TestDnd::keyboardStoresWhatTheMouseStores_data()
{
    // Steps: "i>j" puts item i on target j, "-j" empties target j (keyboard only).
    QTest::addColumn<int>("q");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("answer");
    QTest::newRow("graphical, refilled")
        << int(graphicalQ) << QStringList{u"1>1"_s, u"2>1"_s, u"1>3"_s} << 1;
    QTest::newRow("graphical, keyed target emptied")
        << int(graphicalQ) << QStringList{u"2>1"_s, u"1>3"_s, u"-3"_s} << -1;
    QTest::newRow("text, distractor filled")
        << int(textQ) << QStringList{u"3>1"_s, u"1>2"_s, u"4>3"_s} << -1;
    QTest::newRow("text, distractor emptied")
        << int(textQ) << QStringList{u"3>1"_s, u"4>3"_s, u"1>2"_s, u"-3"_s} << 1;
}

void TestDnd::keyboardStoresWhatTheMouseStores()
{
    QFETCH(int, q);
    QFETCH(QStringList, steps);
    QFETCH(int, answer);
    const std::unique_ptr<QDialog> byKeys = openWindow(q, true);
    const std::unique_ptr<QDialog> byMouse = openWindow(q, true);
    QWidget *keys = byKeys.get();
    for (const QString &step : steps) {
        // From the keyboard: Space picks the item up, Return places it, Delete empties.
        const int j = qAbs(step.section(u'>', -1).toInt());
        QWidget *on = target(keys, j);
        if (step.startsWith(u'-')) {
            on->setFocus();
            QTest::keyClick(on, Qt::Key_Delete);
            continue;
        }
        const int i = step.section(u'>', 0, 0).toInt();
        QWidget *item = element<QWidget>(keys, u"lbSrc"_s, i);
        item->setFocus();
        QTest::keyClick(item, Qt::Key_Space);
        on->setFocus();
        QTest::keyClick(on, Qt::Key_Return);
        QVERIFY(drop(byMouse.get(), i, j));
        QCOMPARE(target(keys, j)->text(), target(byMouse.get(), j)->text());
        QCOMPARE(background(target(keys, j)), background(target(byMouse.get(), j)));
    }
    // Items, then targets, then OK in the focus chain.
    QWidget *focus = element<QWidget>(keys, u"lbSrc"_s, 1);
    QStringList chain;
    for (int step = 0; step < 8; ++step, focus = focus->nextInFocusChain()) {
        while (!(focus->focusPolicy() & Qt::TabFocus))
            focus = focus->nextInFocusChain();
        chain.append(focus->objectName() + focus->property("index").toString());
    }
    const QStringList expected =
        q == graphicalQ ? QStringList{u"lbSrc1"_s, u"lbSrc2"_s, u"lbSrc3"_s, u"lbDes1"_s,
                                      u"lbDes2"_s, u"lbDes3"_s, u"cmOK"_s,   u"lbSrc1"_s}
                        : QStringList{u"lbSrc1"_s, u"lbSrc2"_s, u"lbSrc3"_s, u"lbSrc4"_s,
                                      u"lbDes1"_s, u"lbDes2"_s, u"lbDes3"_s, u"cmOK"_s};
    QCOMPARE(chain, expected);
    click(keys, u"cmOK"_s);
    QCOMPARE(m_state.answerRecs[q].answer, AnswerValue(answer));
    QVERIFY(!keys->isVisible());
    QCOMPARE(m_boxes->shown,
             (QList<MessageBoxRequest>{{u"Item 3 of 10"_s, u"Your answer has been recorded."_s,
                                        MessageIcon::Information, MessageButtons::Ok}}));
    if (!steps.join(u' ').contains(u'-')) {
        m_state.answerRecs[q].answer = 0;
        // The close button some window managers draw anyway stores what OK stores.
        QCloseEvent fromTitleBar;
        QApplication::sendEvent(byMouse->windowHandle(), &fromTitleBar);
        QTRY_COMPARE(m_state.answerRecs[q].answer, AnswerValue(answer));
        QVERIFY(!byMouse->isVisible());
    }
}

void TestDnd::readOnly_data()
{
    QTest::addColumn<int>("q");
    QTest::addColumn<bool>("showingAnswer");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("graded") << int(graphicalQ) << false << QStringList{u""_s, u""_s, u""_s};
    QTest::newRow("graphical answer")
        << int(graphicalQ) << true << QStringList{u"Bravo"_s, u""_s, u"Alpha"_s};
    QTest::newRow("text answer") << int(textQ) << true
                                 << QStringList{u"Blue"_s, u"Red"_s, u"PLACE\nHERE"_s};
}

void TestDnd::readOnly()
{
    QFETCH(int, q);
    QFETCH(bool, showingAnswer);
    QFETCH(QStringList, shown);
    // Either the test is graded, or the window shows the correct answer during the test.
    m_state.testActive = m_state.showingAnswer = showingAnswer;
    m_state.answerRecs[q].answer = -1;
    const std::unique_ptr<QDialog> window = openWindow(q, !showingAnswer);
    for (int i = 1; i <= 3; ++i)
        QVERIFY(!element<QLabel>(window.get(), u"lbSrc"_s, i)->isEnabled());
    for (int j = 1; j <= 3; ++j) {
        const bool placed = !shown[j - 1].isEmpty() && shown[j - 1] != u"PLACE\nHERE"_s;
        QCOMPARE(target(window.get(), j)->text(), shown[j - 1]);
        QCOMPARE(background(target(window.get(), j)) == QColor(Qt::yellow), placed);
        QCOMPARE(target(window.get(), j)->property("tag").toString(), u"0"_s);
    }
    click(window.get(), u"cmOK"_s);
    QCOMPARE(m_state.answerRecs[q].answer, AnswerValue(-1));
    QVERIFY(m_boxes->shown.isEmpty());
    QVERIFY(!window->isVisible());
}

void TestDnd::taskRoutes_data()
{
    QTest::addColumn<int>("q");
    QTest::addColumn<bool>("testActive");
    QTest::addColumn<QString>("diagramFile");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QList<MessageBoxRequest>>("boxes");
    const QString picture = u"picture.png"_s;
    const ErrorReport notFound{u"File not found"_s, 53, u"Procedure Name: ShowGDnD"_s};
    // The test window's tests open the text and simulation windows (the latter without its
    // picture) through the Task button.
    QTest::newRow("graphical") << int(graphicalQ) << true << picture << u"frGDnD"_s
                               << QList<MessageBoxRequest>{
                                      {u"Item 3 of 10"_s, u"Your answer has been recorded."_s,
                                       MessageIcon::Information, MessageButtons::Ok}};
    // A name outside the folder is refused as missing by the unpacker's rule, tested there.
    QTest::newRow("graphical, picture missing") << int(graphicalQ) << true << u"absent.png"_s
                                                << QString() << QList{errorReportBox(notFound)};
    QTest::newRow("graphical, not a picture")
        << int(graphicalQ) << true << u"broken.png"_s << QString()
        << QList{errorReportBox({u"Invalid picture"_s, 481, notFound.procedureLine})};
    QTest::newRow("single answer")
        << int(singleQ) << true << picture << QString() << QList<MessageBoxRequest>();
    // After grading a simulation cannot be worked through again.
    QTest::newRow("graded simulation")
        << int(simulationQ) << false << picture << QString() << QList<MessageBoxRequest>();
}

void TestDnd::taskRoutes()
{
    QFETCH(int, q);
    QFETCH(bool, testActive);
    QFETCH(QString, diagramFile);
    QFETCH(QString, window);
    QFETCH(QList<MessageBoxRequest>, boxes);
    m_state.curQ = q;
    m_state.testActive = testActive;
    m_bank.questions[q].diagramFile = diagramFile;
    onNextModal(this, m_opened, [](QWidget *opened) { click(opened, u"cmOK"_s); });
    ShowTask(m_bank, m_state, m_folder.path(), nullptr);
    QCoreApplication::processEvents();
    QCOMPARE(m_opened, window);
    QCOMPARE(m_boxes->shown, boxes);
    if (!window.isEmpty())
        QCOMPARE(m_state.answerRecs[q].answer, AnswerValue(-1));
}

void TestDnd::answeredQuestionAsksFirst()
{
    m_state.curQ = textQ;
    m_state.answerRecs[textQ].answer = 1;
    m_boxes->answerNext(MessageButton::Cancel);
    onNextModal(this, m_opened, [](QWidget *opened) { click(opened, u"cmOK"_s); });
    ShowTask(m_bank, m_state, m_folder.path(), nullptr);
    QCoreApplication::processEvents();
    QVERIFY(m_opened.isEmpty());
    QCOMPARE(m_state.answerRecs[textQ].answer, AnswerValue(1));
    QCOMPARE(m_boxes->shown,
             (QList<MessageBoxRequest>{{u"Attention!"_s,
                                        u"You have answered this question.\r\nClick OK to redo it "
                                        u"again and reset your answer."_s,
                                        MessageIcon::Information, MessageButtons::OkCancel}}));

    // OK opens the window again with empty targets; its OK records the new result.
    m_boxes->answerNext(MessageButton::Ok);
    onNextModal(this, m_opened, [](QWidget *opened) {
        QCOMPARE(target(opened, 1)->property("tag").toString(), u"0"_s);
        click(opened, u"cmOK"_s);
    });
    ShowTask(m_bank, m_state, m_folder.path(), nullptr);
    QCOMPARE(m_opened, u"frTDnD"_s);
    QCOMPARE(m_state.answerRecs[textQ].answer, AnswerValue(-1));
}

void TestDnd::extremeLayoutsStayOnScreenAndScroll_data()
{
    QTest::addColumn<int>("q");
    QTest::newRow("text, 120 targets") << int(textQ);
    QTest::newRow("graphical, a target at the largest offset") << int(graphicalQ);
}

// A module may place targets anywhere and ask for very many: the window stays within the
// screen, and the last target can still be scrolled to.
void TestDnd::extremeLayoutsStayOnScreenAndScroll()
{
    QFETCH(int, q);
    if (q == textQ) {
        for (quint8 j = 4; j <= 120; ++j)
            m_bank.dndRows.append({textQ, j, 0, u"Row"_s, 0, 0, 0, 0});
        m_bank.questions[textQ].answerKey = 120;
    } else {
        DndRow &last = m_bank.dndRows[3];
        last.targetLeft = last.targetTop = 32767;
    }
    m_state = runningTest(m_bank, q);
    const std::unique_ptr<QDialog> window = openWindow(q, true);
    const QRect screen = window->screen()->availableGeometry();
    QVERIFY(window->width() <= screen.width());
    QVERIFY(window->height() <= screen.height());
    auto *area = window->findChild<QScrollArea *>(u"scrolledArea"_s);
    QVERIFY(area);
    // The answer still starts at the first item.
    QCOMPARE(window->focusWidget(), element<QWidget>(window.get(), u"lbSrc"_s, 1));
    QLabel *far = target(window.get(), m_bank.questions[q].answerKey);
    area->ensureWidgetVisible(far);
    QVERIFY(area->viewport()->rect().contains(
        QRect(far->mapTo(area->viewport(), QPoint(0, 0)), QSize(1, 1))));
}

QTEST_MAIN(TestDnd)
#include "tst_dnd.moc"

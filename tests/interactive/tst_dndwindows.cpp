// The drag-and-drop answer windows with real widgets: synthesized drops, OK, the read-only
// modes, pictures that cannot be read, and the Task button's routing.

#include "FakeMessageBoxes.h"
#include "InteractiveFixtures.h"
#include "NextModal.h"
#include "Widgets.h"

#include "common/ErrorReport.h"
#include "interactive/DndSourceLabel.h"
#include "interactive/GraphicalDndWindow.h"
#include "interactive/ShowTask.h"
#include "interactive/TextDndWindow.h"

#include <QApplication>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QPushButton>
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

void clickOk(QWidget *window)
{
    QTest::mouseClick(window->findChild<QPushButton *>(u"cmOK"_s), Qt::LeftButton);
}

} // namespace

class TestDndWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void dropReplacesAndRepeats();
    void okRecords_data();
    void okRecords();
    void readOnly_data();
    void readOnly();
    void showsTheCorrectAnswer_data();
    void showsTheCorrectAnswer();
    void unreadablePicture_data();
    void unreadablePicture();
    void taskRoutes_data();
    void taskRoutes();
    void answeredQuestionAsksFirst();

private:
    std::unique_ptr<QDialog> openWindow(int q, bool answerable);

    QTemporaryDir m_folder;
    QuestionBank m_bank;
    TestState m_state;
    std::unique_ptr<FakeMessageBoxes> m_boxes;
    QString m_opened;
};

void TestDndWindows::initTestCase()
{
    QVERIFY(m_folder.isValid());
    QImage picture(400, 240, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QVERIFY(picture.save(m_folder.filePath(u"picture.png"_s)));
    QFile notAPicture(m_folder.filePath(u"broken.png"_s));
    QVERIFY(notAPicture.open(QIODevice::WriteOnly));
    notAPicture.write("not a picture");
}

void TestDndWindows::init()
{
    m_bank = interactiveBank();
    m_state = runningTest(m_bank, graphicalQ);
    m_boxes.reset(); // the old fake puts back what it replaced first
    m_boxes = std::make_unique<FakeMessageBoxes>();
    m_opened.clear();
}

std::unique_ptr<QDialog> TestDndWindows::openWindow(int q, bool answerable)
{
    std::unique_ptr<QDialog> window;
    if (q == graphicalQ)
        window = std::make_unique<GraphicalDndWindow>(
            m_bank, m_state, q, answerable, QPixmap(m_folder.filePath(u"picture.png"_s)));
    else
        window = std::make_unique<TextDndWindow>(m_bank, m_state, q, answerable);
    window->show();
    return window;
}

void TestDndWindows::dropReplacesAndRepeats()
{
    const std::unique_ptr<QDialog> window = openWindow(graphicalQ, true);
    QVERIFY(drop(window.get(), 1, 1));
    QVERIFY(drop(window.get(), 2, 1));
    QVERIFY(drop(window.get(), 2, 3));
    // The last drop counts; an item can go on several targets and stays in its column.
    for (int j : {1, 3}) {
        QCOMPARE(target(window.get(), j)->text(), u"Bravo"_s);
        QCOMPARE(target(window.get(), j)->property("tag").toString(), u"2"_s);
        QCOMPARE(background(target(window.get(), j)), QColor(Qt::yellow));
    }
    QCOMPARE(element<QLabel>(window.get(), u"lbSrc"_s, 2)->text(), u"Bravo"_s);

    // Drops of anything but an item are refused.
    QMimeData text;
    text.setText(u"Alpha"_s);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target(window.get(), 2), &enter);
    QVERIFY(!enter.isAccepted());
    // Only OK closes the window.
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QVERIFY(window->isVisible());
}

void TestDndWindows::okRecords_data()
{
    // Pairs of (item, target) dropped in order.
    QTest::addColumn<int>("q");
    QTest::addColumn<QList<QPoint>>("drops");
    QTest::addColumn<int>("answer");
    QTest::newRow("all right") << int(graphicalQ) << QList<QPoint>{{2, 1}, {1, 3}} << 1;
    QTest::newRow("one wrong") << int(graphicalQ) << QList<QPoint>{{2, 1}, {3, 3}} << -1;
    QTest::newRow("nothing dropped") << int(graphicalQ) << QList<QPoint>{} << -1;
    QTest::newRow("text right") << int(textQ) << QList<QPoint>{{3, 1}, {1, 2}} << 1;
}

void TestDndWindows::okRecords()
{
    QFETCH(int, q);
    QFETCH(QList<QPoint>, drops);
    QFETCH(int, answer);
    const std::unique_ptr<QDialog> window = openWindow(q, true);
    for (const QPoint &pair : drops)
        QVERIFY(drop(window.get(), pair.x(), pair.y()));
    clickOk(window.get());
    QCOMPARE(m_state.answerRecs[q].answer, AnswerValue(answer));
    QVERIFY(!window->isVisible());
    QCOMPARE(m_boxes->shown,
             (QList<MessageBoxRequest>{{u"Item 3 of 10"_s, u"Your answer has been recorded."_s,
                                        MessageIcon::Information, MessageButtons::Ok}}));
}

void TestDndWindows::readOnly_data()
{
    QTest::addColumn<bool>("answerable");
    QTest::addColumn<bool>("testActive");
    QTest::newRow("not answerable") << false << true;
    QTest::newRow("test graded") << true << false;
}

void TestDndWindows::readOnly()
{
    QFETCH(bool, answerable);
    QFETCH(bool, testActive);
    m_state.testActive = testActive;
    m_state.answerRecs[graphicalQ].answer = -1;
    const std::unique_ptr<QDialog> window = openWindow(graphicalQ, answerable);
    for (int i = 1; i <= 3; ++i)
        QVERIFY(!element<QLabel>(window.get(), u"lbSrc"_s, i)->isEnabled());
    if (!testActive) {
        clickOk(window.get());
        QCOMPARE(m_state.answerRecs[graphicalQ].answer, AnswerValue(-1));
        QVERIFY(m_boxes->shown.isEmpty());
        QVERIFY(!window->isVisible());
    }
}

void TestDndWindows::showsTheCorrectAnswer_data()
{
    QTest::addColumn<int>("q");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("graphical") << int(graphicalQ) << QStringList{u"Bravo"_s, u""_s, u"Alpha"_s};
    QTest::newRow("text") << int(textQ) << QStringList{u"Blue"_s, u"Red"_s, u"PLACE\nHERE"_s};
}

void TestDndWindows::showsTheCorrectAnswer()
{
    QFETCH(int, q);
    QFETCH(QStringList, shown);
    m_state.showingAnswer = true;
    const std::unique_ptr<QDialog> window = openWindow(q, false);
    for (int j = 1; j <= 3; ++j) {
        const bool placed = !shown[j - 1].isEmpty() && shown[j - 1] != u"PLACE\nHERE"_s;
        QCOMPARE(target(window.get(), j)->text(), shown[j - 1]);
        QCOMPARE(background(target(window.get(), j)) == QColor(Qt::yellow), placed);
    }
    // The correct answer is no answer of the candidate's.
    QCOMPARE(target(window.get(), 1)->property("tag").toString(), u"0"_s);
    clickOk(window.get());
    QCOMPARE(m_state.answerRecs[q].answer, AnswerValue());
    QVERIFY(m_boxes->shown.isEmpty());
}

void TestDndWindows::unreadablePicture_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("description");
    QTest::addColumn<int>("number");
    QTest::newRow("missing") << u"absent.png"_s << u"File not found"_s << 53;
    QTest::newRow("outside the folder") << u"../picture.png"_s << u"File not found"_s << 53;
    QTest::newRow("in a subfolder") << u"sub/picture.png"_s << u"File not found"_s << 53;
    QTest::newRow("absolute path") << m_folder.filePath(u"picture.png"_s) << u"File not found"_s
                                   << 53;
    QTest::newRow("not a picture") << u"broken.png"_s << u"Invalid picture"_s << 481;
}

void TestDndWindows::unreadablePicture()
{
    QFETCH(QString, file);
    QFETCH(QString, description);
    QFETCH(int, number);
    m_bank.questions[graphicalQ].diagramFile = file;
    onNextModal(this, m_opened, [](QWidget *window) { window->close(); });
    ShowGDnD(m_bank, m_state, m_folder.path(), graphicalQ, true, nullptr);
    QCoreApplication::processEvents();
    QVERIFY(m_opened.isEmpty());
    const ErrorReport report{description, number, u"Procedure Name: ShowGDnD"_s};
    QCOMPARE(m_boxes->shown, (QList<MessageBoxRequest>{{errorReportTitle, report.text(),
                                                        MessageIcon::Critical, MessageButtons::Ok}}));
}

void TestDndWindows::taskRoutes_data()
{
    QTest::addColumn<int>("q");
    QTest::addColumn<bool>("testActive");
    QTest::addColumn<QString>("window");
    QTest::newRow("text") << int(textQ) << true << u"frTDnD"_s;
    QTest::newRow("graphical") << int(graphicalQ) << true << u"frGDnD"_s;
    QTest::newRow("simulation") << int(simulationQ) << true << u"frSim"_s;
    QTest::newRow("single answer") << int(singleQ) << true << QString();
    // After grading a simulation cannot be worked through again.
    QTest::newRow("graded simulation") << int(simulationQ) << false << QString();
}

void TestDndWindows::taskRoutes()
{
    QFETCH(int, q);
    QFETCH(bool, testActive);
    QFETCH(QString, window);
    m_state.curQ = q;
    m_state.testActive = testActive;
    onNextModal(this, m_opened, [](QWidget *opened) {
        for (QPushButton *button : opened->findChildren<QPushButton *>()) {
            if (button->objectName() == u"cmOK"_s || button->objectName() == u"cmClose"_s)
                button->click();
        }
    });
    ShowTask(m_bank, m_state, m_folder.path(), nullptr);
    QCoreApplication::processEvents();
    QCOMPARE(m_opened, window);
    if (!window.isEmpty())
        QCOMPARE(m_state.answerRecs[q].answer, AnswerValue(-1));
}

void TestDndWindows::answeredQuestionAsksFirst()
{
    m_state.curQ = textQ;
    m_state.answerRecs[textQ].answer = 1;
    m_boxes->answerNext(MessageButton::Cancel);
    onNextModal(this, m_opened, [](QWidget *opened) { clickOk(opened); });
    ShowTask(m_bank, m_state, m_folder.path(), nullptr);
    QCoreApplication::processEvents();
    QVERIFY(m_opened.isEmpty());
    QCOMPARE(m_state.answerRecs[textQ].answer, AnswerValue(1));
    QCOMPARE(m_boxes->shown, (QList<MessageBoxRequest>{
                                 {u"Attention!"_s,
                                  u"You have answered this question.\r\nClick OK to redo it "
                                  u"again and reset your answer."_s,
                                  MessageIcon::Information, MessageButtons::OkCancel}}));

    // OK opens the window again with empty targets; its OK records the new result.
    m_boxes->answerNext(MessageButton::Ok);
    onNextModal(this, m_opened, [](QWidget *opened) {
        QCOMPARE(target(opened, 1)->property("tag").toString(), u"0"_s);
        clickOk(opened);
    });
    ShowTask(m_bank, m_state, m_folder.path(), nullptr);
    QCOMPARE(m_opened, u"frTDnD"_s);
    QCOMPARE(m_state.answerRecs[textQ].answer, AnswerValue(-1));
}

QTEST_MAIN(TestDndWindows)
#include "tst_dndwindows.moc"

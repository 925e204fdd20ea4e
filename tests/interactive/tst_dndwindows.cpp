// The drag-and-drop answer windows with real widgets: building, synthesized drops, OK, the
// read-only modes, pictures that cannot be read, and the Task button's routing.

#include "FakeMessageBoxes.h"
#include "InteractiveFixtures.h"
#include "NextModal.h"

#include "interactive/DndSourceLabel.h"
#include "interactive/GraphicalDndWindow.h"
#include "interactive/ShowTask.h"
#include "interactive/TextDndWindow.h"
#include "moduledb/QuestionBank.h"

#include <QApplication>
#include <QDropEvent>
#include <QFrame>
#include <QImage>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

template <typename Control> Control *element(QWidget *window, const QString &name, int index)
{
    for (Control *control : window->findChildren<Control *>(name)) {
        if (control->property("index").toInt() == index)
            return control;
    }
    return nullptr;
}

QLabel *target(QWidget *window, int j)
{
    return element<QLabel>(window, u"lbDes"_s, j);
}

DndSourceLabel *item(QWidget *window, int i)
{
    return element<DndSourceLabel>(window, u"lbSrc"_s, i);
}

// Drops item i on target j as a drag from the item's label would.
bool drop(QWidget *window, int i, int j)
{
    QLabel *on = target(window, j);
    const std::unique_ptr<QMimeData> data(item(window, i)->createMimeData());
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

const QString recorded = u"Your answer has been recorded."_s;

} // namespace

class TestDndWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void graphicalLayout();
    void dropReplacesAndRepeats();
    void okRecords_data();
    void okRecords();
    void readOnly_data();
    void readOnly();
    void graphicalShowsTheCorrectAnswer();
    void unreadablePicture_data();
    void unreadablePicture();
    void textLayout();
    void longDescriptionPushesTheNextRow();
    void textShowsTheCorrectAnswer();
    void taskRoutes_data();
    void taskRoutes();
    void answeredQuestionAsksFirst();
    void sampleGraphicalQuestion();

private:
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

void TestDndWindows::graphicalLayout()
{
    const QPixmap picture(m_folder.filePath(u"picture.png"_s));
    GraphicalDndWindow window(m_bank, m_state, graphicalQ, true, picture);
    QCOMPARE(window.objectName(), u"frGDnD"_s);
    QCOMPARE(window.windowTitle(), u"Item 3 of 10"_s);
    QVERIFY(!(window.windowFlags() & Qt::WindowCloseButtonHint));

    QCOMPARE(item(&window, 3)->text(), u"Charlie"_s);
    // Items take the first target's size, 120 twips apart, the first at 345 in the frame.
    QCOMPARE(item(&window, 1)->geometry(), QRect(8, 23, 113, 31));
    QCOMPARE(item(&window, 2)->y(), 23 + 31 + 8);

    const QLabel *imDiagram = window.findChild<QLabel *>(u"imDiagram"_s);
    QCOMPARE(imDiagram->size(), QSize(400, 240));
    QCOMPARE(target(&window, 3)->geometry(),
             QRect(imDiagram->pos() + QPoint(20, 140), QSize(113, 31)));
    QCOMPARE(target(&window, 3)->property("tag").toString(), u"0"_s);
    QCOMPARE(window.width(), imDiagram->geometry().right() + 1 + 16);

    // Only OK closes the window.
    window.show();
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(window.isVisible());
}

void TestDndWindows::dropReplacesAndRepeats()
{
    const QPixmap picture(m_folder.filePath(u"picture.png"_s));
    GraphicalDndWindow window(m_bank, m_state, graphicalQ, true, picture);
    QVERIFY(drop(&window, 1, 1));
    QVERIFY(drop(&window, 2, 1));
    QCOMPARE(target(&window, 1)->text(), u"Bravo"_s);
    QCOMPARE(target(&window, 1)->property("tag").toString(), u"2"_s);
    QCOMPARE(background(target(&window, 1)), QColor(Qt::yellow));
    QVERIFY(drop(&window, 2, 3));
    QCOMPARE(target(&window, 3)->text(), u"Bravo"_s);
    QCOMPARE(target(&window, 1)->text(), u"Bravo"_s);
    // The item stays in its column.
    QCOMPARE(item(&window, 2)->text(), u"Bravo"_s);

    // Drops of anything but an item are refused.
    QMimeData text;
    text.setText(u"Alpha"_s);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target(&window, 2), &enter);
    QVERIFY(!enter.isAccepted());
}

void TestDndWindows::okRecords_data()
{
    // Targets keyed 2, 0, 1: pairs of (item, target) dropped in order.
    QTest::addColumn<QList<QPoint>>("drops");
    QTest::addColumn<int>("answer");
    QTest::newRow("all right") << QList<QPoint>{{2, 1}, {1, 3}} << 1;
    QTest::newRow("one wrong") << QList<QPoint>{{2, 1}, {3, 3}} << -1;
    QTest::newRow("nothing dropped") << QList<QPoint>{} << -1;
}

void TestDndWindows::okRecords()
{
    QFETCH(QList<QPoint>, drops);
    QFETCH(int, answer);
    const QPixmap picture(m_folder.filePath(u"picture.png"_s));
    GraphicalDndWindow window(m_bank, m_state, graphicalQ, true, picture);
    window.show();
    for (const QPoint &pair : drops)
        QVERIFY(drop(&window, pair.x(), pair.y()));
    clickOk(&window);
    QCOMPARE(m_state.answerRecs[graphicalQ].answer, AnswerValue(answer));
    QVERIFY(!window.isVisible());
    QCOMPARE(m_boxes->shown.size(), 1);
    QCOMPARE(m_boxes->shown[0].title, u"Item 3 of 10"_s);
    QCOMPARE(m_boxes->shown[0].text, recorded);
    QCOMPARE(m_boxes->shown[0].icon, MessageIcon::Information);
    QCOMPARE(m_boxes->shown[0].buttons, MessageButtons::Ok);
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
    const QPixmap picture(m_folder.filePath(u"picture.png"_s));
    GraphicalDndWindow window(m_bank, m_state, graphicalQ, answerable, picture);
    window.show();
    for (int i = 1; i <= 3; ++i)
        QVERIFY(!item(&window, i)->isEnabled());
    if (!testActive) {
        clickOk(&window);
        QCOMPARE(m_state.answerRecs[graphicalQ].answer, AnswerValue(-1));
        QVERIFY(m_boxes->shown.isEmpty());
        QVERIFY(!window.isVisible());
    }
}

void TestDndWindows::graphicalShowsTheCorrectAnswer()
{
    m_state.showingAnswer = true;
    const QPixmap picture(m_folder.filePath(u"picture.png"_s));
    GraphicalDndWindow window(m_bank, m_state, graphicalQ, false, picture);
    window.show();
    QCOMPARE(target(&window, 1)->text(), u"Bravo"_s);
    QCOMPARE(background(target(&window, 1)), QColor(Qt::yellow));
    QVERIFY(target(&window, 2)->text().isEmpty());
    QCOMPARE(background(target(&window, 2)), QColor(Qt::transparent));
    QCOMPARE(target(&window, 3)->text(), u"Alpha"_s);
    QCOMPARE(target(&window, 3)->property("tag").toString(), u"0"_s);
    clickOk(&window);
    QVERIFY(!window.isVisible());
    QCOMPARE(m_state.answerRecs[graphicalQ].answer, AnswerValue());
    QVERIFY(m_boxes->shown.isEmpty());
}

void TestDndWindows::unreadablePicture_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("description");
    QTest::newRow("missing") << u"absent.png"_s << u"File not found"_s;
    QTest::newRow("outside the folder") << u"../picture.png"_s << u"File not found"_s;
    QTest::newRow("in a subfolder") << u"sub/picture.png"_s << u"File not found"_s;
    QTest::newRow("absolute path") << m_folder.filePath(u"picture.png"_s) << u"File not found"_s;
    QTest::newRow("not a picture") << u"broken.png"_s << u"Invalid picture"_s;
}

void TestDndWindows::unreadablePicture()
{
    QFETCH(QString, file);
    QFETCH(QString, description);
    m_bank.questions[graphicalQ].diagramFile = file;
    onNextModal(this, m_opened, [](QWidget *window) { window->close(); });
    ShowGDnD(m_bank, m_state, m_folder.path(), graphicalQ, true, nullptr);
    QCoreApplication::processEvents();
    QVERIFY(m_opened.isEmpty());
    QCOMPARE(m_boxes->shown.size(), 1);
    QCOMPARE(m_boxes->shown[0].icon, MessageIcon::Critical);
    QVERIFY(m_boxes->shown[0].text.contains(u"\nError Description: "_s + description));
    QVERIFY(m_boxes->shown[0].text.endsWith(u"\nProcedure Name: ShowGDnD"_s));
}

void TestDndWindows::textLayout()
{
    TextDndWindow window(m_bank, m_state, textQ, true);
    QCOMPARE(window.objectName(), u"frTDnD"_s);
    QCOMPARE(window.windowTitle(), u"Item 3 of 10"_s);
    QCOMPARE(window.width(), 633);

    // Items and rows start level at 825 twips, items every 585.
    QCOMPARE(item(&window, 1)->geometry(), QRect(8, 55, 145, 31));
    QCOMPARE(item(&window, 4)->y(), 55 + 3 * 39);
    QCOMPARE(target(&window, 1)->geometry(), QRect(8, 55, 145, 31));
    QCOMPARE(target(&window, 1)->text(), u"PLACE\nHERE"_s);
    QCOMPARE(element<QLabel>(&window, u"lbDesc"_s, 2)->y(), target(&window, 2)->y());

    // Four items, three rows: both frames end 240 twips below the last item.
    const QFrame *faSrc = window.findChild<QFrame *>(u"faSrc"_s);
    const QFrame *faDes = window.findChild<QFrame *>(u"faDes"_s);
    QCOMPARE(faSrc->height(), item(&window, 4)->geometry().bottom() + 1 + 16);
    QCOMPARE(faDes->height(), faSrc->height());
    QCOMPARE(window.findChild<QPushButton *>(u"cmOK"_s)->geometry(),
             QRect(280, faSrc->height() + 16, 97, 25));
}

void TestDndWindows::longDescriptionPushesTheNextRow()
{
    m_bank.dndRows[5].text = u"A description long enough to wrap over several lines in its "
                             u"column, so that its label is taller than the drop target "
                             u"beside it and the next row has to move down."_s;
    TextDndWindow window(m_bank, m_state, textQ, true);
    const QLabel *description = element<QLabel>(&window, u"lbDesc"_s, 2);
    QVERIFY(description->height() > target(&window, 2)->height());
    QCOMPARE(target(&window, 3)->y(), description->geometry().bottom() + 1 + 8);
    // The frames still hold every row in full.
    const QFrame *faDes = window.findChild<QFrame *>(u"faDes"_s);
    QVERIFY(faDes->height() >= target(&window, 3)->geometry().bottom() + 1 + 16);
    QCOMPARE(window.findChild<QFrame *>(u"faSrc"_s)->height(), faDes->height());
}

void TestDndWindows::textShowsTheCorrectAnswer()
{
    m_state.showingAnswer = true;
    TextDndWindow window(m_bank, m_state, textQ, false);
    QCOMPARE(target(&window, 1)->text(), u"Blue"_s);
    QCOMPARE(background(target(&window, 1)), QColor(Qt::yellow));
    QCOMPARE(target(&window, 3)->text(), u"PLACE\nHERE"_s);
    QVERIFY(!item(&window, 1)->isEnabled());
}

void TestDndWindows::taskRoutes_data()
{
    QTest::addColumn<int>("q");
    QTest::addColumn<QString>("window");
    QTest::newRow("text") << int(textQ) << u"frTDnD"_s;
    QTest::newRow("graphical") << int(graphicalQ) << u"frGDnD"_s;
    QTest::newRow("simulation") << int(simulationQ) << u"frSim"_s;
    QTest::newRow("single answer") << int(singleQ) << QString();
}

void TestDndWindows::taskRoutes()
{
    QFETCH(int, q);
    QFETCH(QString, window);
    m_state.curQ = q;
    onNextModal(this, m_opened, [](QWidget *opened) {
        const auto buttons = opened->findChildren<QPushButton *>();
        for (QPushButton *button : buttons) {
            if (button->objectName() == u"cmOK"_s || button->objectName() == u"cmClose"_s)
                button->click();
        }
    });
    ShowTask(m_bank, m_state, m_folder.path(), nullptr);
    QCoreApplication::processEvents();
    QCOMPARE(m_opened, window);
    if (!window.isEmpty())
        QCOMPARE(m_state.answerRecs[q].answer, AnswerValue(-1));
    QCOMPARE(m_boxes->unexpected, 0);
}

void TestDndWindows::answeredQuestionAsksFirst()
{
    m_state.curQ = textQ;
    m_state.answerRecs[textQ].answer = 1;
    m_boxes->answerNext(MessageButton::Cancel);
    onNextModal(this, m_opened,
                [](QWidget *opened) { opened->findChild<QPushButton *>(u"cmOK"_s)->click(); });
    ShowTask(m_bank, m_state, m_folder.path(), nullptr);
    QCoreApplication::processEvents();
    QVERIFY(m_opened.isEmpty());
    QCOMPARE(m_state.answerRecs[textQ].answer, AnswerValue(1));
    QCOMPARE(m_boxes->shown.size(), 1);
    QCOMPARE(m_boxes->shown[0].title, u"Attention!"_s);
    QCOMPARE(m_boxes->shown[0].text, u"You have answered this question.\r\nClick OK to redo it "
                                     u"again and reset your answer."_s);
    QCOMPARE(m_boxes->shown[0].icon, MessageIcon::Information);
    QCOMPARE(m_boxes->shown[0].buttons, MessageButtons::OkCancel);

    // OK opens the window again with empty targets; its OK records the new result.
    m_boxes->answerNext(MessageButton::Ok);
    onNextModal(this, m_opened, [](QWidget *opened) {
        QCOMPARE(target(opened, 1)->property("tag").toString(), u"0"_s);
        opened->findChild<QPushButton *>(u"cmOK"_s)->click();
    });
    ShowTask(m_bank, m_state, m_folder.path(), nullptr);
    QCOMPARE(m_opened, u"frTDnD"_s);
    QCOMPARE(m_state.answerRecs[textQ].answer, AnswerValue(-1));
}

void TestDndWindows::sampleGraphicalQuestion()
{
    const QuestionBank bank = sampleModule();
    const int q = questionNumber(bank, u"LAB-0101"_s);
    QVERIFY(q > 0);
    QCOMPARE(int(bank.questions[q].questionType), int(GraphicalDragAndDrop));
    TestState state = runningTest(bank, q);
    onNextModal(this, m_opened, [&](QWidget *window) {
        const int targets = bank.questions[q].answerKey;
        for (int j = 1; j <= targets; ++j) {
            const int wanted = bank.dndRows[state.dndIndex[q].rowIndex + j - 1].correctSource;
            if (wanted != 0)
                QVERIFY(drop(window, wanted, j));
        }
        window->findChild<QPushButton *>(u"cmOK"_s)->click();
    });
    ShowTask(bank, state, sampleModuleFolder(), nullptr);
    QCOMPARE(m_opened, u"frGDnD"_s);
    QCOMPARE(state.answerRecs[q].answer, AnswerValue(1));
    QCOMPARE(m_boxes->shown.size(), 1);
    QCOMPARE(m_boxes->shown[0].text, recorded);
}

QTEST_MAIN(TestDndWindows)
#include "tst_dndwindows.moc"

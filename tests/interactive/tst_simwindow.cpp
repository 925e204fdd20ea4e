// The simulation window with real widgets: task labels, typing into the console, the
// Topology / Device switch, Close, and the Task button's rules for simulations.

#include "FakeMessageBoxes.h"
#include "InteractiveFixtures.h"
#include "NextModal.h"

#include "interactive/ShowTask.h"
#include "interactive/SimWindow.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QLabel *taskLabel(QWidget *window, int t)
{
    for (QLabel *label : window->findChildren<QLabel *>(u"lbTask"_s)) {
        if (label->property("index").toInt() == t)
            return label;
    }
    return nullptr;
}

template <typename Control> Control *control(QWidget *window, const QString &name)
{
    return window->findChild<Control *>(name);
}

void type(QWidget *window, const QString &line)
{
    auto *txInput = control<QLineEdit>(window, u"txInput"_s);
    QTest::keyClicks(txInput, line);
    QTest::keyClick(txInput, Qt::Key_Return);
}

QString transcript(QWidget *window)
{
    return control<QLabel>(window, u"lbOutput"_s)->text();
}

const QString incorrectLine = u"% Incorrect response. Please read the instruction carefully."_s;

} // namespace

class TestSimWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void opensAtTheOverview();
    void taskLabelOpensTheConsole();
    void typedCommands();
    void completedSimulationRecordsOne();
    void topologySwitch();
    void transcriptFollowsTheLastLine();
    void missingPictureStillOpens();
    void taskButtonAfterGrading();
    void answeredSimulationStartsAgain();
    void sampleSimulation();

private:
    void openWindow(int q = simulationQ);

    QTemporaryDir m_folder;
    QuestionBank m_bank;
    TestState m_state;
    std::unique_ptr<FakeMessageBoxes> m_boxes;
    std::unique_ptr<SimWindow> m_window;
    QString m_opened;
};

void TestSimWindow::initTestCase()
{
    QVERIFY(m_folder.isValid());
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    QVERIFY(picture.save(m_folder.filePath(u"picture.png"_s)));
}

void TestSimWindow::init()
{
    m_bank = interactiveBank();
    m_state = runningTest(m_bank, simulationQ);
    m_boxes.reset(); // the old fake puts back what it replaced first
    m_boxes = std::make_unique<FakeMessageBoxes>();
    m_opened.clear();
}

void TestSimWindow::cleanup()
{
    m_window.reset();
    QCOMPARE(m_boxes->unexpected, 0);
}

void TestSimWindow::openWindow(int q)
{
    const QPixmap picture(m_folder.filePath(u"picture.png"_s));
    m_window =
        std::make_unique<SimWindow>(m_bank, m_state, startSimSession(m_bank, m_state, q), picture);
    m_window->show();
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestSimWindow::opensAtTheOverview()
{
    openWindow();
    QWidget *w = m_window.get();
    QCOMPARE(w->objectName(), u"frSim"_s);
    QCOMPARE(w->windowTitle(), u"QuendraSim"_s);
    QVERIFY(!(w->windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(w->findChildren<QLabel *>(u"lbTask"_s).size(), 4);
    QCOMPARE(taskLabel(w, 2)->y() - taskLabel(w, 1)->y(), 16 + 1);
    QVERIFY(!taskLabel(w, 2)->isEnabled());
    QCOMPARE(taskLabel(w, 0)->palette().color(QPalette::Window), QColor(Qt::black));
    QCOMPARE(control<QPlainTextEdit>(w, u"txTask"_s)->toPlainText(),
             u"Name the switch.\n\nClick on Task #1 to begin."_s);
    QCOMPARE(control<QStatusBar>(w, u"stsCommand"_s)->currentMessage(),
             u"Please read the instruction carefully. Click on Task #1 to begin."_s);
    QVERIFY(!control<QTabWidget>(w, u"ssSim"_s)->isVisible());
    QVERIFY(control<QLabel>(w, u"imDiagram"_s)->isVisible());
    QVERIFY(!control<QPushButton>(w, u"cmAlt"_s)->isEnabled());
    QCOMPARE(control<QPushButton>(w, u"cmAlt"_s)->text(), u"&Topology"_s);

    QTest::keyClick(w, Qt::Key_Escape);
    QVERIFY(w->isVisible());
}

void TestSimWindow::taskLabelOpensTheConsole()
{
    openWindow();
    QWidget *w = m_window.get();
    // A disabled task label does nothing.
    QTest::mouseClick(taskLabel(w, 2), Qt::LeftButton);
    QVERIFY(!control<QTabWidget>(w, u"ssSim"_s)->isVisible());

    QTest::mouseClick(taskLabel(w, 1), Qt::LeftButton);
    QVERIFY(control<QTabWidget>(w, u"ssSim"_s)->isVisible());
    QVERIFY(!control<QLabel>(w, u"imDiagram"_s)->isVisible());
    QCOMPARE(control<QLabel>(w, u"lbPrompt"_s)->text(), u"R1>"_s);
    QCOMPARE(taskLabel(w, 1)->palette().color(QPalette::WindowText), QColor(Qt::white));
    QCOMPARE(control<QPushButton>(w, u"cmAlt"_s)->text(), u"&Topology"_s);
    QVERIFY(control<QLineEdit>(w, u"txInput"_s)->hasFocus());
    // The command line starts where the prompt ends.
    QCOMPARE(control<QLineEdit>(w, u"txInput"_s)->x(),
             control<QLabel>(w, u"lbPrompt"_s)->geometry().right() + 1);
}

void TestSimWindow::typedCommands()
{
    openWindow();
    QWidget *w = m_window.get();
    QTest::mouseClick(taskLabel(w, 1), Qt::LeftButton);
    type(w, u"  ENABLE   "_s);
    QCOMPARE(transcript(w), u"\nR1>ENABLE"_s);
    QCOMPARE(control<QLabel>(w, u"lbPrompt"_s)->text(), u"R1#"_s);
    QVERIFY(control<QLineEdit>(w, u"txInput"_s)->text().isEmpty());
    QVERIFY(!taskLabel(w, 1)->isEnabled());
    QVERIFY(taskLabel(w, 2)->isEnabled());

    type(w, u"configure  terminal"_s);
    QCOMPARE(transcript(w), u"\nR1>ENABLE\nR1#configure  terminal\n"_s + incorrectLine + u"\n"_s);
    QVERIFY(control<QLineEdit>(w, u"txInput"_s)->text().isEmpty());
    QVERIFY(taskLabel(w, 2)->isEnabled());
    QCOMPARE(control<QLabel>(w, u"lbPrompt"_s)->text(), u"R1#"_s);

    // A line of spaces only echoes the prompt and stays in the command line.
    type(w, u"   "_s);
    QVERIFY(transcript(w).endsWith(u"\nR1#"_s));
    QCOMPARE(control<QLineEdit>(w, u"txInput"_s)->text(), u"   "_s);
}

void TestSimWindow::completedSimulationRecordsOne()
{
    openWindow();
    QWidget *w = m_window.get();
    QTest::mouseClick(taskLabel(w, 1), Qt::LeftButton);
    type(w, u"enable"_s);
    type(w, u"configure terminal"_s);
    type(w, u"hostname Core1"_s);
    QVERIFY(transcript(w).endsWith(u"SW1(config)#hostname Core1\n\n% Task completed.\nClick on "
                                   u"the Close button to return to the main screen.\n"_s));
    QVERIFY(!control<QLineEdit>(w, u"txInput"_s)->isEnabled());
    QVERIFY(!taskLabel(w, 0)->isEnabled());
    QVERIFY(!taskLabel(w, 3)->isEnabled());
    QCOMPARE(control<QStatusBar>(w, u"stsCommand"_s)->currentMessage(),
             u"Task completed. Click on the Close button to return to the main screen."_s);

    QTest::mouseClick(control<QPushButton>(w, u"cmClose"_s), Qt::LeftButton);
    QCOMPARE(m_state.answerRecs[simulationQ].answer, AnswerValue(1));
    QVERIFY(!w->isVisible());
    QCOMPARE(m_boxes->shown.size(), 1);
    QCOMPARE(m_boxes->shown[0].title, u"QuendraSim"_s);
    QCOMPARE(m_boxes->shown[0].text, u"Your answer has been recorded."_s);
    QCOMPARE(m_boxes->shown[0].icon, MessageIcon::Information);
}

void TestSimWindow::topologySwitch()
{
    openWindow();
    QWidget *w = m_window.get();
    QTest::mouseClick(taskLabel(w, 1), Qt::LeftButton);
    auto *cmAlt = control<QPushButton>(w, u"cmAlt"_s);
    QTest::mouseClick(cmAlt, Qt::LeftButton);
    QCOMPARE(cmAlt->text(), u"De&vice"_s);
    QVERIFY(control<QLabel>(w, u"imDiagram"_s)->isVisible());
    QVERIFY(!control<QTabWidget>(w, u"ssSim"_s)->isVisible());
    QTest::mouseClick(cmAlt, Qt::LeftButton);
    QCOMPARE(cmAlt->text(), u"&Topology"_s);
    QVERIFY(control<QTabWidget>(w, u"ssSim"_s)->isVisible());
    // The picture sits centred in the console's place.
    const QRect console = control<QTabWidget>(w, u"ssSim"_s)->geometry();
    const QPoint offset =
        control<QLabel>(w, u"imDiagram"_s)->geometry().center() - console.center();
    QVERIFY2(qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1, "picture off centre");
}

void TestSimWindow::transcriptFollowsTheLastLine()
{
    m_bank.simRows[2].response = u"line 1\r\nline 2\r\nline 3\r\nline 4\r\nline 5\r\nline 6"_s;
    openWindow();
    QWidget *w = m_window.get();
    QTest::mouseClick(taskLabel(w, 1), Qt::LeftButton);
    for (int i = 0; i < 12; ++i)
        type(w, u"wrong"_s);
    type(w, u"enable"_s);
    type(w, u"configure terminal"_s);
    QApplication::processEvents();
    const QScrollBar *bar = control<QScrollArea>(w, u"svPort"_s)->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());
}

void TestSimWindow::missingPictureStillOpens()
{
    m_bank.questions[simulationQ].diagramFile = u"absent.png"_s;
    onNextModal(this, m_opened, [](QWidget *window) {
        QVERIFY(control<QLabel>(window, u"imDiagram"_s)->pixmap().isNull());
        control<QPushButton>(window, u"cmClose"_s)->click();
    });
    ShowTask(m_bank, m_state, m_folder.path(), nullptr);
    QCOMPARE(m_opened, u"frSim"_s);
    QCOMPARE(m_state.answerRecs[simulationQ].answer, AnswerValue(-1));
    QCOMPARE(m_boxes->shown.size(), 1);
    QCOMPARE(m_boxes->shown[0].title, u"QuendraSim"_s);
}

void TestSimWindow::taskButtonAfterGrading()
{
    m_state.testActive = false;
    m_state.answerRecs[simulationQ].answer = -1;
    onNextModal(this, m_opened, [](QWidget *window) { window->close(); });
    ShowTask(m_bank, m_state, m_folder.path(), nullptr);
    QCoreApplication::processEvents();
    QVERIFY(m_opened.isEmpty());
    QVERIFY(m_boxes->shown.isEmpty());
}

void TestSimWindow::answeredSimulationStartsAgain()
{
    // Redone after the question, the simulation starts again from the overview.
    m_state.answerRecs[simulationQ].answer = 1;
    m_boxes->answerNext(MessageButton::Ok);
    onNextModal(this, m_opened, [](QWidget *window) {
        QVERIFY(control<QLabel>(window, u"lbOutput"_s)->text().isEmpty());
        QVERIFY(!taskLabel(window, 2)->isEnabled());
        control<QPushButton>(window, u"cmClose"_s)->click();
    });
    ShowTask(m_bank, m_state, m_folder.path(), nullptr);
    QCOMPARE(m_boxes->shown[0].title, u"Attention!"_s);
    QCOMPARE(m_opened, u"frSim"_s);
    QCOMPARE(m_state.answerRecs[simulationQ].answer, AnswerValue(-1));
}

void TestSimWindow::sampleSimulation()
{
    m_bank = sampleModule();
    const int q = questionNumber(m_bank, u"LAB-0403"_s);
    QVERIFY(q > 0);
    m_state = runningTest(m_bank, q);
    onNextModal(this, m_opened, [this, q](QWidget *window) {
        const int first = m_state.simIndex[q].rowIndex;
        for (int t = 1; t <= m_bank.questions[q].choiceCount; ++t) {
            if (t == 1)
                QTest::mouseClick(taskLabel(window, 1), Qt::LeftButton);
            const SimRow &row = m_bank.simRows[first + t - 1];
            QCOMPARE(control<QLabel>(window, u"lbPrompt"_s)->text(),
                     row.hostName + m_bank.prompts[row.promptNo].promptText);
            type(window, row.expectedCommand.toUpper());
        }
        control<QPushButton>(window, u"cmClose"_s)->click();
    });
    ShowTask(m_bank, m_state, sampleModuleFolder(), nullptr);
    QCOMPARE(m_opened, u"frSim"_s);
    QCOMPARE(m_state.answerRecs[q].answer, AnswerValue(1));
}

QTEST_MAIN(TestSimWindow)
#include "tst_simwindow.moc"

// The simulation window with real widgets: task labels, typing into the console, the
// Topology / Device switch and Close.

#include "FakeMessageBoxes.h"
#include "InteractiveFixtures.h"
#include "NextModal.h"
#include "Widgets.h"

#include "interactive/ShowTask.h"
#include "interactive/SimWindow.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QLabel *taskLabel(QWidget *window, int t)
{
    return element<QLabel>(window, u"lbTask"_s, t);
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

} // namespace

class TestSimWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void taskLabelsAndTheTopologySwitch();
    void typedCommandsUntilCompleted();
    void missingPictureStillOpens();

private:
    void openWindow();

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

void TestSimWindow::openWindow()
{
    const QPixmap picture(m_folder.filePath(u"picture.png"_s));
    m_window = std::make_unique<SimWindow>(m_bank, m_state,
                                           startSimSession(m_bank, m_state, simulationQ), picture);
    m_window->show();
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestSimWindow::taskLabelsAndTheTopologySwitch()
{
    openWindow();
    QWidget *w = m_window.get();
    auto *ssSim = control<QTabWidget>(w, u"ssSim"_s);
    auto *imDiagram = control<QLabel>(w, u"imDiagram"_s);
    // Only Close closes the window.
    QTest::keyClick(w, Qt::Key_Escape);
    QVERIFY(w->isVisible());
    // A disabled task label does nothing.
    QTest::mouseClick(taskLabel(w, 2), Qt::LeftButton);
    QVERIFY(!ssSim->isVisible());

    QTest::mouseClick(taskLabel(w, 1), Qt::LeftButton);
    QVERIFY(ssSim->isVisible() && !imDiagram->isVisible());
    QCOMPARE(control<QLabel>(w, u"lbPrompt"_s)->text(), u"R1>"_s);
    QVERIFY(control<QLineEdit>(w, u"txInput"_s)->hasFocus());

    auto *cmAlt = control<QPushButton>(w, u"cmAlt"_s);
    QTest::mouseClick(cmAlt, Qt::LeftButton);
    QVERIFY(!ssSim->isVisible() && imDiagram->isVisible());
    QTest::mouseClick(cmAlt, Qt::LeftButton);
    QVERIFY(ssSim->isVisible() && !imDiagram->isVisible());
}

void TestSimWindow::typedCommandsUntilCompleted()
{
    openWindow();
    QWidget *w = m_window.get();
    auto *txInput = control<QLineEdit>(w, u"txInput"_s);
    QTest::mouseClick(taskLabel(w, 1), Qt::LeftButton);
    type(w, u"  ENABLE   "_s);
    QCOMPARE(transcript(w), u"\nR1>ENABLE"_s);
    QCOMPARE(control<QLabel>(w, u"lbPrompt"_s)->text(), u"R1#"_s);
    QVERIFY(txInput->text().isEmpty());
    QVERIFY(!taskLabel(w, 1)->isEnabled() && taskLabel(w, 2)->isEnabled());

    type(w, u"configure  terminal"_s);
    QCOMPARE(transcript(w), u"\nR1>ENABLE\nR1#configure  terminal\n% Incorrect response. Please "
                            u"read the instruction carefully.\n"_s);
    QCOMPARE(control<QLabel>(w, u"lbPrompt"_s)->text(), u"R1#"_s);
    // A line of spaces only echoes the prompt and stays in the command line.
    type(w, u"   "_s);
    QVERIFY(transcript(w).endsWith(u"\nR1#"_s));
    QCOMPARE(txInput->text(), u"   "_s);

    txInput->clear();
    type(w, u"configure terminal"_s);
    type(w, u"hostname Core1"_s);
    QVERIFY(!txInput->isEnabled() && !taskLabel(w, 0)->isEnabled());
    QTest::mouseClick(control<QPushButton>(w, u"cmClose"_s), Qt::LeftButton);
    QCOMPARE(m_state.answerRecs[simulationQ].answer, AnswerValue(1));
    QVERIFY(!w->isVisible());
    QCOMPARE(m_boxes->shown,
             (QList<MessageBoxRequest>{{u"QuendraSim"_s, u"Your answer has been recorded."_s,
                                        MessageIcon::Information, MessageButtons::Ok}}));
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
}

QTEST_MAIN(TestSimWindow)
#include "tst_simwindow.moc"

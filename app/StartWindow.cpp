#include "StartWindow.h"

#include "present/EnterKey.h"
#include "app/LogoLabel.h"
#include "common/MessageBoxes.h"
#include "common/Twips.h"
#include "engine/InitTest.h"
#include "engine/TestState.h"
#include "moduledb/QuestionBank.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int screenWidth = 9600;
constexpr int screenHeight = 6600;
constexpr int modeTop = 1560;
constexpr int modeHeight = 1080;
constexpr int modeGap = 120;

const QString studyText = QStringLiteral(
    "Click Study Mode to test your knowledge in a learning environment. A specified number of "
    "questions will be randomly generated from the question pool. This mode is not timed and "
    "you can review the correct answer and explanation of each question during the test.");
const QString examText = QStringLiteral(
    "Click Exam Mode to simulate a realistic certification exam environment. A specified number "
    "of questions will be automatically generated from the question pool. The exam is timed and "
    "you cannot review answers until the exam is finished. You cannot go back to the previous "
    "questions.");
const QString customText = QStringLiteral(
    "Click Custom Mode to fully customize your testing environment. This mode enables you to "
    "select the number of question and which objectives to be used. You also has the options to "
    "randomize questions and answers as well as setting the time limit for the test.");

} // namespace

StartWindow::StartWindow(const QuestionBank &bank, TestState &state, const QString &userName,
                         QWidget *parent)
    : QWidget(parent), m_bank(bank), m_state(state)
{
    setObjectName(QStringLiteral("frStart"));
    setFixedSize(twips(screenWidth), twips(screenHeight));
    setAutoFillBackground(true);
    const TestInfo &info = m_bank.testInfo;
    setWindowTitle(QStringLiteral("Exam # ") + info.examCode + QStringLiteral(", ") +
                   info.examTitle);

    LogoLabel::addFramed(this, 120, 120);
    m_heading = ShadowHeading::add(this, 1440, 120, screenWidth - 1680, 1200, 12);
    m_heading.setText(QStringLiteral("Welcome to Exam \n") + info.examTitle + QStringLiteral(" (") +
                      info.examCode + QStringLiteral(")\n") + userName);

    int top = modeTop;
    addMode(QStringLiteral("faStudy"), QStringLiteral("cmStudy"), QStringLiteral("&Study Mode"),
            QStringLiteral("Study Mode"), QStringLiteral("lbStudy"), studyText, top,
            &StartWindow::study);
    top += modeHeight + modeGap;
    addMode(QStringLiteral("faExam"), QStringLiteral("cmExam"), QStringLiteral("&Exam Mode"),
            QStringLiteral("Exam Mode"), QStringLiteral("lbExam"), examText, top,
            &StartWindow::exam);
    top += modeHeight + modeGap;
    addMode(QStringLiteral("faCustom"), QStringLiteral("cmCustom"), QStringLiteral("&Custom Mode"),
            QStringLiteral("Custom Mode"), QStringLiteral("lbCustom"), customText, top,
            &StartWindow::custom);
    top += modeHeight + modeGap;
    addMode(QStringLiteral("faExit"), QStringLiteral("cmExit"), QStringLiteral("E&xit"),
            QStringLiteral("Exit"), QStringLiteral("lbExit"), QStringLiteral("Exit Quendra"), top,
            &StartWindow::exit);
    // Alt+X is the menu's Exit shortcut too; the button leaves the key to the menu, which runs
    // the same command, so that the two do not cancel each other out.
    findChild<QPushButton *>(QStringLiteral("cmExit"))->setShortcut(QKeySequence());
    setFocusProxy(findChild<QPushButton *>(QStringLiteral("cmStudy")));
}

void StartWindow::addMode(const QString &frameName, const QString &buttonName,
                          const QString &caption, const QString &toolTip, const QString &labelName,
                          const QString &text, int top, void (StartWindow::*clicked)())
{
    auto *frame = new QFrame(this);
    frame->setObjectName(frameName);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setGeometry(twips(120), twips(top), twips(screenWidth - 240), twips(modeHeight));

    auto *button = new QPushButton(caption, frame);
    button->setObjectName(buttonName);
    button->setToolTip(toolTip);
    button->setGeometry(twips(180), twips((modeHeight - 450) / 2), twips(1800), twips(450));
    if (clicked)
        connect(button, &QPushButton::clicked, this, clicked);

    auto *label = new QLabel(frame);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setObjectName(labelName);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setGeometry(twips(2220), twips(60), twips(screenWidth - 240 - 2400),
                       twips(modeHeight - 120));
}

void StartWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    Q_EMIT activated();
}

void StartWindow::prepareTest(int mode)
{
    m_state.testMode = mode;
    if (!InitTest(mode, m_bank, m_state)) {
        showMessage(QStringLiteral("Sorry!"),
                    QStringLiteral("An error has occured in preparing the test module. Please "
                                   "retry again."),
                    MessageIcon::NoIcon, MessageButtons::Ok);
        return;
    }
    hide();
    Q_EMIT testPrepared();
}

void StartWindow::custom()
{
    hide();
    Q_EMIT customRequested();
}

void StartWindow::keyPressEvent(QKeyEvent *event)
{
    if (!pressOnEnter(this, event, nullptr))
        QWidget::keyPressEvent(event);
}

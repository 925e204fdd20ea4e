#include "ReadyWindow.h"

#include "present/EnterKey.h"
#include "app/LogoLabel.h"
#include "app/UserName.h"
#include "common/Twips.h"
#include "engine/RuntimeError.h"
#include "engine/TestState.h"
#include "moduledb/QuestionBank.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>

namespace {

constexpr int screenWidth = 9600;
constexpr int screenHeight = 6600;
constexpr int readyTop = 1560;
constexpr int readyHeight = 4200;
constexpr int paragraphGap = 240;

} // namespace

QString readyQuestionText(const QuestionBank &bank, const TestState &state)
{
    const TestInfo &info = bank.testInfo;
    return QStringLiteral("Your ") + QString::number(state.testLength) +
           QStringLiteral("-question set of Exam # ") + info.examCode + QStringLiteral(", ") +
           info.examTitle + QStringLiteral(" has been generated from the ") +
           QString::number(bank.bankQuestionCount) + QStringLiteral("-question pool") +
           QStringLiteral(" with ") + QString::number(state.objListCount) +
           QStringLiteral(" test objectives.");
}

QString readyModeText(const TestState &state)
{
    QString text = QStringLiteral("The test will be delivered in ");
    if (state.testModeName == QStringLiteral("study"))
        text += QStringLiteral("a study environment.");
    else if (state.testModeName == QStringLiteral("exam"))
        text += QStringLiteral("an exam environment.");
    else if (state.testModeName == QStringLiteral("custom"))
        text += QStringLiteral("a customized environment as specified by you.");
    if (state.optTimed)
        return text + QStringLiteral(" You have ") + state.testDuration +
               QStringLiteral(" minute(s) to complete this test.");
    return text + QStringLiteral(" This test is not time limited. You are allowed to complete "
                                 "it for as long as you like.");
}

ReadyWindow::ReadyWindow(const QuestionBank &bank, const TestState &state, const QString &userName,
                         QWidget *parent)
    : QWidget(parent), m_bank(bank), m_state(state), m_userName(userName)
{
    setObjectName(QStringLiteral("frReady"));
    setFixedSize(twips(screenWidth), twips(screenHeight));
    setAutoFillBackground(true);

    LogoLabel::addFramed(this, 120, 120);
    m_heading = ShadowHeading::add(this, 1440, 120, screenWidth - 1680, 1200, 14);

    m_faReady = new QFrame(this);
    m_faReady->setObjectName(QStringLiteral("faReady"));
    m_faReady->setFrameShape(QFrame::StyledPanel);
    m_faReady->setGeometry(twips(120), twips(readyTop), twips(screenWidth - 240),
                           twips(readyHeight));
    const int textWidth = screenWidth - 240 - 480;
    m_lbQuestion = new QLabel(m_faReady);
    m_lbQuestion->setTextFormat(Qt::PlainText);
    m_lbQuestion->setObjectName(QStringLiteral("lbQuestion"));
    m_lbMode = new QLabel(m_faReady);
    m_lbMode->setTextFormat(Qt::PlainText);
    m_lbMode->setObjectName(QStringLiteral("lbMode"));
    for (QLabel *paragraph : {m_lbQuestion, m_lbMode}) {
        paragraph->setWordWrap(true);
        paragraph->setGeometry(twips(240), twips(240), twips(textWidth), 0);
    }
    m_lbInfo = new QLabel(m_faReady);
    m_lbInfo->setTextFormat(Qt::PlainText);
    m_lbInfo->setText(QStringLiteral("Additional Information:"));
    m_lbInfo->setObjectName(QStringLiteral("lbInfo"));
    m_lbInfo->setGeometry(twips(240), 0, twips(textWidth), m_lbInfo->sizeHint().height());
    QFont bold = m_lbInfo->font();
    bold.setBold(true);
    m_lbInfo->setFont(bold);
    m_txInfo = new QTextEdit(m_faReady);
    m_txInfo->setObjectName(QStringLiteral("txInfo"));
    m_txInfo->setToolTip(QStringLiteral("Additional Info"));
    m_txInfo->setReadOnly(true);
    m_txInfo->setGeometry(twips(240), 0, twips(textWidth), 0);

    auto *faCommand = new QFrame(this);
    faCommand->setObjectName(QStringLiteral("faCommand"));
    faCommand->setGeometry(twips(120), twips(readyTop + readyHeight + 120),
                           twips(screenWidth - 240), twips(600));
    auto *cmStart = new QPushButton(QStringLiteral("&Start Test"), faCommand);
    cmStart->setObjectName(QStringLiteral("cmStart"));
    cmStart->setToolTip(QStringLiteral("Start Test"));
    auto *cmMain = new QPushButton(QStringLiteral("&Main Menu"), faCommand);
    cmMain->setObjectName(QStringLiteral("cmMain"));
    const int buttonWidth = 1800;
    const int buttonsLeft = (screenWidth - 240 - 2 * buttonWidth - 240) / 2;
    cmStart->setGeometry(twips(buttonsLeft), twips(60), twips(buttonWidth), twips(450));
    cmMain->setGeometry(twips(buttonsLeft + buttonWidth + 240), twips(60), twips(buttonWidth),
                        twips(450));
    cmStart->setDefault(true);
    // The screen's focus goes to Start Test, not to the read-only box above it.
    setFocusProxy(cmStart);
    connect(cmStart, &QPushButton::clicked, this, [this] {
        hide();
        Q_EMIT startRequested();
    });
    connect(cmMain, &QPushButton::clicked, this, [this] {
        hide();
        Q_EMIT mainMenuRequested();
    });
}

bool ReadyWindow::TestReady()
{
    return guarded(QStringLiteral("Procedure Name: TestReady"), false, [&] {
        const TestInfo &info = m_bank.testInfo;
        setWindowTitle(QStringLiteral("Exam # ") + info.examCode + QStringLiteral(", ") +
                       info.examTitle);
        m_lbQuestion->setText(readyQuestionText(m_bank, m_state));
        m_lbMode->setText(readyModeText(m_state));
        layoutReady();
        // Filled once the box has its size, so that it opens at the top of the text.
        m_txInfo->setPlainText(info.description + QStringLiteral("\n\n") + info.notes);
        return true;
    });
}

// Each part of the frame starts 240 twips below the one above, the paragraphs as tall as
// their text; the information box takes what is left.
void ReadyWindow::layoutReady()
{
    for (QLabel *paragraph : {m_lbQuestion, m_lbMode})
        paragraph->resize(paragraph->width(), paragraph->heightForWidth(paragraph->width()));
    m_lbMode->move(m_lbMode->x(), m_lbQuestion->geometry().bottom() + 1 + twips(paragraphGap));
    m_lbInfo->move(m_lbInfo->x(), m_lbMode->geometry().bottom() + 1 + twips(paragraphGap));
    const int infoTop = m_lbInfo->geometry().bottom() + 1 + twips(paragraphGap);
    m_txInfo->setGeometry(m_txInfo->x(), infoTop, m_txInfo->width(),
                          m_faReady->height() - infoTop - twips(120));
}

void ReadyWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_heading.setText(QStringLiteral("Get Ready, ") + firstName(m_userName) + QStringLiteral("!"));
    Q_EMIT activated();
}

void ReadyWindow::keyPressEvent(QKeyEvent *event)
{
    if (!pressOnEnter(this, event, findChild<QPushButton *>(QStringLiteral("cmStart"))))
        QWidget::keyPressEvent(event);
}

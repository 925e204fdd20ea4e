#include "ScoreReport.h"

#include "common/ErrorReport.h"
#include "common/MessageBoxes.h"
#include "common/Twips.h"
#include "engine/TestState.h"
#include "moduledb/QuestionBank.h"
#include "present/EnterKey.h"
#include "present/Logo.h"
#include "present/ScoreGrade.h"

#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTreeWidget>

namespace {

// Design size of the window and of its parts, in twips.
constexpr int reportWidth = 10500;
constexpr int reportHeight = 7650;
constexpr int barLeft = 4320;
constexpr int barWidth = 5760;
constexpr int barHeight = 255;
constexpr int buttonWidth = 1560;
constexpr int buttonHeight = 375;
constexpr int buttonGap = 120;

const QColor shadowGrey(192, 192, 192);
const QColor headingNavy(0, 0, 128);

QLabel *addLabel(QWidget *parent, const QString &name, const QString &text, int left, int top,
                 int width, int height)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setObjectName(name);
    label->setGeometry(twips(left), twips(top), twips(width), twips(height));
    return label;
}

void setTextColour(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

QFont boldFont(const QWidget *widget, int pointSize)
{
    QFont font = widget->font();
    font.setBold(true);
    font.setPointSize(pointSize);
    return font;
}

void addLine(QWidget *parent, int top, int width)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(twips(120), twips(top), twips(width - 240), 2);
}

} // namespace

ScoreReport::ScoreReport(const QuestionBank &bank, TestState &state, const QString &userName,
                         QWidget *parent)
    : QWidget(parent), m_bank(bank), m_state(state), m_userName(userName)
{
    setObjectName(QStringLiteral("frResult"));
    const TestInfo &info = m_bank.testInfo;
    setWindowTitle(QStringLiteral("Exam # ") + info.examCode + QStringLiteral(", ") +
                   info.examTitle + QStringLiteral(" - Test Result for ") + m_userName);
    setFixedSize(twips(reportWidth), twips(reportHeight));
    setAutoFillBackground(true);
    buildControls();
}

void ScoreReport::buildControls()
{
    auto *faReport = new QFrame(this);
    faReport->setObjectName(QStringLiteral("faReport"));
    faReport->setFrameShape(QFrame::StyledPanel);
    faReport->setFrameShadow(QFrame::Raised);
    const int frameWidth = reportWidth - 240;
    faReport->setGeometry(twips(120), twips(120), twips(frameWidth), twips(6840));

    auto *imSE = new QLabel(faReport);
    imSE->setTextFormat(Qt::PlainText);
    imSE->setObjectName(QStringLiteral("imSE"));
    imSE->setPixmap(quendraLogo(twips(720)));
    imSE->setGeometry(twips(180), twips(150), twips(720), twips(720));

    m_lbCard = addLabel(faReport, QStringLiteral("lbCard"), QStringLiteral("Test Result"), 1080,
                        120, frameWidth - 2160, 420);
    m_lbCard->setAlignment(Qt::AlignCenter);
    m_lbCard->setFont(boldFont(this, 14));
    setTextColour(m_lbCard, headingNavy);

    // The exam and candidate lines, drawn twice: the grey copy a little up and left of the
    // navy one gives it a shadow.
    const TestInfo &info = m_bank.testInfo;
    const QString examLines = QStringLiteral("Exam Name: ") + info.examTitle +
                              QStringLiteral(" (") + info.examCode + QStringLiteral(")\r\n") +
                              QStringLiteral("Candidate Name: ") + m_userName;
    m_lbTestB = new QLabel(faReport);
    m_lbTestB->setTextFormat(Qt::PlainText);
    m_lbTestB->setText(examLines);
    m_lbTestB->setObjectName(QStringLiteral("lbTestB"));
    m_lbTestF = new QLabel(faReport);
    m_lbTestF->setTextFormat(Qt::PlainText);
    m_lbTestF->setText(examLines);
    m_lbTestF->setObjectName(QStringLiteral("lbTestF"));
    for (QLabel *label : {m_lbTestB, m_lbTestF}) {
        label->setFont(boldFont(this, 10));
        label->adjustSize();
    }
    setTextColour(m_lbTestB, shadowGrey);
    setTextColour(m_lbTestF, headingNavy);
    const QRect card = m_lbCard->geometry();
    m_lbTestB->move(card.left() + (card.width() - m_lbTestF->width()) / 2, twips(600));
    m_lbTestF->move(m_lbTestB->x() + twips(20), m_lbTestB->y() + twips(20));

    addLine(faReport, 1380, frameWidth);

    addLabel(faReport, QStringLiteral("lbl1"), QStringLiteral("Your Score:"), 480, 1620, 1500, 285);
    m_lbScore = addLabel(faReport, QStringLiteral("lbScore"), QString(), 2040, 1620, 2160, 285);
    addLabel(faReport, QStringLiteral("lb2"), QStringLiteral("Passing Score:"), 480, 1980, 1500,
             285);
    m_lbPassingScore =
        addLabel(faReport, QStringLiteral("lbPassingScore"), QString(), 2040, 1980, 2160, 285);
    addLabel(faReport, QStringLiteral("lb3"), QStringLiteral("Grade:"), 480, 2340, 1500, 285);
    m_lbGrade = addLabel(faReport, QStringLiteral("lbGrade"), QString(), 2040, 2340, 6000, 285);
    for (QLabel *value : {m_lbScore, m_lbPassingScore, m_lbGrade})
        value->setFont(boldFont(this, 10));

    addLabel(faReport, QStringLiteral("lbl0"), QStringLiteral("0"), barLeft, 1500, 600, 240);
    auto *lb1000 = addLabel(faReport, QStringLiteral("lb1000"), QStringLiteral("1000"),
                            barLeft + barWidth - 900, 1500, 900, 240);
    lb1000->setAlignment(Qt::AlignRight | Qt::AlignTop);
    // Each bar beside its own label: the score's beside "Your Score:", the passing score's
    // beside "Passing Score:", so that a short score bar never reads as the candidate's.
    m_piScore = addLabel(faReport, QStringLiteral("piScore"), QString(), barLeft, 1770, barWidth,
                         barHeight);
    m_piPassScore = addLabel(faReport, QStringLiteral("piPassScore"), QString(), barLeft, 2130,
                             barWidth, barHeight);

    addLine(faReport, 2760, frameWidth);

    addLabel(
        faReport, QStringLiteral("lbPerfSection"),
        QStringLiteral("The following report shows your performance in each section of the exam:"),
        240, 2880, frameWidth - 480, 255);
    addLabel(faReport, QStringLiteral("lbCumulative"),
             QStringLiteral("(The scores below are not cummulative.)"), 240, 3135, frameWidth - 480,
             255);

    m_lvObjScore = new QTreeWidget(faReport);
    m_lvObjScore->setObjectName(QStringLiteral("lvObjScore"));
    m_lvObjScore->setGeometry(twips(240), twips(3480), twips(frameWidth - 480), twips(3210));
    m_lvObjScore->setRootIsDecorated(false);
    m_lvObjScore->setUniformRowHeights(true);
    m_lvObjScore->setSelectionMode(QAbstractItemView::NoSelection);
    m_lvObjScore->setFocusPolicy(Qt::NoFocus);
    m_lvObjScore->setAlternatingRowColors(true);
    m_lvObjScore->setHeaderLabels({QStringLiteral("#"), QStringLiteral("Objective Name"),
                                   QStringLiteral("Score"), QStringLiteral("Correct")});
    QHeaderView *header = m_lvObjScore->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(1, QHeaderView::Stretch);
    m_lvObjScore->setColumnWidth(0, twips(600));
    m_lvObjScore->setColumnWidth(2, twips(1080));
    m_lvObjScore->setColumnWidth(3, twips(1200));

    // Review Incorrect is the one button the report changes afterwards.
    const struct
    {
        QPushButton **button;
        const char *name;
        const char *caption;
        void (ScoreReport::*clicked)();
    } buttons[] = {
        {nullptr, "cmAll", "Review &All", &ScoreReport::reviewAll},
        {&m_cmIncorrect, "cmIncorrect", "Review In&correct", &ScoreReport::reviewIncorrect},
        {nullptr, "cmItem", "&Item Review", &ScoreReport::itemReview},
        {nullptr, "cmMain", "&Main Menu", &ScoreReport::mainMenu},
        {nullptr, "cmPractice", "&Weak Areas", &ScoreReport::practiceRequested},
        {&m_cmPrint, "cmPrint", "&Print", nullptr},
    };
    const int count = int(std::size(buttons));
    const int rowWidth = count * buttonWidth + (count - 1) * buttonGap;
    int left = (reportWidth - rowWidth) / 2;
    for (const auto &entry : buttons) {
        auto *button = new QPushButton(QString::fromLatin1(entry.caption), this);
        button->setObjectName(QString::fromLatin1(entry.name));
        button->setGeometry(twips(left), twips(7110), twips(buttonWidth), twips(buttonHeight));
        if (entry.clicked)
            connect(button, &QPushButton::clicked, this, entry.clicked);
        if (entry.button)
            *entry.button = button;
        left += buttonWidth + buttonGap;
    }
    auto *output = new QMenu(m_cmPrint);
    output->addAction(QStringLiteral("&Print..."), this, &ScoreReport::printRequested);
    output->addAction(QStringLiteral("Save as P&DF..."), this, &ScoreReport::pdfRequested);
    m_cmPrint->setMenu(output);
}

void ScoreReport::DrawScoreBox(int rows)
{
    m_lvObjScore->clear();
    if (rows > m_state.objList.size() || rows > m_state.objPercent.size() ||
        rows > m_state.objScoreText.size()) {
        ShowErrorReport({QStringLiteral("Subscript out of range"), 9,
                         QStringLiteral("Procedure Name: DrawScoreBox")});
        return;
    }
    for (int k = 1; k <= rows; ++k) {
        const int objective = m_state.objList[k];
        const QString name = m_bank.objectives.contains(objective)
                                 ? m_bank.objectives[objective].objectiveName
                                 : QString();
        auto *row = new QTreeWidgetItem(m_lvObjScore, {QString::number(k), name,
                                                       percentText(m_state.objPercent[k]),
                                                       m_state.objScoreText[k]});
        row->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
        row->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        row->setTextAlignment(3, Qt::AlignCenter);
    }

    m_lbScore->setText(scoreText(m_state));
    m_lbPassingScore->setText(QString::number(m_state.passScore));
    drawBar(m_piPassScore, m_state.passScore, passingBarBlue);
    m_piPassScore->setAccessibleName(
        QStringLiteral("Passing score: %1 of 1000").arg(m_state.passScore));

    const GradeDisplay grade = gradeDisplay(m_state.scaledScore, m_state.passScore);
    m_lbGrade->setText(grade.text);
    setTextColour(m_lbGrade, grade.colour);
    m_cmIncorrect->setEnabled(grade.reviewIncorrectEnabled);
    drawBar(m_piScore, m_state.scaledScore, grade.colour);
    m_piScore->setAccessibleName(QStringLiteral("Your score: %1 of 1000").arg(m_state.scaledScore));

    show();
}

void ScoreReport::drawBar(QLabel *box, int points, const QColor &fill)
{
    QPixmap picture(box->size());
    picture.fill(Qt::white);
    const int length = barLength(points, picture.width());
    if (length > 0) {
        QPainter painter(&picture);
        painter.setPen(barOutlineGrey);
        painter.setBrush(fill);
        painter.drawRect(0, 0, length - 1, picture.height() - 1);
    }
    box->setPixmap(picture);
}

void ScoreReport::keyPressEvent(QKeyEvent *event)
{
    if (!pressOnEnter(this, event, nullptr))
        QWidget::keyPressEvent(event);
}

void ScoreReport::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_state.incorrectCount < 1)
        m_cmIncorrect->setEnabled(false);
    Q_EMIT activated();
}

void ScoreReport::reviewAll()
{
    hide();
    m_state.navMode = NavReviewAll;
    m_state.curItem = 1;
    Q_EMIT reviewAllRequested();
}

void ScoreReport::reviewIncorrect()
{
    if (m_state.incorrectItems.isEmpty())
        return;
    hide();
    m_state.navMode = NavReviewIncorrect;
    m_state.reviewPosIncorrect = 1;
    m_state.curItem = m_state.incorrectItems[1];
    Q_EMIT reviewIncorrectRequested();
}

void ScoreReport::itemReview()
{
    hide();
    Q_EMIT itemReviewRequested();
}

void ScoreReport::mainMenu()
{
    if (showMessage(QStringLiteral("End Session?"),
                    QStringLiteral("Would you like to end your test session?\n"
                                   "(You will no longer be able to review your answers.)"),
                    MessageIcon::Question, MessageButtons::YesNo) != MessageButton::Yes)
        return;
    Q_EMIT mainMenuRequested();
}

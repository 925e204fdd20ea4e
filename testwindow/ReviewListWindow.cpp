#include "testwindow/ReviewListWindow.h"

#include "common/MessageBoxes.h"
#include "common/Twips.h"
#include "engine/Navigation.h"
#include "engine/ReviewList.h"
#include "engine/RuntimeError.h"
#include "engine/Selection.h"
#include "engine/TestState.h"
#include "moduledb/QuestionBank.h"
#include "present/EnterKey.h"
#include "present/Logo.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { MarkedColumn, QidColumn, StatusColumn, QuestionColumn, TypeColumn };

const QColor shadowGrey(192, 192, 192);
const QColor headingNavy(0, 0, 128);

QColor statusColour(StatusColour colour)
{
    switch (colour) {
    case StatusColour::Blue:
        return QColor(0, 0, 255);
    case StatusColour::Green:
        return QColor(0, 128, 0);
    case StatusColour::Red:
        return QColor(255, 0, 0);
    default:
        return Qt::black;
    }
}

QLabel *plainLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

} // namespace

ReviewListWindow::ReviewListWindow(const QuestionBank &bank, TestState &state, QWidget *parent)
    : QWidget(parent), m_bank(bank), m_state(state)
{
    setObjectName(QStringLiteral("frList"));
    setAutoFillBackground(true);
    buildControls();
    load();
}

void ReviewListWindow::buildControls()
{
    const TestInfo &info = m_bank.testInfo;
    const QString heading =
        QStringLiteral("Exam # ") + info.examCode + QStringLiteral("\n") + info.examTitle;
    // The grey copy behind, a little up and left of the navy one, gives it a shadow.
    auto *headingArea = new QWidget(this);
    QLabel *lbTestB = plainLabel(QStringLiteral("lbTestB"), heading, headingArea);
    QLabel *lbTestF = plainLabel(QStringLiteral("lbTestF"), heading, headingArea);
    QFont headingFont = font();
    headingFont.setBold(true);
    headingFont.setPointSize(12);
    for (QLabel *label : {lbTestB, lbTestF}) {
        label->setFont(headingFont);
        label->adjustSize();
    }
    QPalette grey = lbTestB->palette();
    grey.setColor(QPalette::WindowText, shadowGrey);
    lbTestB->setPalette(grey);
    QPalette navy = lbTestF->palette();
    navy.setColor(QPalette::WindowText, headingNavy);
    lbTestF->setPalette(navy);
    lbTestB->move(0, 0);
    lbTestF->move(twips(20), twips(20));
    headingArea->setMinimumSize(lbTestF->geometry().right() + 1, lbTestF->geometry().bottom() + 1);

    QLabel *imLogo = plainLabel(QStringLiteral("imLogo"), QString(), this);
    imLogo->setPixmap(quendraLogo(twips(720)));

    QLabel *lbClick = plainLabel(
        QStringLiteral("lbClick"),
        QStringLiteral("Double click on the list below to jump to a specific item:"), this);

    m_lvList = new QTreeWidget(this);
    m_lvList->setObjectName(QStringLiteral("lvList"));
    m_lvList->setColumnCount(5);
    m_lvList->setHeaderLabels({QStringLiteral("Marked"), QStringLiteral("QID"),
                               QStringLiteral("Status"), QStringLiteral("Question"),
                               QStringLiteral("Type")});
    m_lvList->setRootIsDecorated(false);
    m_lvList->setUniformRowHeights(true);
    m_lvList->setAllColumnsShowFocus(true);
    m_lvList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lvList->header()->setStretchLastSection(false);
    m_lvList->installEventFilter(this);
    // The question column is refilled for the width the list has after a resize.
    m_lvList->viewport()->installEventFilter(this);
    connect(m_lvList, &QTreeWidget::itemChanged, this, &ReviewListWindow::markChanged);
    connect(m_lvList, &QTreeWidget::itemDoubleClicked, this, &ReviewListWindow::openSelectedItem);

    auto *faStatus = new QGroupBox(QStringLiteral("Status"), this);
    faStatus->setObjectName(QStringLiteral("faStatus"));
    m_lbLegend = plainLabel(QStringLiteral("lbLegend"), QString(), faStatus);
    m_lbLegend->setWordWrap(true);
    auto *statusLayout = new QVBoxLayout(faStatus);
    statusLayout->addWidget(m_lbLegend);

    auto *faCommand = new QGroupBox(this);
    faCommand->setObjectName(QStringLiteral("faCommand"));
    auto *commandLayout = new QHBoxLayout(faCommand);
    void (ReviewListWindow::*const actions[4])() = {
        &ReviewListWindow::review1, &ReviewListWindow::review2, &ReviewListWindow::review3,
        &ReviewListWindow::review4};
    for (int i = 0; i < 4; ++i) {
        m_cmReview[i] = new QPushButton(faCommand);
        m_cmReview[i]->setObjectName(QStringLiteral("cmReview%1").arg(i + 1));
        m_cmReview[i]->setAutoDefault(false);
        m_cmReview[i]->setMinimumWidth(twips(1800));
        connect(m_cmReview[i], &QPushButton::clicked, this, actions[i]);
        commandLayout->addWidget(m_cmReview[i]);
    }
    commandLayout->addStretch();

    auto *top = new QHBoxLayout;
    top->addWidget(headingArea);
    top->addStretch();
    top->addWidget(imLogo);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(twips(120), twips(120), twips(120), twips(120));
    layout->addLayout(top);
    layout->addWidget(lbClick);
    layout->addWidget(m_lvList, 1);
    layout->addWidget(faStatus);
    layout->addWidget(faCommand);
}

void ReviewListWindow::load()
{
    const TestInfo &info = m_bank.testInfo;
    setWindowTitle(QStringLiteral("Exam #") + info.examCode + QStringLiteral(", ") +
                   info.examTitle + QStringLiteral(" - Item Review"));
    m_lvList->clear();
    for (int item = 1; item <= m_state.testLength; ++item) {
        const Question &question = m_bank.questions[GetQueID(m_state, item)];
        auto *row = new QTreeWidgetItem(m_lvList);
        row->setText(MarkedColumn, QString::number(item));
        row->setText(QidColumn, question.questionCode);
        row->setText(TypeColumn, m_bank.questionTypes.contains(question.questionType)
                                     ? m_bank.questionTypes[question.questionType].typeCaption
                                     : QString());
        QFont bold = row->font(StatusColumn);
        bold.setBold(true);
        row->setFont(StatusColumn, bold);
        row->setTextAlignment(StatusColumn, Qt::AlignCenter);
    }
}

void ReviewListWindow::activate()
{
    Q_EMIT activated();
    guarded(QStringLiteral("Procedure Name: frList_Activate"), [&] {
        const ReviewListContents contents = activateReviewList(m_bank, m_state);
        for (int i = 0; i < 4; ++i) {
            m_cmReview[i]->setText(contents.captions[i]);
            m_cmReview[i]->setToolTip(QString(contents.captions[i]).remove(u'&'));
            m_cmReview[i]->setEnabled(contents.enabled[i]);
        }
        m_filling = true;
        m_lvList->headerItem()->setText(MarkedColumn, contents.firstHeader);
        for (int item = 1; item <= contents.rows.size(); ++item) {
            QTreeWidgetItem *row = m_lvList->topLevelItem(item - 1);
            if (!row)
                break;
            const ReviewRow &shown = contents.rows[item];
            if (contents.rowsCheckable) {
                row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
                row->setCheckState(MarkedColumn, shown.marked ? Qt::Checked : Qt::Unchecked);
            } else {
                row->setFlags(row->flags() & ~Qt::ItemIsUserCheckable);
                row->setData(MarkedColumn, Qt::CheckStateRole, QVariant());
            }
            row->setText(StatusColumn, shown.statusSymbol);
            row->setForeground(StatusColumn, statusColour(shown.statusColour));
        }
        m_filling = false;
        fillQuestionColumn();
        if (QTreeWidgetItem *current = m_lvList->topLevelItem(m_state.curItem - 1)) {
            m_lvList->setCurrentItem(current);
            m_lvList->scrollToItem(current);
        }
        m_lbLegend->setText(contents.legend);
        m_lvList->setFocus();
    });
}

void ReviewListWindow::fillQuestionColumn()
{
    // Every column but the question's keeps its width; the question takes the rest.
    const int fixedWidths[] = {twips(1100), twips(1500), twips(900), 0, twips(3300)};
    int questionWidth = m_lvList->viewport()->width();
    for (int column : {MarkedColumn, QidColumn, StatusColumn, TypeColumn}) {
        m_lvList->setColumnWidth(column, fixedWidths[column]);
        questionWidth -= fixedWidths[column];
    }
    questionWidth = qMax(twips(1500), questionWidth);
    m_lvList->setColumnWidth(QuestionColumn, questionWidth);
    const int letterWidth = m_lvList->fontMetrics().horizontalAdvance(u'a');
    m_filling = true;
    for (int item = 1; item <= m_state.testLength; ++item) {
        QTreeWidgetItem *row = m_lvList->topLevelItem(item - 1);
        if (!row)
            break;
        row->setText(QuestionColumn,
                     truncatedQuestion(m_bank.questions[GetQueID(m_state, item)].questionText,
                                       questionWidth, letterWidth));
    }
    m_filling = false;
}

void ReviewListWindow::markChanged(QTreeWidgetItem *row, int column)
{
    if (m_filling || column != MarkedColumn || !m_state.testActive)
        return;
    const int item = row->text(MarkedColumn).toInt();
    m_state.answerRecs[GetQueID(m_state, item)].marked = row->checkState(column) == Qt::Checked;
    m_cmReview[1]->setEnabled(reviewMarkedEnabled(m_state));
}

void ReviewListWindow::openSelectedItem()
{
    const QTreeWidgetItem *row = m_lvList->currentItem();
    if (!row)
        return;
    openListItem(m_state, row->text(MarkedColumn).toInt());
    leaveForItem();
}

void ReviewListWindow::leaveForItem()
{
    hide();
    Q_EMIT itemRequested();
}

void ReviewListWindow::review1()
{
    listBackToTest(m_state);
    leaveForItem();
}

void ReviewListWindow::review2()
{
    if (listReviewMarked(m_state))
        leaveForItem();
}

void ReviewListWindow::review3()
{
    if (listReviewIncompleteOrIncorrect(m_state))
        leaveForItem();
}

void ReviewListWindow::review4()
{
    if (!m_state.testActive) {
        hide();
        Q_EMIT scoreReportRequested();
        return;
    }
    if (showMessage(QStringLiteral("End Test?"), endAndGradePromptText, MessageIcon::Question,
                    MessageButtons::YesNo) != MessageButton::Yes)
        return;
    // The time may have run out while the question was open: the test is graded already.
    if (m_state.testActive)
        Q_EMIT gradeRequested();
    hide();
}

void ReviewListWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    activate();
}

void ReviewListWindow::keyPressEvent(QKeyEvent *event)
{
    if (!pressOnEnter(this, event, nullptr))
        QWidget::keyPressEvent(event);
}

bool ReviewListWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_lvList->viewport() && event->type() == QEvent::Resize)
        fillQuestionColumn();
    if (watched == m_lvList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openSelectedItem();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

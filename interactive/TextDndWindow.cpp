#include "interactive/TextDndWindow.h"

#include "engine/RuntimeError.h"
#include "engine/TestState.h"
#include "interactive/DndKeyboard.h"
#include "interactive/DndSourceLabel.h"
#include "interactive/DndTargetLabel.h"
#include "interactive/SaveDnDAns.h"
#include "interactive/TwipsRect.h"
#include "interactive/logic/DndAnswer.h"
#include "moduledb/QuestionBank.h"
#include "present/ScreenFit.h"

#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int windowWidth = 9495;
constexpr int sourceFrameLeft = 120;
constexpr int sourceFrameWidth = 2415;
constexpr int targetFrameLeft = 2640;
constexpr int targetFrameWidth = 6735;
constexpr int columnLeft = 120;
constexpr int headingTop = 240;
constexpr int headingHeight = 255;
constexpr int labelWidth = 2175;
constexpr int labelHeight = 465;
// The hidden templates of items and targets sit at the heading's place; the first row
// follows them.
constexpr int templateTop = 240;
constexpr int rowGap = 120;
constexpr int descriptionLeft = 2520;
constexpr int descriptionWidth = 4005;
constexpr int descriptionHeadingLeft = 2415;
constexpr int descriptionHeadingWidth = 4200;
constexpr int frameBottomMargin = 240;
constexpr int okLeft = 4200;
constexpr int okWidth = 1455;
constexpr int okHeight = 375;

const QString emptyTargetText = QStringLiteral("PLACE\nHERE");

QFrame *whiteFrame(const QString &name, QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setAutoFillBackground(true);
    QPalette white = frame->palette();
    white.setColor(QPalette::Window, Qt::white);
    frame->setPalette(white);
    return frame;
}

QLabel *heading(const QString &name, const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(caption);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setAutoFillBackground(true);
    QPalette colours = label->palette();
    colours.setColor(QPalette::Window, Qt::blue);
    colours.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(colours);
    return label;
}

} // namespace

TextDndWindow::TextDndWindow(const QuestionBank &bank, TestState &state, int q, bool answerable,
                             QWidget *parent)
    : AnswerDialog(parent), m_bank(bank), m_state(state), m_q(q)
{
    setObjectName(QStringLiteral("frTDnD"));
    setWindowTitle(QStringLiteral("Item %1 of %2").arg(state.curItem).arg(state.testLength));

    const OneBasedArray<DndItem> items = dndItems(bank, state, q);
    const int targets = dndTargetCount(bank, q);

    QFrame *faSrc = whiteFrame(QStringLiteral("faSrc"), this);
    heading(QStringLiteral("lbSelect"), QStringLiteral("SELECT"), faSrc)
        ->setGeometry(twipsRect(columnLeft, headingTop, labelWidth, headingHeight));
    QFrame *faDes = whiteFrame(QStringLiteral("faDes"), this);
    heading(QStringLiteral("Label1"), QStringLiteral("PLACE"), faDes)
        ->setGeometry(twipsRect(columnLeft, headingTop, labelWidth, headingHeight));
    auto *lbDescription =
        heading(QStringLiteral("lbDescription"), QStringLiteral("DESCRIPTION"), faDes);
    lbDescription->setWordWrap(true);
    lbDescription->setGeometry(
        twipsRect(descriptionHeadingLeft, headingTop, descriptionHeadingWidth, headingHeight));

    const bool enabled = answerable && state.testActive;
    // With no items or rows the frames end below the templates.
    int contentBottom = twips(templateTop + labelHeight);
    for (int i = 1; i <= items.size(); ++i) {
        const int top = templateTop + i * (labelHeight + rowGap);
        auto *lbSrc = new DndSourceLabel(items[i].text, QString::number(items[i].number), faSrc);
        lbSrc->setProperty("index", i);
        lbSrc->setGeometry(twipsRect(columnLeft, top, labelWidth, labelHeight));
        lbSrc->setEnabled(enabled);
        contentBottom = std::max(contentBottom, lbSrc->geometry().bottom() + 1);
    }

    // Each row starts below the taller of the previous target and its description.
    int nextRowTop = twips(templateTop + labelHeight + rowGap);
    for (int j = 1; j <= targets; ++j) {
        const DndRow &row = dndTargetRow(bank, state, q, j);
        auto *lbDes = new DndTargetLabel(j, faDes);
        lbDes->setGeometry(twips(columnLeft), nextRowTop, twips(labelWidth), twips(labelHeight));
        lbDes->setAutoFillBackground(true);
        QPalette tooltip = lbDes->palette();
        tooltip.setColor(QPalette::Window, tooltip.color(QPalette::ToolTipBase));
        tooltip.setColor(QPalette::WindowText, Qt::black);
        lbDes->setPalette(tooltip);
        if (row.correctSource != 0 && state.showingAnswer)
            lbDes->takeItem(dndItemText(bank, state, q, row.correctSource), Qt::yellow,
                            emptyTargetTag);
        else
            lbDes->setText(emptyTargetText);

        auto *lbDesc = new QLabel(faDes);
        lbDesc->setTextFormat(Qt::PlainText);
        lbDesc->setText(row.text);
        lbDesc->setObjectName(QStringLiteral("lbDesc"));
        lbDesc->setProperty("index", j);
        lbDesc->setWordWrap(true);
        lbDesc->setAutoFillBackground(true);
        lbDesc->setPalette(faDes->palette());
        const int width = twips(descriptionWidth);
        lbDesc->setGeometry(twips(descriptionLeft), nextRowTop, width,
                            lbDesc->heightForWidth(width));

        nextRowTop =
            std::max(lbDes->geometry().bottom(), lbDesc->geometry().bottom()) + 1 + twips(rowGap);
        // A long last description must not be cut off by the frames' bottom edge.
        contentBottom = std::max(contentBottom, nextRowTop - twips(rowGap));
    }

    const int frameHeight = contentBottom + twips(frameBottomMargin);
    faSrc->setGeometry(twips(sourceFrameLeft), 0, twips(sourceFrameWidth), frameHeight);
    faDes->setGeometry(twips(targetFrameLeft), 0, twips(targetFrameWidth), frameHeight);

    auto *cmOK = new QPushButton(QStringLiteral("&OK"), this);
    cmOK->setObjectName(QStringLiteral("cmOK"));
    cmOK->setDefault(true);
    cmOK->setGeometry(twips(okLeft), frameHeight + twips(240), twips(okWidth), twips(okHeight));
    connect(cmOK, &QPushButton::clicked, this, &TextDndWindow::okClicked);
    setCloseButton(cmOK);

    setFixedSizeWithinScreen(this,
                             QSize(twips(windowWidth), cmOK->geometry().bottom() + 1 + twips(600)));
    // After the move into a scrolling area, which would take the focus from the first item.
    new DndKeyboard(this);
    placeLowOnScreen(this);
}

void TextDndWindow::okClicked()
{
    if (!m_state.showingAnswer && m_state.testActive)
        SaveDnDAns(m_bank, m_state, m_q, this, windowTitle());
    accept();
}

void ShowTDnD(const QuestionBank &bank, TestState &state, int q, bool answerable, QWidget *parent)
{
    guarded(QStringLiteral("Procedure Name: ShowTDnD"), [&] {
        QPointer<TextDndWindow> frTDnD = new TextDndWindow(bank, state, q, answerable, parent);
        frTDnD->exec();
        delete frTDnD;
    });
}

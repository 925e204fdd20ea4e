#include "interactive/GraphicalDndWindow.h"

#include "common/ErrorReport.h"
#include "engine/RuntimeError.h"
#include "engine/TestState.h"
#include "interactive/DndKeyboard.h"
#include "interactive/DndSourceLabel.h"
#include "interactive/DndTargetLabel.h"
#include "interactive/SaveDnDAns.h"
#include "interactive/TwipsRect.h"
#include "interactive/logic/DndAnswer.h"
#include "moduledb/QuestionBank.h"
#include "present/ModulePicture.h"
#include "present/ScreenFit.h"

#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int frameLeft = 120;
constexpr int frameTop = 120;
// The hidden template item sits above the frame's top edge; the first item follows it.
constexpr int templateItemTop = -240;
constexpr int templateItemHeight = 465;
constexpr int itemLeft = 120;
constexpr int itemGap = 120;
constexpr int pictureTop = 120;
constexpr int okWidth = 1455;
constexpr int okHeight = 375;

} // namespace

GraphicalDndWindow::GraphicalDndWindow(const QuestionBank &bank, TestState &state, int q,
                                       bool answerable, const QPixmap &picture, QWidget *parent)
    : AnswerDialog(parent), m_bank(bank), m_state(state), m_q(q)
{
    setObjectName(QStringLiteral("frGDnD"));
    setWindowTitle(QStringLiteral("Item %1 of %2").arg(state.curItem).arg(state.testLength));

    const OneBasedArray<DndItem> items = dndItems(bank, state, q);
    const int targets = dndTargetCount(bank, q);
    const DndRow &firstTarget = dndTargetRow(bank, state, q, 1);
    const int itemWidth = firstTarget.targetWidth;
    const int itemHeight = firstTarget.targetHeight;

    auto *faSrc = new QGroupBox(QStringLiteral("Select"), this);
    faSrc->setObjectName(QStringLiteral("faSrc"));
    faSrc->setAutoFillBackground(true);
    QPalette white = faSrc->palette();
    white.setColor(QPalette::Window, Qt::white);
    faSrc->setPalette(white);

    const bool enabled = answerable && state.testActive;
    int top = templateItemTop;
    int height = templateItemHeight;
    for (int i = 1; i <= items.size(); ++i) {
        top += height + itemGap;
        height = itemHeight;
        auto *lbSrc = new DndSourceLabel(items[i].text, QString::number(items[i].number), faSrc);
        lbSrc->setProperty("index", i);
        lbSrc->setGeometry(twipsRect(itemLeft, top, itemWidth, itemHeight));
        lbSrc->setEnabled(enabled);
    }
    faSrc->setGeometry(
        twipsRect(frameLeft, frameTop, itemWidth + 2 * itemLeft, top + height + itemGap));

    auto *imDiagram = new QLabel(this);
    imDiagram->setTextFormat(Qt::PlainText);
    imDiagram->setObjectName(QStringLiteral("imDiagram"));
    imDiagram->setPixmap(picture);
    imDiagram->setGeometry(faSrc->geometry().right() + 1 + twips(120), twips(pictureTop),
                           picture.width(), picture.height());
    const int windowWidth = imDiagram->geometry().right() + 1 + twips(240);

    for (int j = 1; j <= targets; ++j) {
        const DndRow &row = dndTargetRow(bank, state, q, j);
        auto *lbDes = new DndTargetLabel(j, this);
        lbDes->setGeometry(imDiagram->x() + twips(row.targetLeft),
                           imDiagram->y() + twips(row.targetTop), twips(row.targetWidth),
                           twips(row.targetHeight));
        if (state.showingAnswer && row.correctSource != 0)
            lbDes->takeItem(dndItemText(bank, state, q, row.correctSource), Qt::yellow,
                            emptyTargetTag);
        lbDes->raise();
    }

    auto *cmOK = new QPushButton(QStringLiteral("&OK"), this);
    cmOK->setObjectName(QStringLiteral("cmOK"));
    cmOK->setDefault(true);
    const int contentBottom =
        std::max(imDiagram->geometry().bottom(), faSrc->geometry().bottom()) + 1;
    cmOK->setGeometry((windowWidth - twips(okWidth)) / 2, contentBottom + twips(240),
                      twips(okWidth), twips(okHeight));
    connect(cmOK, &QPushButton::clicked, this, &GraphicalDndWindow::okClicked);
    setCloseButton(cmOK);

    setFixedSizeWithinScreen(this, QSize(windowWidth, cmOK->geometry().bottom() + 1 + twips(600)));
    // After the move into a scrolling area, which would take the focus from the first item.
    new DndKeyboard(this);
    placeLowOnScreen(this);
}

void GraphicalDndWindow::okClicked()
{
    if (!m_state.showingAnswer && m_state.testActive)
        SaveDnDAns(m_bank, m_state, m_q, this, windowTitle());
    accept();
}

void ShowGDnD(const QuestionBank &bank, TestState &state, const QString &moduleFolder, int q,
              bool answerable, QWidget *parent)
{
    const QString procedure = QStringLiteral("Procedure Name: ShowGDnD");
    guarded(procedure, [&] {
        const ModulePicture picture =
            loadModulePicture(moduleFolder, bank.questions[q].diagramFile);
        if (picture.errorNumber != 0) {
            ShowErrorReport({picture.problem, picture.errorNumber, procedure});
            return;
        }
        // On the heap: the parent may go while the window is open.
        QPointer<GraphicalDndWindow> frGDnD =
            new GraphicalDndWindow(bank, state, q, answerable, picture.picture, parent);
        frGDnD->exec();
        delete frGDnD;
    });
}

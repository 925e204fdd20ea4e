#include "present/QuestionDisplay.h"

#include "common/Twips.h"
#include "engine/AnswerEncoding.h"
#include "engine/CorrectAnswer.h"
#include "engine/RuntimeError.h"
#include "engine/Selection.h"
#include "engine/TestState.h"
#include "moduledb/QuestionBank.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>

#include <stdexcept>

namespace {

const QColor correctChoiceYellow(255, 255, 0);

int bottomOf(const QWidget *widget)
{
    return widget->y() + widget->height();
}

void placeBelow(QWidget *widget, const QWidget *above, int gapTwips)
{
    widget->move(widget->x(), bottomOf(above) + twips(gapTwips));
}

// The explanation, objective and reference stand below the correct-answer line.
void stackExplanation(QuestionControls &controls)
{
    placeBelow(controls.lbExplain, controls.lbCorAns, 120);
    placeBelow(controls.lbURL, controls.lbExplain, 120);
    placeBelow(controls.lbTheObjective, controls.lbExplain, 240);
    placeBelow(controls.lbObjective, controls.lbTheObjective, 120);
    placeBelow(controls.lbTheReference, controls.lbObjective, 240);
    placeBelow(controls.lbReference, controls.lbTheReference, 120);
}

// Width up to `marginTwips` short of the viewport's right edge, or that of the longest
// word where it is wider (the page then scrolls sideways); the height follows the wrapped
// text.
void fitWidth(QLabel *label, const QuestionControls &controls, int marginTwips)
{
    const int width = qMax(controls.svTest->width() - label->x() - twips(marginTwips),
                           qMax(1, label->minimumSizeHint().width()));
    label->resize(width, label->heightForWidth(width));
}

void fitHeight(QLabel *label)
{
    label->resize(label->width(), label->heightForWidth(label->width()));
}

// A new element of a control array, copying what it shows from its template.
template <typename Control> Control *loadElement(Control *templ, int index)
{
    auto *element = new Control(templ->parentWidget());
    element->setObjectName(templ->objectName());
    element->setProperty("index", index);
    element->setFont(templ->font());
    element->setPalette(templ->palette());
    element->setAutoFillBackground(templ->autoFillBackground());
    element->setToolTip(templ->toolTip());
    element->resize(templ->size());
    element->move(templ->pos());
    if constexpr (std::is_same_v<Control, QLabel>) {
        element->setAlignment(templ->alignment());
        element->setWordWrap(templ->wordWrap());
        element->setContentsMargins(templ->contentsMargins());
        element->setTextFormat(templ->textFormat());
        element->setText(templ->text());
    } else if constexpr (std::is_same_v<Control, QLineEdit>) {
        element->setAlignment(templ->alignment());
    }
    return element;
}

template <typename Control> void unloadElements(QList<Control *> &array)
{
    while (array.size() > 1)
        delete array.takeLast();
}

// The height of one line of text in a box, at least what the box needs to show it.
int textBoxHeight(const QLineEdit *box)
{
    return qMax(box->fontMetrics().height(), box->sizeHint().height());
}

// The row the answer heading is placed below.
const QWidget *lastAnswerRow(const QuestionControls &controls, int type)
{
    switch (type) {
    case SingleAnswer:
    case MultipleAnswers:
        return controls.lbChc.last();
    case TypedAnswer:
        return controls.txTI.first();
    case TypedValues:
        return controls.txTI.last();
    default:
        return controls.lbQuestion;
    }
}

void stackChoiceRows(QuestionControls &controls)
{
    for (int p = 1; p < controls.lbChc.size(); ++p) {
        QLabel *label = controls.lbChc[p];
        placeBelow(label, controls.lbChc[p - 1], 240);
        if (p < controls.opChc.size())
            controls.opChc[p]->move(controls.opChc[p]->x(), label->y());
        if (p < controls.ckChc.size())
            controls.ckChc[p]->move(controls.ckChc[p]->x(), label->y());
    }
}

// Sizes the scrolled widget to its visible content so the scroll range covers it.
void updateScrollRange(QuestionControls &controls)
{
    int contentBottom = 0;
    int contentRight = 0;
    for (const QWidget *child :
         controls.questionArea->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!child->isHidden()) {
            contentBottom = qMax(contentBottom, bottomOf(child));
            contentRight = qMax(contentRight, child->geometry().right() + 1);
        }
    }
    // Measured from the viewport's outer size, which is right even before a hidden window
    // has been laid out; the scroll bar takes its share once the content is taller.
    const QSize available = controls.svTest->maximumViewportSize();
    const int height = contentBottom + twips(480);
    int width = available.width();
    if (height > available.height())
        width -= controls.svTest->verticalScrollBar()->sizeHint().width();
    width = qMax(width, contentRight);
    // At least as tall as the viewport, so the page is one white area.
    controls.questionArea->resize(width, qMax(height, available.height()));
}

void showQuestion(const QuestionBank &bank, TestState &state, QuestionControls &controls, int item)
{
    const int q = GetQueID(state, item);
    if (q == 0)
        return;
    state.curQ = q;
    const Question &question = bank.questions[q];
    controls.lbItem->setText(QStringLiteral("Item ") + QString::number(item) +
                             QStringLiteral(" of ") + QString::number(state.testLength) +
                             QStringLiteral(" (") + question.questionCode + QStringLiteral(")"));
    controls.lbQuestion->setText(question.questionText);
    fitWidth(controls.lbQuestion, controls, 480);
    ShowChoices(bank, state, controls, q);
    HideCorAns(bank, controls, q);
    if (controls.showButtons)
        controls.showButtons(item);
    updateScrollRange(controls);
    if (!state.testActive)
        ShowCorAns(bank, state, controls, q, false);
}

void setBackground(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, colour);
    label->setPalette(palette);
}

void showCorAns(const QuestionBank &bank, TestState &state, QuestionControls &controls, int q,
                bool openTask)
{
    state.showingAnswer = true;
    if (controls.setInstruction)
        controls.setInstruction(QString());
    const CorrectAnswerDisplay display = correctAnswerDisplay(bank, state, q);
    for (int p = 1; p <= display.highlighted.size() && p < controls.lbChc.size(); ++p) {
        if (display.highlighted[p])
            setBackground(controls.lbChc[p], correctChoiceYellow);
    }
    // The headings take the height of their one line, the same on every item.
    for (QLabel *heading : {controls.lbTheAnswer, controls.lbTheObjective, controls.lbTheReference})
        fitWidth(heading, controls, 600);
    placeBelow(controls.lbCorAns, controls.lbTheAnswer, 120);
    if (display.answerLines)
        controls.lbCorAns->setText(*display.answerLines);
    fitHeight(controls.lbCorAns);
    controls.lbCorAns->setVisible(true);

    controls.lbExplain->setText(display.explanation);
    controls.lbObjective->setText(display.objectiveName);
    controls.lbReference->setText(display.reference);
    fitWidth(controls.lbObjective, controls, 840);
    fitHeight(controls.lbExplain);
    fitHeight(controls.lbReference);
    stackExplanation(controls);
    for (QLabel *label : {controls.lbTheAnswer, controls.lbExplain, controls.lbTheObjective,
                          controls.lbObjective, controls.lbTheReference, controls.lbReference})
        label->setVisible(true);
    updateScrollRange(controls);

    if (controls.setInstruction)
        controls.setInstruction(display.result);
    const int type = bank.questions[q].questionType;
    if (openTask && (type == TextDragAndDrop || type == GraphicalDragAndDrop) &&
        controls.showAnswerTask)
        controls.showAnswerTask(q);
}

void hideCorAns(const QuestionBank &bank, QuestionControls &controls, int q)
{
    const int type = bank.questions[q].questionType;
    if (type == SingleAnswer || type == MultipleAnswers) {
        for (int p = 1; p < controls.lbChc.size(); ++p) {
            if (controls.lbChc[p]->palette().color(QPalette::Window) == correctChoiceYellow)
                setBackground(controls.lbChc[p], Qt::white);
        }
    }
    for (QLabel *label :
         {controls.lbTheAnswer, controls.lbCorAns, controls.lbExplain, controls.lbTheObjective,
          controls.lbObjective, controls.lbTheReference, controls.lbReference})
        label->setVisible(false);
}

void showTypedAnswerPrompt(QuestionControls &controls, const QString &prompt)
{
    controls.lbTI->setText(prompt);
    fitWidth(controls.lbTI, controls, 600);
    placeBelow(controls.lbTI, controls.lbQuestion, 480);
    controls.lbTI->setVisible(true);
    placeBelow(controls.txTI[0], controls.lbTI, 120);
}

void showChoices(const QuestionBank &bank, const TestState &state, QuestionControls &controls,
                 int q)
{
    if (controls.setInstruction)
        controls.setInstruction(QString());
    if (controls.lbChc.size() > 1 || controls.opChc.size() > 1 || controls.ckChc.size() > 1 ||
        controls.txTI.size() > 1 || controls.lbDot.size() > 1)
        throw std::invalid_argument("answer controls of the previous item still loaded");

    const Question &question = bank.questions[q];
    const int type = question.questionType;
    const int n = question.choiceCount;
    controls.curCorrectCount = NumOfChoices(bank, q, question.answerKey);

    QStringList choiceTexts;
    if (type == SingleAnswer || type == MultipleAnswers) {
        const int first = state.mcIndex[q].rowIndex;
        for (int k = 1; k <= n; ++k)
            choiceTexts.append(bank.choiceRows[first + k - 1].text);
    }

    QLabel *labelTemplate = controls.lbChc[0];
    for (QWidget *templ :
         {static_cast<QWidget *>(controls.opChc[0]), static_cast<QWidget *>(controls.ckChc[0]),
          static_cast<QWidget *>(labelTemplate)})
        placeBelow(templ, controls.lbQuestion, 120);
    fitWidth(labelTemplate, controls, 600);
    fitWidth(controls.lbCorAns, controls, 840);
    fitWidth(controls.lbExplain, controls, 840);
    fitWidth(controls.lbReference, controls, 840);
    fitWidth(controls.lbURL, controls, 600);

    QLineEdit *boxTemplate = controls.txTI[0];
    QLabel *dotTemplate = controls.lbDot[0];
    if (type == TypedValues) {
        showTypedAnswerPrompt(controls, QStringLiteral("Type correct value in each box below."));
        const QFontMetrics metrics = boxTemplate->fontMetrics();
        boxTemplate->resize(metrics.horizontalAdvance(QStringLiteral("AAAAAA")) + twips(60),
                            textBoxHeight(boxTemplate));
        boxTemplate->setAlignment(Qt::AlignCenter);
        dotTemplate->resize(metrics.horizontalAdvance(QStringLiteral(".")) + twips(30),
                            boxTemplate->height());
        // The first box lines up with the prompt above it.
        dotTemplate->move(boxTemplate->x() - twips(60) - dotTemplate->width(), boxTemplate->y());
    }

    if (type < TextDragAndDrop) {
        for (int p = 1; p <= n; ++p) {
            const QString letter = QChar(u'A' + (p - 1)) + QStringLiteral(".");
            if (type == SingleAnswer || type == MultipleAnswers) {
                const int j = choiceAtPosition(state, q, type, p);
                QLabel *label = loadElement(labelTemplate, p);
                label->setText(choiceTexts.value(j - 1));
                fitHeight(label);
                placeBelow(label, controls.lbChc[p - 1], 240);
                controls.lbChc.append(label);
                QAbstractButton *selector = nullptr;
                if (type == SingleAnswer) {
                    auto *option = loadElement(controls.opChc[0], p);
                    controls.opChc.append(option);
                    selector = option;
                } else {
                    auto *check = loadElement(controls.ckChc[0], p);
                    controls.ckChc.append(check);
                    selector = check;
                }
                selector->setText(letter);
                selector->setAccessibleName(letter + u' ' + label->text());
                selector->move(selector->x(), label->y());
                selector->setEnabled(state.testActive);
                label->setVisible(true);
                selector->setVisible(true);
            } else if (type == TypedAnswer) {
                showTypedAnswerPrompt(
                    controls, QStringLiteral("Type the correct answer in the field below."));
                boxTemplate->resize(twips(7500), textBoxHeight(boxTemplate));
                boxTemplate->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
                boxTemplate->clear();
                boxTemplate->setEnabled(state.testActive);
                boxTemplate->setVisible(true);
                break;
            } else {
                QLineEdit *box = loadElement(boxTemplate, p);
                QLabel *dot = loadElement(dotTemplate, p);
                box->move(controls.lbDot[p - 1]->x() + controls.lbDot[p - 1]->width() + twips(60),
                          box->y());
                box->setText(QStringLiteral("0"));
                box->setEnabled(state.testActive);
                box->setVisible(true);
                controls.txTI.append(box);
                controls.lbDot.append(dot);
                // The separator after the last box is loaded but never shown.
                dot->move(box->x() + box->width() + twips(60), dot->y());
                dot->setVisible(p < n);
            }
        }
    }

    placeBelow(controls.lbTheAnswer, lastAnswerRow(controls, type), 480);
    placeBelow(controls.lbCorAns, controls.lbTheAnswer, 120);
    if (controls.setInstruction)
        controls.setInstruction(instructionText(bank, state, q));
}

void hideChoices(const QuestionBank &bank, QuestionControls &controls, int q)
{
    switch (bank.questions[q].questionType) {
    case SingleAnswer:
    case MultipleAnswers:
        unloadElements(controls.opChc);
        unloadElements(controls.ckChc);
        unloadElements(controls.lbChc);
        break;
    case TypedAnswer:
        controls.lbTI->setVisible(false);
        controls.txTI[0]->setVisible(false);
        break;
    case TypedValues:
        controls.lbTI->setVisible(false);
        unloadElements(controls.txTI);
        unloadElements(controls.lbDot);
        break;
    default:
        break;
    }
}

void refreshDisplay(QuestionControls &controls)
{
    stackExplanation(controls);
    controls.svTest->verticalScrollBar()->setValue(0);
    controls.svTest->horizontalScrollBar()->setValue(0);
    updateScrollRange(controls);
}

} // namespace

void ShowQuestion(const QuestionBank &bank, TestState &state, QuestionControls &controls, int item)
{
    guarded(QStringLiteral("Procedure Name: ShowQuestion"),
            [&] { showQuestion(bank, state, controls, item); });
}

void ShowChoices(const QuestionBank &bank, const TestState &state, QuestionControls &controls,
                 int q)
{
    guarded(QStringLiteral("Procedure Name: ShowChoices"),
            [&] { showChoices(bank, state, controls, q); });
}

void HideChoices(const QuestionBank &bank, QuestionControls &controls, int q)
{
    guarded(QStringLiteral("Procedure Name: HideChoices"), [&] { hideChoices(bank, controls, q); });
}

void ShowCorAns(const QuestionBank &bank, TestState &state, QuestionControls &controls, int q,
                bool openTask)
{
    guarded(QStringLiteral("Procedure Name: ShowCorAns"),
            [&] { showCorAns(bank, state, controls, q, openTask); });
    // An answer window opened later must confirm its answers again.
    state.showingAnswer = false;
}

void HideCorAns(const QuestionBank &bank, QuestionControls &controls, int q)
{
    guarded(QStringLiteral("Procedure Name: HideCorAns"), [&] { hideCorAns(bank, controls, q); });
}

void RefreshDisplay(QuestionControls &controls)
{
    guarded(QStringLiteral("Procedure Name: RefreshDisplay"), [&] { refreshDisplay(controls); });
}

void fitLabelWidths(QuestionControls &controls)
{
    fitWidth(controls.lbQuestion, controls, 600);
    for (QLabel *label : controls.lbChc)
        fitWidth(label, controls, 600);
    for (QLabel *label :
         {controls.lbCorAns, controls.lbExplain, controls.lbObjective, controls.lbReference})
        fitWidth(label, controls, 600);

    // Wrapped texts change height with the width: keep every row below the one above.
    placeBelow(controls.lbChc[0], controls.lbQuestion, 120);
    controls.opChc[0]->move(controls.opChc[0]->x(), controls.lbChc[0]->y());
    controls.ckChc[0]->move(controls.ckChc[0]->x(), controls.lbChc[0]->y());
    stackChoiceRows(controls);
    if (!controls.lbTI->isHidden()) {
        placeBelow(controls.lbTI, controls.lbQuestion, 480);
        placeBelow(controls.txTI[0], controls.lbTI, 120);
        for (QWidget *box : controls.txTI)
            box->move(box->x(), controls.txTI[0]->y());
        for (QWidget *dot : controls.lbDot)
            dot->move(dot->x(), controls.txTI[0]->y());
    }
    const QWidget *lastRow = controls.lbQuestion;
    if (controls.lbChc.size() > 1)
        lastRow = controls.lbChc.last();
    else if (controls.txTI.size() > 1)
        lastRow = controls.txTI.last();
    else if (!controls.txTI[0]->isHidden())
        lastRow = controls.txTI[0];
    placeBelow(controls.lbTheAnswer, lastRow, 480);
    placeBelow(controls.lbCorAns, controls.lbTheAnswer, 120);
}

QString instructionText(const QuestionBank &bank, const TestState &state, int q)
{
    const Question &question = bank.questions[q];
    switch (question.questionType) {
    case SingleAnswer:
        return QStringLiteral("Please select the best answer.");
    case MultipleAnswers:
        if (state.optShowCorrectCount)
            return QStringLiteral("Please select ") +
                   QString::number(NumOfChoices(bank, q, question.answerKey)) +
                   QStringLiteral(" correct answers.");
        return QStringLiteral("Please select all that apply.");
    case TypedAnswer:
    case TypedValues:
        return QStringLiteral("Please type in your answer.");
    default:
        return QStringLiteral("Please click on the Task button to answer.");
    }
}

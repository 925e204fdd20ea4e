#include "testwindow/TestWindow.h"

#include "common/BusyCursor.h"
#include "common/Clock.h"
#include "common/MessageBoxes.h"
#include "common/Twips.h"
#include "engine/AnswerEncoding.h"
#include "engine/Navigation.h"
#include "engine/RuntimeError.h"
#include "engine/TestState.h"
#include "engine/Timing.h"
#include "moduledb/QuestionBank.h"
#include "present/DiagramWindow.h"
#include "present/EnterKey.h"
#include "present/ExhibitWindow.h"
#include "testwindow/GotoWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <type_traits>
#include <utility>

namespace {

const QString referenceAddress = QStringLiteral("https://www.quendra.example.com/reference/");
const QString timeUpLabelText = QStringLiteral("Time Left: 00:00:00");

// The windows that cannot stay open once the time is up, in the order they are closed.
const char *const windowsClosedAtTimeUp[] = {"frTDnD",    "frGDnD",   "frSim",  "frDiagram",
                                             "frExhibit", "frOption", "frInfo", "frGoto"};

QPixmap clockPicture()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 40, 40), 1.4));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    painter.drawLine(QPointF(8, 8), QPointF(8, 4));
    painter.drawLine(QPointF(8, 8), QPointF(11, 9.5));
    return picture;
}

QPushButton *makeButton(const QString &name, const QString &caption, QWidget *parent,
                        const QString &toolTip = {})
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(toolTip);
    button->setAutoDefault(false);
    return button;
}

QFrame *makeButtonFrame(const QString &name, QWidget *parent, QList<QPushButton *> buttons)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    auto *layout = new QHBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(twips(90));
    for (QPushButton *button : buttons) {
        button->setParent(frame);
        button->setMinimumWidth(twips(1500));
        layout->addWidget(button);
    }
    return frame;
}

template <typename Control>
Control *makeControl(const QString &name, const QString &caption, QWidget *parent)
{
    auto *control = new Control(parent);
    control->setObjectName(name);
    if constexpr (std::is_base_of_v<QLabel, Control>)
        control->setTextFormat(Qt::PlainText);
    control->setText(caption);
    return control;
}

int elementIndex(const QObject *element)
{
    return element->property("index").toInt();
}

} // namespace

TestWindow::TestWindow(const QuestionBank &bank, TestState &state, QWidget *parent)
    : QWidget(parent), m_bank(bank), m_state(state)
{
    setObjectName(QStringLiteral("frTest"));
    // A child of the main window's screen area, which has its own background.
    setAutoFillBackground(true);
    buildControls();
    m_controls.setInstruction = [this](const QString &text) { setInstruction(text); };
    m_controls.showButtons = [this](int item) { ShowButtons(item); };
    m_controls.showAnswerTask = [this](int q) { Q_EMIT answerTaskRequested(q); };
    resize(800, 600);
}

void TestWindow::buildControls()
{
    auto *lbItem =
        makeControl<QLabel>(QStringLiteral("lbItem"), QStringLiteral("Item Number"), this);
    // Bold and nothing else, so that the headings of the item follow its font size.
    QFont headingFont;
    headingFont.setBold(true);
    lbItem->setFont(headingFont);
    lbItem->setAlignment(Qt::AlignCenter);
    m_controls.lbItem = lbItem;

    m_lbTime = makeControl<QLabel>(QStringLiteral("lbTime"), QStringLiteral("Time Left:"), this);
    m_lbTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_imTimer = new QLabel(this);
    m_imTimer->setTextFormat(Qt::PlainText);
    m_imTimer->setObjectName(QStringLiteral("imTimer"));
    m_imTimer->setPixmap(clockPicture());
    m_imTimer->setFixedSize(16, 16);
    m_imTimer->setVisible(false);
    m_tmTimer = new QTimer(this);
    m_tmTimer->setObjectName(QStringLiteral("tmTimer"));
    m_tmTimer->setInterval(1000);
    connect(m_tmTimer, &QTimer::timeout, this, &TestWindow::timerTick);

    m_ckMark =
        makeControl<QCheckBox>(QStringLiteral("ckMark"), QStringLiteral("&Mark Question"), this);
    // Alt+G stays with Grade Test.
    m_cmGoto = makeButton(QStringLiteral("cmGoto"), QStringLiteral("G&o To"), this,
                          QStringLiteral("Go to item"));
    m_cmList = makeButton(QStringLiteral("cmList"), QStringLiteral("&Item Review"), this,
                          QStringLiteral("Item review"));
    connect(m_cmGoto, &QPushButton::clicked, this, &TestWindow::gotoButton);
    connect(m_cmList, &QPushButton::clicked, this, &TestWindow::listButton);

    auto *svTest = new QScrollArea(this);
    svTest->setObjectName(QStringLiteral("svTest"));
    svTest->setWidgetResizable(false);
    svTest->setFrameShape(QFrame::StyledPanel);
    auto *area = new QWidget;
    area->setObjectName(QStringLiteral("questionArea"));
    QPalette white = area->palette();
    white.setColor(QPalette::Window, Qt::white);
    area->setPalette(white);
    area->setAutoFillBackground(true);
    svTest->setWidget(area);
    m_controls.svTest = svTest;
    m_controls.questionArea = area;

    const int textLeft = twips(240);
    auto label = [area, textLeft](const QString &name, const QString &caption) {
        auto *control = makeControl<QLabel>(name, caption, area);
        control->setWordWrap(true);
        control->setTextInteractionFlags(Qt::NoTextInteraction);
        control->move(textLeft, twips(240));
        return control;
    };
    m_controls.lbQuestion = label(QStringLiteral("lbQuestion"), QStringLiteral("Question"));

    QLabel *choiceTemplate = label(QStringLiteral("lbChc"), QStringLiteral("Choice"));
    choiceTemplate->setPalette(white);
    choiceTemplate->setAutoFillBackground(true);
    choiceTemplate->setProperty("index", 0);
    auto *optionTemplate =
        makeControl<QRadioButton>(QStringLiteral("opChc"), QStringLiteral("Choice"), area);
    auto *checkTemplate =
        makeControl<QCheckBox>(QStringLiteral("ckChc"), QStringLiteral("Choice"), area);
    for (QAbstractButton *selector : {static_cast<QAbstractButton *>(optionTemplate),
                                      static_cast<QAbstractButton *>(checkTemplate)}) {
        selector->move(textLeft, selector->y());
        selector->setProperty("index", 0);
    }
    auto *boxTemplate = new QLineEdit(area);
    boxTemplate->setObjectName(QStringLiteral("txTI"));
    boxTemplate->setProperty("index", 0);
    boxTemplate->move(textLeft, boxTemplate->y());
    QLabel *dotTemplate = makeControl<QLabel>(QStringLiteral("lbDot"), QStringLiteral("."), area);
    dotTemplate->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    dotTemplate->setProperty("index", 0);
    m_controls.lbChc = {choiceTemplate};
    m_controls.opChc = {optionTemplate};
    m_controls.ckChc = {checkTemplate};
    m_controls.txTI = {boxTemplate};
    m_controls.lbDot = {dotTemplate};
    m_controls.lbTI = label(QStringLiteral("lbTI"), QStringLiteral("Type in the answer:"));
    fitChoiceTemplates();

    m_controls.lbTheAnswer = label(QStringLiteral("lbTheAnswer"), QStringLiteral("Explanation:"));
    m_controls.lbCorAns = label(QStringLiteral("lbCorAns"), QStringLiteral("Correct Answer"));
    m_controls.lbExplain = label(QStringLiteral("lbExplain"), QStringLiteral("Explanation"));
    m_controls.lbURL = label(QStringLiteral("lbURL"), referenceAddress);
    m_controls.lbTheObjective =
        label(QStringLiteral("lbTheObjective"), QStringLiteral("Objective:"));
    m_controls.lbObjective = label(QStringLiteral("lbObjective"), QStringLiteral("Objective"));
    m_controls.lbTheReference =
        label(QStringLiteral("lbTheReference"), QStringLiteral("Reference:"));
    m_controls.lbReference = label(QStringLiteral("lbReference"), QStringLiteral("Reference"));
    for (QLabel *heading :
         {m_controls.lbTheAnswer, m_controls.lbTheObjective, m_controls.lbTheReference})
        heading->setFont(headingFont);
    QPalette link = m_controls.lbURL->palette();
    link.setColor(QPalette::WindowText, QColor(0, 0, 255));
    m_controls.lbURL->setPalette(link);
    m_controls.lbURL->setCursor(Qt::PointingHandCursor);
    m_controls.lbURL->installEventFilter(this);

    for (QWidget *hidden : area->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (hidden != m_controls.lbQuestion)
            hidden->setVisible(false);
    }

    m_cmPrevious = makeButton(QStringLiteral("cmPrevious"), QStringLiteral("<< &Prev. Item"), this,
                              QStringLiteral("Previous Item"));
    m_cmNext = makeButton(QStringLiteral("cmNext"), QStringLiteral("&Next Item >>"), this,
                          QStringLiteral("Next Item"));
    m_cmDiagram = makeButton(QStringLiteral("cmDiagram"), QStringLiteral("&Diagram"), this);
    // Alt+X is the menu's Exit and Alt+T its Test menu.
    m_cmExhibit = makeButton(QStringLiteral("cmExhibit"), QStringLiteral("&Exhibit"), this);
    m_cmTask = makeButton(QStringLiteral("cmTask"), QStringLiteral("Tas&k"), this);
    m_cmAnswer = makeButton(QStringLiteral("cmAnswer"), QStringLiteral("Show &Answer"), this);
    m_cmEnd = makeButton(QStringLiteral("cmEnd"), QStringLiteral("&Grade Test"), this,
                         QStringLiteral("Grade Test"));
    m_faFLeft = makeButtonFrame(QStringLiteral("faFLeft"), this, {m_cmPrevious, m_cmNext});
    m_faFMid =
        makeButtonFrame(QStringLiteral("faFMid"), this, {m_cmDiagram, m_cmExhibit, m_cmTask});
    m_faFRight = makeButtonFrame(QStringLiteral("faFRight"), this, {m_cmAnswer, m_cmEnd});

    connect(m_cmNext, &QPushButton::clicked, this, &TestWindow::NextQuestion);
    connect(m_cmPrevious, &QPushButton::clicked, this, &TestWindow::PreviousQuestion);
    connect(m_cmDiagram, &QPushButton::clicked, this, &TestWindow::diagramButton);
    connect(m_cmExhibit, &QPushButton::clicked, this, &TestWindow::exhibitButton);
    connect(m_cmTask, &QPushButton::clicked, this, [this] { Q_EMIT taskRequested(m_state.curQ); });
    connect(m_cmAnswer, &QPushButton::clicked, this, &TestWindow::answerButton);
    connect(m_cmEnd, &QPushButton::clicked, this, &TestWindow::endButton);
}

void TestWindow::load()
{
    setWindowTitle(QStringLiteral("Exam #") + m_bank.testInfo.examCode + QStringLiteral(", ") +
                   m_bank.testInfo.examTitle);
    // Also lays the window out, so the item is drawn for its width.
    SetTestTimer();
    m_state.curItem = 1;
    m_cmAnswer->setEnabled(m_state.optAnswerButton);
    showItem(m_state.curItem);
    m_loaded = true;
    layoutControls();
}

void TestWindow::activate()
{
    const WindowStates states = windowStates(m_state);
    m_ckMark->setEnabled(states.markEnabled);
    m_cmList->setEnabled(states.listEnabled);
    const NavCaptions captions = navCaptions(m_state);
    m_cmPrevious->setText(captions.previousCaption);
    m_cmPrevious->setToolTip(captions.previousToolTip);
    m_cmNext->setText(captions.nextCaption);
    m_cmNext->setToolTip(captions.nextToolTip);
    m_cmGoto->setEnabled(captions.gotoEnabled);
    m_cmEnd->setText(states.endCaption);
    m_cmEnd->setToolTip(states.endToolTip);
    // The button frames fit the captions of the mode.
    layoutControls();
    Q_EMIT activated();
}

void TestWindow::SetTestTimer()
{
    const TimerDisplay display = ::SetTestTimer(m_state);
    if (display.timerEnabled)
        m_tmTimer->start();
    else
        m_tmTimer->stop();
    m_imTimer->setVisible(display.clockVisible);
    m_lbTime->setEnabled(display.labelEnabled);
    m_lbTime->setText(display.timeLeft);
    layoutControls();
}

void TestWindow::fitChoiceTemplates()
{
    // The selectors carry the choice letters: wide enough for the widest letter in the
    // current size, and the choice text starts just after them.
    QRadioButton *optionTemplate = m_controls.opChc[0];
    QLabel *choiceTemplate = m_controls.lbChc[0];
    int selectorWidth = twips(570);
    for (QAbstractButton *selector : {static_cast<QAbstractButton *>(optionTemplate),
                                      static_cast<QAbstractButton *>(m_controls.ckChc[0])}) {
        const QFontMetrics metrics = selector->fontMetrics();
        selectorWidth = qMax(selectorWidth, selector->sizeHint().width() -
                                                metrics.horizontalAdvance(selector->text()) +
                                                metrics.horizontalAdvance(QStringLiteral("W.")));
    }
    for (QAbstractButton *selector : {static_cast<QAbstractButton *>(optionTemplate),
                                      static_cast<QAbstractButton *>(m_controls.ckChc[0])})
        selector->resize(selectorWidth, selector->sizeHint().height());
    choiceTemplate->move(optionTemplate->x() + selectorWidth + twips(30), choiceTemplate->y());
    // The first line of a choice's text sits level with the letter of its selector.
    const int letterOffset =
        qMax(0, (optionTemplate->sizeHint().height() - choiceTemplate->fontMetrics().height()) / 2);
    choiceTemplate->setContentsMargins(0, letterOffset, 0, 0);
}

void TestWindow::SetTestFontSize(int points)
{
    // The item's text and answer controls take the size; the buttons around them keep theirs,
    // so that they still fit an 800 x 600 window.
    QFont sized = m_controls.questionArea->font();
    sized.setPointSize(points);
    m_controls.questionArea->setFont(sized);
    fitChoiceTemplates();
    if (!m_loaded)
        return;
    layoutControls();
    GoToItem(m_state.curItem);
}

void TestWindow::NextQuestion()
{
    guarded(QStringLiteral("Procedure Name: NextQuestion"), [&] {
        SaveAnswer(m_state.curQ);
        if (!m_state.optPrevious && m_state.testActive) {
            const AnswerRequirement requirement =
                checkAnswerRequired(m_bank, m_state, m_state.curQ);
            if (requirement != AnswerRequirement::Accepted) {
                showAnswerRequiredBox(m_bank, m_state.curQ, requirement);
                return;
            }
        }
        switch (advanceItem(m_state)) {
        case NextOutcome::ShowItem:
            redraw(true);
            break;
        case NextOutcome::LeaveForList:
            leaveForList();
            break;
        case NextOutcome::AskToEndTest:
            if (showMessage(endingTestTitle, endTestPromptText, MessageIcon::Question,
                            MessageButtons::YesNo) == MessageButton::Yes)
                endTest();
            else
                redraw(true);
            break;
        }
    });
}

void TestWindow::PreviousQuestion()
{
    guarded(QStringLiteral("Procedure Name: PreviousQuestion"), [&] {
        SaveAnswer(m_state.curQ);
        if (stepBackItem(m_state))
            redraw(true);
    });
}

void TestWindow::GoToItem(int item)
{
    guarded(QStringLiteral("Procedure Name: GoToItem"), [&] {
        if (m_state.testActive)
            SaveAnswer(m_state.curQ);
        if (m_state.curQ != 0)
            HideChoices(m_bank, m_controls, m_state.curQ);
        showItem(item);
        // A new item starts at its top, whatever the last one was scrolled to.
        RefreshDisplay(m_controls);
    });
}

void TestWindow::redraw(bool refresh)
{
    HideChoices(m_bank, m_controls, m_state.curQ);
    showItem(m_state.curItem);
    if (refresh)
        RefreshDisplay(m_controls);
}

void TestWindow::showItem(int item)
{
    ShowQuestion(m_bank, m_state, m_controls, item);
    // The choice labels answer clicks like their selectors.
    for (qsizetype p = 1; p < m_controls.lbChc.size(); ++p)
        m_controls.lbChc[p]->installEventFilter(this);
    // A value box starting at "0" is replaced by what is typed into it.
    for (qsizetype p = 1; p < m_controls.txTI.size(); ++p)
        m_controls.txTI[p]->installEventFilter(this);
    ReadAnswer(m_state.curQ);
    orderFocus();
}

void TestWindow::orderFocus()
{
    // The answer controls in reading order, then the question area to scroll it.
    QList<QWidget *> answers;
    for (QWidget *control : m_controls.questionArea->findChildren<QWidget *>()) {
        if ((qobject_cast<QAbstractButton *>(control) || qobject_cast<QLineEdit *>(control)) &&
            control->isVisibleTo(this) && control->isEnabled())
            answers.append(control);
    }
    std::sort(answers.begin(), answers.end(), [](const QWidget *a, const QWidget *b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    // Tab follows reading order: the heading's controls, the answers, the buttons below.
    QList<QWidget *> chain = {m_ckMark, m_cmGoto, m_cmList};
    chain += answers;
    chain += {m_controls.svTest, m_cmPrevious, m_cmNext,   m_cmDiagram,
              m_cmExhibit,       m_cmTask,     m_cmAnswer, m_cmEnd};
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
    // A new item starts at its first answer, or at the button that opens its answer window.
    if (!answers.isEmpty())
        answers.first()->setFocus();
    else if (m_cmTask->isEnabled())
        m_cmTask->setFocus();
}

void TestWindow::ShowButtons(int item)
{
    guarded(QStringLiteral("Procedure Name: ShowButtons"), [&] {
        const ButtonStates buttons = buttonStates(m_bank, m_state, item);
        m_cmPrevious->setEnabled(buttons.previous);
        m_cmNext->setEnabled(buttons.next);
        m_cmDiagram->setEnabled(buttons.diagram);
        m_cmExhibit->setEnabled(buttons.exhibit);
        m_cmTask->setEnabled(buttons.task);
        m_cmAnswer->setEnabled(buttons.answer);
    });
}

void TestWindow::SaveAnswer(int q)
{
    // Once graded the controls only show the record; storing them again could only
    // change it (an unanswered value box would come back as "0").
    if (q == 0 || !m_state.testActive)
        return;
    guarded(QStringLiteral("Procedure Name: SaveAnswer"), [&] {
        AnswerControlState controls;
        controls.marked = m_ckMark->isChecked();
        switch (m_bank.questions[q].questionType) {
        case SingleAnswer:
            for (qsizetype p = 1; p < m_controls.opChc.size(); ++p)
                controls.selected.append(m_controls.opChc[p]->isChecked());
            break;
        case MultipleAnswers:
            for (qsizetype p = 1; p < m_controls.ckChc.size(); ++p)
                controls.selected.append(m_controls.ckChc[p]->isChecked());
            break;
        case TypedAnswer:
            controls.typedAnswer = m_controls.txTI[0]->text();
            break;
        case TypedValues:
            for (qsizetype p = 1; p < m_controls.txTI.size(); ++p)
                controls.values.append(m_controls.txTI[p]->text());
            break;
        default:
            break;
        }
        storeAnswer(m_bank, m_state, q, controls);
    });
}

void TestWindow::ReadAnswer(int q)
{
    if (q == 0)
        return;
    guarded(QStringLiteral("Procedure Name: ReadAnswer"), [&] {
        AnswerControlState controls = drawnControlState(m_bank, q);
        restoreAnswer(m_bank, m_state, q, controls);
        if (m_state.optPrevious)
            m_ckMark->setChecked(controls.marked);
        switch (m_bank.questions[q].questionType) {
        case SingleAnswer:
            for (int p = 1; p <= controls.selected.size(); ++p) {
                if (controls.selected[p])
                    m_controls.opChc[p]->setChecked(true);
            }
            break;
        case MultipleAnswers:
            for (int p = 1; p <= controls.selected.size(); ++p)
                m_controls.ckChc[p]->setChecked(controls.selected[p]);
            break;
        case TypedAnswer:
            m_controls.txTI[0]->setText(controls.typedAnswer);
            break;
        case TypedValues:
            for (int p = 1; p <= controls.values.size(); ++p)
                m_controls.txTI[p]->setText(controls.values[p]);
            break;
        default:
            break;
        }
    });
}

void TestWindow::markFromRecord()
{
    if (m_state.curQ != 0 && m_state.optPrevious)
        m_ckMark->setChecked(m_state.answerRecs[m_state.curQ].marked);
}

void TestWindow::timerTick()
{
    // A test graded from elsewhere (the item review list) has no time left to count.
    if (!m_state.testActive) {
        stopClock();
        return;
    }
    const TimerTick tick = ::timerTick(m_state, Clock::current().now());
    m_lbTime->setText(tick.timeLeft);
    if (!tick.expired)
        return;
    m_tmTimer->stop();
    m_lbTime->setText(timeUpLabelText);
    showMessage(timeUpTitle, timeUpText, MessageIcon::Warning);
    closeOpenDialogs();
    endTest();
}

void TestWindow::setInstruction(const QString &text)
{
    m_instruction = text;
    Q_EMIT instructionChanged(text);
}

void TestWindow::leaveForList()
{
    hide();
    Q_EMIT reviewListRequested();
}

void TestWindow::endTest()
{
    // The time can run out while a box about ending the test is still open.
    if (!m_state.testActive)
        return;
    SaveAnswer(m_state.curQ);
    stopClock();
    m_state.testActive = false;
    Q_EMIT gradeRequested();
    hide();
}

void TestWindow::stopClock()
{
    m_tmTimer->stop();
    m_imTimer->setVisible(false);
    m_lbTime->setText(timeUpLabelText);
    m_lbTime->setEnabled(false);
}

void TestWindow::closeOpenDialogs()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (const char *name : windowsClosedAtTimeUp) {
        for (QWidget *window : windows) {
            if (window->objectName() != QLatin1String(name) || !window->isVisible())
                continue;
            if (auto *dialog = qobject_cast<QDialog *>(window))
                dialog->reject();
            else
                window->close();
        }
    }
}

void TestWindow::endButton()
{
    if (!m_state.testActive) {
        hide();
        Q_EMIT scoreReportRequested();
        return;
    }
    if (showMessage(endingTestTitle, endAndGradePromptText, MessageIcon::Question,
                    MessageButtons::YesNo) != MessageButton::Yes)
        return;
    // The time may have run out while the question was open: the test is graded already.
    if (!m_state.testActive)
        return;
    setInstruction(QString());
    BusyCursor busy;
    endTest();
}

void TestWindow::listButton()
{
    SaveAnswer(m_state.curQ);
    leaveForList();
}

void TestWindow::answerButton()
{
    SaveAnswer(m_state.curQ);
    ShowCorAns(m_bank, m_state, m_controls, m_state.curQ, true);
}

void TestWindow::gotoButton()
{
    GotoWindow frGoto(
        m_state, [this](int item) { GoToItem(item); }, this);
    frGoto.exec();
}

void TestWindow::diagramButton()
{
    ShowDiagram(m_bank, m_state, m_moduleFolder, this);
}

void TestWindow::exhibitButton()
{
    ShowExhibit(m_bank, m_state, m_moduleFolder, this);
}

void TestWindow::clickChoiceLabel(int position)
{
    guarded(QStringLiteral("Procedure Name: lbChcClickErr"), [&] {
        if (!m_state.testActive)
            return;
        const int type = m_bank.questions[m_state.curQ].questionType;
        if (type == SingleAnswer)
            m_controls.opChc.at(position)->setChecked(true);
        else if (type == MultipleAnswers)
            m_controls.ckChc.at(position)->toggle();
    });
}

bool TestWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && watched->objectName() == QLatin1String("txTI") &&
        elementIndex(watched) > 0) {
        // After the click that gave the focus has placed the cursor.
        QMetaObject::invokeMethod(static_cast<QLineEdit *>(watched), &QLineEdit::selectAll,
                                  Qt::QueuedConnection);
    }
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == m_controls.lbURL)
            QDesktopServices::openUrl(QUrl(m_controls.lbURL->text()));
        else if (watched->objectName() == QLatin1String("lbChc") && elementIndex(watched) > 0)
            clickChoiceLabel(elementIndex(watched));
    }
    return QWidget::eventFilter(watched, event);
}

void TestWindow::keyPressEvent(QKeyEvent *event)
{
    if (!pressOnEnter(this, event, nullptr))
        QWidget::keyPressEvent(event);
}

void TestWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    activate();
}

void TestWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (window()->isMinimized())
        return;
    layoutControls();
}

void TestWindow::layoutControls()
{
    const int w = width();
    const int h = height();
    const int frameHeight = m_faFLeft->sizeHint().height();
    const int frameTop = h - twips(80) - frameHeight;
    m_faFLeft->setGeometry(twips(60), frameTop, m_faFLeft->sizeHint().width(), frameHeight);
    const int midWidth = m_faFMid->sizeHint().width();
    m_faFMid->setGeometry((w - midWidth) / 2, frameTop, midWidth, frameHeight);
    const int rightWidth = m_faFRight->sizeHint().width();
    m_faFRight->setGeometry(w - twips(60) - rightWidth, frameTop, rightWidth, frameHeight);

    const int headerHeight = m_cmList->sizeHint().height() + twips(180);
    const int rowTop = twips(90);
    const int rowHeight = headerHeight - 2 * rowTop;
    const int timeWidth =
        m_lbTime->fontMetrics().horizontalAdvance(QStringLiteral("Time Left: 000:00:00"));
    m_lbTime->setGeometry(w - twips(120) - timeWidth, rowTop, timeWidth, rowHeight);
    m_imTimer->move(m_lbTime->x() - twips(60) - m_imTimer->width(),
                    rowTop + (rowHeight - m_imTimer->height()) / 2);
    const int listWidth = m_cmList->sizeHint().width();
    const int listRight = qMin(w - twips(2160), m_imTimer->x() - twips(240));
    m_cmList->setGeometry(listRight - listWidth, rowTop, listWidth, rowHeight);
    const int gotoWidth = m_cmGoto->sizeHint().width();
    m_cmGoto->setGeometry(m_cmList->x() - twips(90) - gotoWidth, rowTop, gotoWidth, rowHeight);
    m_ckMark->setGeometry(twips(120), rowTop, m_ckMark->sizeHint().width(), rowHeight);
    // Centred in the window, as wide as the controls on both sides leave room for.
    const int halfWidth =
        qMax(0, qMin(w / 2 - m_ckMark->geometry().right(), m_cmGoto->x() - w / 2) - twips(120));
    const int roomLeft = m_ckMark->geometry().right() + twips(120);
    if (2 * halfWidth >= m_controls.lbItem->sizeHint().width())
        m_controls.lbItem->setGeometry(w / 2 - halfWidth, rowTop, 2 * halfWidth, rowHeight);
    else // too narrow there for the item line: all the room between the two sides
        m_controls.lbItem->setGeometry(roomLeft, rowTop,
                                       qMax(0, m_cmGoto->x() - twips(120) - roomLeft), rowHeight);

    m_controls.svTest->setGeometry(0, headerHeight, w,
                                   qMax(0, frameTop - twips(80) - headerHeight));
    if (m_loaded) {
        fitLabelWidths(m_controls);
        RefreshDisplay(m_controls);
    }
}

#include "interactive/SimWindow.h"

#include "common/MessageBoxes.h"
#include "engine/RuntimeError.h"
#include "engine/TestState.h"
#include "interactive/TwipsRect.h"
#include "moduledb/QuestionBank.h"
#include "present/EnterKey.h"
#include "present/ModulePicture.h"
#include "present/ScreenFit.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int margin = 120;
constexpr int headingWidth = 2295;
constexpr int headingHeight = 255;
constexpr int taskTop = 480;
constexpr int taskSize = 240;
constexpr int taskGap = 20;
constexpr int instructionLeft = 480;
constexpr int instructionWidth = 1935;
constexpr int tabLeft = 2520;
constexpr int tabTop = 120;
constexpr int tabWidth = 6615;
constexpr int tabHeight = 5355;
constexpr int buttonHeight = 375;
constexpr int buttonWidth = 915;
constexpr int closeLeft = 1500;
constexpr int lineStep = 210;

QFont consoleFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(8.25);
    return font;
}

void setColours(QWidget *widget, const QColor &background, const QColor &text)
{
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, background);
    colours.setColor(QPalette::Base, background);
    colours.setColor(QPalette::WindowText, text);
    colours.setColor(QPalette::Text, text);
    widget->setPalette(colours);
    widget->setAutoFillBackground(true);
}

// The session keeps the device's CR LF line ends; labels break lines at LF.
QString displayText(const QString &text)
{
    QString shown = text;
    return shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

SimWindow::SimWindow(const QuestionBank &bank, TestState &state, SimSession session,
                     const QPixmap &picture, QWidget *parent)
    : AnswerDialog(parent), m_bank(bank), m_state(state), m_session(std::move(session))
{
    setObjectName(QStringLiteral("frSim"));
    setWindowTitle(simCaption);

    buildTaskColumn();
    buildConsole();

    m_imDiagram = new QLabel(this);
    m_imDiagram->setTextFormat(Qt::PlainText);
    m_imDiagram->setObjectName(QStringLiteral("imDiagram"));
    m_imDiagram->setPixmap(picture);
    m_imDiagram->setGeometry(twips(tabLeft), twips(tabTop), picture.width(), picture.height());

    m_cmAlt = new QPushButton(QStringLiteral("&Topology"), this);
    m_cmAlt->setObjectName(QStringLiteral("cmAlt"));
    m_cmAlt->setAutoDefault(false);
    connect(m_cmAlt, &QPushButton::clicked, this, &SimWindow::altClicked);
    m_cmClose = new QPushButton(QStringLiteral("&Close"), this);
    m_cmClose->setObjectName(QStringLiteral("cmClose"));
    m_cmClose->setAutoDefault(false);
    connect(m_cmClose, &QPushButton::clicked, this, &SimWindow::closeClicked);
    setCloseButton(m_cmClose);
    // Neither is a default button, which Enter on the command line would press; Enter on
    // the button itself presses it.
    m_cmAlt->installEventFilter(this);
    m_cmClose->installEventFilter(this);

    m_stsCommand = new QStatusBar(this);
    m_stsCommand->setObjectName(QStringLiteral("stsCommand"));
    m_stsCommand->setSizeGripEnabled(false);

    placeControls();
    showSession();
    // The candidate is asked to begin with task 1.
    if (m_lbTask.size() > 1 && m_lbTask[1]->isEnabled())
        m_lbTask[1]->setFocus();
}

void SimWindow::buildTaskColumn()
{
    m_lbTasks = new QLabel(this);
    m_lbTasks->setTextFormat(Qt::PlainText);
    m_lbTasks->setText(QStringLiteral("Tasks"));
    m_lbTasks->setObjectName(QStringLiteral("lbTasks"));
    m_lbTasks->setAlignment(Qt::AlignCenter);
    QFont bold = m_lbTasks->font();
    bold.setBold(true);
    m_lbTasks->setFont(bold);
    setColours(m_lbTasks, Qt::black, Qt::white);
    m_lbTasks->setGeometry(twipsRect(margin, margin, headingWidth, headingHeight));

    for (int t = 0; t < m_session.taskLabels.size(); ++t) {
        auto *label = new QLabel(this);
        label->setTextFormat(Qt::PlainText);
        label->setText(QString::number(t));
        label->setObjectName(QStringLiteral("lbTask"));
        label->setProperty("index", t);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setFont(bold);
        label->setAccessibleName(t == 0 ? QStringLiteral("Task overview")
                                        : QStringLiteral("Task %1").arg(t));
        label->setFocusPolicy(Qt::StrongFocus);
        label->setGeometry(
            twipsRect(margin, taskTop + t * (taskSize + taskGap), taskSize, taskSize));
        label->installEventFilter(this);
        m_lbTask.append(label);
    }

    m_txTask = new QPlainTextEdit(this);
    m_txTask->setObjectName(QStringLiteral("txTask"));
    m_txTask->setReadOnly(true);
    m_txTask->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setColours(m_txTask, palette().color(QPalette::ToolTipBase), Qt::black);
}

void SimWindow::buildConsole()
{
    m_ssSim = new QTabWidget(this);
    m_ssSim->setObjectName(QStringLiteral("ssSim"));
    m_consolePage = new QWidget;
    m_ssSim->addTab(m_consolePage, QStringLiteral("Network Device"));
    m_ssSim->tabBar()->installEventFilter(this);
    m_consolePage->installEventFilter(this);

    m_svPort = new QScrollArea(m_consolePage);
    m_svPort->setObjectName(QStringLiteral("svPort"));
    m_svPort->setWidgetResizable(true);
    m_svPort->verticalScrollBar()->setSingleStep(twips(lineStep));
    m_svPort->viewport()->installEventFilter(this);
    // The transcript grows upwards from the bottom edge like a terminal, and every update
    // scrolls to its last line.
    auto *transcriptArea = new QWidget;
    setColours(transcriptArea, Qt::white, Qt::black);
    auto *column = new QVBoxLayout(transcriptArea);
    column->setContentsMargins(2, 0, 2, 0);
    column->addStretch();
    m_lbOutput = new QLabel(transcriptArea);
    m_lbOutput->setTextFormat(Qt::PlainText);
    m_lbOutput->setObjectName(QStringLiteral("lbOutput"));
    m_lbOutput->setTextFormat(Qt::PlainText);
    m_lbOutput->setFont(consoleFont());
    m_lbOutput->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    m_lbOutput->installEventFilter(this);
    column->addWidget(m_lbOutput);
    m_svPort->setWidget(transcriptArea);
    connect(m_svPort->verticalScrollBar(), &QScrollBar::rangeChanged, this,
            [this](int, int maximum) { m_svPort->verticalScrollBar()->setValue(maximum); });

    m_lbPrompt = new QLabel(m_consolePage);
    m_lbPrompt->setTextFormat(Qt::PlainText);
    m_lbPrompt->setText(QStringLiteral("Router>"));
    m_lbPrompt->setObjectName(QStringLiteral("lbPrompt"));
    m_lbPrompt->setTextFormat(Qt::PlainText);
    m_lbPrompt->setFont(consoleFont());
    setColours(m_lbPrompt, Qt::white, Qt::black);
    m_lbPrompt->installEventFilter(this);

    m_txInput = new QLineEdit(m_consolePage);
    m_txInput->setObjectName(QStringLiteral("txInput"));
    m_txInput->setFrame(false);
    m_txInput->setFont(consoleFont());
    setColours(m_txInput, Qt::white, Qt::black);
    m_txInput->setTextMargins(0, 0, 0, 0);
    connect(m_txInput, &QLineEdit::returnPressed, this, &SimWindow::enterPressed);
}

void SimWindow::placeControls()
{
    const QPixmap picture = m_imDiagram->pixmap();
    QRect tab = twipsRect(tabLeft, tabTop, tabWidth, tabHeight);
    QRect pictureArea = m_imDiagram->geometry();
    // The console and the picture share one place, as large as the larger of the two.
    if (tab.height() < picture.height())
        tab.setHeight(picture.height());
    else
        pictureArea.moveTop(pictureArea.top() + tab.height() / 2 - picture.height() / 2);
    if (tab.width() < picture.width())
        tab.setWidth(picture.width());
    else
        pictureArea.moveLeft(pictureArea.left() + tab.width() / 2 - picture.width() / 2);
    m_ssSim->setGeometry(tab);
    m_imDiagram->setGeometry(pictureArea);

    const int buttonTop = tab.bottom() + 1 - twips(buttonHeight);
    m_cmAlt->setGeometry(twips(instructionLeft), buttonTop, twips(buttonWidth),
                         twips(buttonHeight));
    m_cmClose->setGeometry(twips(closeLeft), buttonTop, twips(buttonWidth), twips(buttonHeight));
    m_txTask->setGeometry(twips(instructionLeft), twips(taskTop), twips(instructionWidth),
                          buttonTop - twips(taskTop) - twips(240));

    const int width = tab.right() + 1 + twips(margin);
    const int statusTop = tab.bottom() + 1 + twips(240);
    const int statusHeight = m_stsCommand->sizeHint().height();
    m_stsCommand->setGeometry(0, statusTop, width, statusHeight);
    setFixedSizeWithinScreen(this, QSize(width, statusTop + statusHeight));
}

void SimWindow::placeConsole()
{
    const QSize page = m_consolePage->size();
    m_lbPrompt->adjustSize();
    const int promptHeight = std::max(m_lbPrompt->height(), m_txInput->sizeHint().height());
    const int promptTop = page.height() - promptHeight - twips(margin);
    m_svPort->setGeometry(twips(margin), twips(margin), page.width() - 2 * twips(margin),
                          promptTop - twips(margin));
    m_lbPrompt->move(twips(margin), promptTop);
    m_lbPrompt->resize(m_lbPrompt->width(), promptHeight);
    placeCommandLine();
}

void SimWindow::placeCommandLine()
{
    m_lbPrompt->adjustSize();
    const int promptHeight = std::max(m_lbPrompt->height(), m_txInput->sizeHint().height());
    m_lbPrompt->resize(m_lbPrompt->width(), promptHeight);
    m_txInput->setGeometry(m_lbPrompt->geometry().right() + 1, m_lbPrompt->y(),
                           std::max(1, m_svPort->width() - m_lbPrompt->width()), promptHeight);
}

void SimWindow::showSession()
{
    for (int t = 0; t < m_lbTask.size() && t < m_session.taskLabels.size(); ++t) {
        const SimTaskLabel &state = m_session.taskLabels[t];
        QLabel *label = m_lbTask[t];
        if (state.selected)
            setColours(label, Qt::black, Qt::white);
        else
            setColours(label, palette().color(QPalette::Button), Qt::black);
        // Only the labels that can be clicked show their number in full black or white.
        QPalette greyed = label->palette();
        greyed.setColor(QPalette::Disabled, QPalette::WindowText, Qt::gray);
        label->setPalette(greyed);
        label->setEnabled(state.enabled);
    }
    m_txTask->setPlainText(displayText(m_session.taskText));
    m_stsCommand->showMessage(m_session.statusText);
    m_lbPrompt->setText(m_session.prompt());
    placeCommandLine();
    m_ssSim->setVisible(m_session.consoleShown);
    m_imDiagram->setVisible(!m_session.consoleShown);
    m_cmAlt->setEnabled(m_session.viewSwitchEnabled);
    // The caption names the view the button switches to; disabled at the overview, it keeps
    // the console's.
    const bool toTopology = m_session.consoleShown || !m_session.viewSwitchEnabled;
    m_cmAlt->setText(toTopology ? QStringLiteral("&Topology") : QStringLiteral("De&vice"));
    m_txInput->setEnabled(m_session.inputEnabled);
    m_lbOutput->setText(displayText(m_session.transcript));
}

void SimWindow::taskClicked(int t)
{
    const bool opened = guarded(QStringLiteral("Procedure Name: ShowSimTask"), false,
                                [&] { return ShowSimTask(m_session, m_bank, t); });
    if (!opened)
        return;
    showSession();
    m_txInput->clear();
    if (t != 0)
        focusCommandLine();
}

void SimWindow::enterPressed()
{
    const SimLineResult result =
        guarded(QStringLiteral("Procedure Name: submitSimLine"), SimLineResult::Ignored,
                [&] { return submitSimLine(m_session, m_bank, m_txInput->text()); });
    if (result == SimLineResult::Ignored)
        return;
    if (result != SimLineResult::Echoed)
        m_txInput->clear();
    showSession();
    if (result == SimLineResult::Accepted)
        focusCommandLine();
    // The command line is off now; Close is the way on.
    if (result == SimLineResult::Completed)
        m_cmClose->setFocus();
}

void SimWindow::altClicked()
{
    toggleSimView(m_session);
    showSession();
    if (m_session.consoleShown)
        focusCommandLine();
}

void SimWindow::closeClicked()
{
    guarded(QStringLiteral("Procedure Name: closeClicked"),
            [&] { m_state.answerRecs[m_session.q].answer = m_session.answer(); });
    if (!m_state.showingAnswer)
        showMessage(simCaption, answerRecordedText, MessageIcon::Information);
    accept();
}

void SimWindow::focusCommandLine()
{
    if (m_txInput->isEnabled())
        m_txInput->setFocus();
}

bool SimWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_consolePage && event->type() == QEvent::Resize) {
        placeConsole();
        return false;
    }
    if ((watched == m_cmAlt || watched == m_cmClose) && event->type() == QEvent::KeyPress)
        return pressOnEnter(this, static_cast<QKeyEvent *>(event), nullptr);
    auto *taskLabel = qobject_cast<QLabel *>(watched);
    if (taskLabel && !m_lbTask.contains(taskLabel))
        taskLabel = nullptr;
    if (taskLabel && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        // A label draws no focus of its own: a heavier border shows it.
        taskLabel->setLineWidth(event->type() == QEvent::FocusIn ? 2 : 1);
        return false;
    }
    if (taskLabel && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        if (taskLabel->isEnabled())
            taskClicked(taskLabel->property("index").toInt());
        return true;
    }
    if (event->type() != QEvent::MouseButtonPress)
        return AnswerDialog::eventFilter(watched, event);
    // Events reach the filter even while a label is disabled.
    if (taskLabel) {
        if (taskLabel->isEnabled())
            taskClicked(taskLabel->property("index").toInt());
        return true;
    }
    if (watched == m_lbOutput || watched == m_lbPrompt || watched == m_svPort->viewport() ||
        watched == m_ssSim->tabBar())
        focusCommandLine();
    return AnswerDialog::eventFilter(watched, event);
}

void ShowSim(const QuestionBank &bank, TestState &state, const QString &moduleFolder, int q,
             QWidget *parent)
{
    SimSession session;
    QString diagramFile;
    const bool started = guarded(QStringLiteral("Procedure Name: ShowSim"), false, [&] {
        session = startSimSession(bank, state, q);
        diagramFile = bank.questions[q].diagramFile;
        return true;
    });
    if (!started)
        return;
    // Without its picture the simulation can still be worked through.
    const ModulePicture picture = loadModulePicture(moduleFolder, diagramFile);
    QPointer<SimWindow> frSim =
        new SimWindow(bank, state, std::move(session), picture.picture, parent);
    frSim->exec();
    delete frSim;
}

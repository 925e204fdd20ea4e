#include "CustomWindow.h"

#include "present/EnterKey.h"
#include "app/LogoLabel.h"
#include "app/ShadowHeading.h"
#include "common/MessageBoxes.h"
#include "common/Twips.h"
#include "engine/InitTest.h"
#include "engine/TestOptions.h"
#include "engine/TestState.h"
#include "moduledb/QuestionBank.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <type_traits>
#include <utility>

namespace {

constexpr int screenWidth = 10200;
constexpr int screenHeight = 6600;
constexpr int rowHeight = 300;

template <typename Control>
Control *addControl(QWidget *parent, const QString &name, const QString &text, int left, int top,
                    int width, int height = rowHeight)
{
    auto *control = new Control(parent);
    control->setObjectName(name);
    if constexpr (std::is_base_of_v<QLabel, Control>)
        control->setTextFormat(Qt::PlainText);
    if constexpr (std::is_base_of_v<QGroupBox, Control>)
        control->setTitle(text);
    else
        control->setText(text);
    control->setGeometry(twips(left), twips(top), twips(width), twips(height));
    return control;
}

} // namespace

CustomWindow::CustomWindow(const QuestionBank &bank, TestState &state, QWidget *parent)
    : QWidget(parent), m_bank(bank), m_state(state)
{
    setObjectName(QStringLiteral("frCustom"));
    setFixedSize(twips(screenWidth), twips(screenHeight));
    setAutoFillBackground(true);
    setWindowTitle(QStringLiteral("Exam # ") + m_bank.testInfo.examCode + QStringLiteral(", ") +
                   m_bank.testInfo.examTitle);
    buildControls();
    fillObjectives();
    // The screen's focus goes to the number of questions.
    setFocusProxy(m_txCustomQuestions);
}

void CustomWindow::buildControls()
{
    LogoLabel::addFramed(this, 120, 120);
    ShadowHeading heading = ShadowHeading::add(this, 1440, 120, screenWidth - 1680, 1200, 16);
    heading.lbTestF->setObjectName(QStringLiteral("lbModeF"));
    heading.lbTestB->setObjectName(QStringLiteral("lbModeB"));
    heading.setText(QStringLiteral("Custom Mode Settings"));

    const int countTop = 1440;
    const int right = 6000;
    const int rightWidth = screenWidth - right - 120;
    addControl<QLabel>(
        this, QStringLiteral("lbCustomQuestion"),
        QStringLiteral("Please enter the number of questions you want to include in your test:"),
        120, countTop, right - 240, 480)
        ->setWordWrap(true);
    m_txCustomQuestions = addControl<QLineEdit>(this, QStringLiteral("txCustomQuestions"), {},
                                                right, countTop + 60, 840, 360);
    // udQues: the up-down arrows of the number, counting within 1..bankQuestionCount.
    auto *udQues = new QWidget(this);
    udQues->setObjectName(QStringLiteral("udQues"));
    udQues->setGeometry(twips(right + 840), twips(countTop + 60), twips(255), twips(360));
    auto *arrows = new QVBoxLayout(udQues);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    for (const auto &[arrow, step] : {std::pair{Qt::UpArrow, 1}, std::pair{Qt::DownArrow, -1}}) {
        auto *button = new QToolButton(udQues);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        arrows->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, step = step] { stepCount(step); });
    }
    addControl<QLabel>(this, QStringLiteral("lbCustomTotal"),
                       QStringLiteral("of ") + QString::number(m_bank.bankQuestionCount) +
                           QStringLiteral(" questions."),
                       right + 1200, countTop + 90, rightWidth - 1200);

    auto *faPool =
        addControl<QGroupBox>(this, QStringLiteral("faPool"),
                              QStringLiteral("Question Pool Option"), 120, 1980, right - 240, 3900);
    m_opObjAll = addControl<QRadioButton>(
        faPool, QStringLiteral("opObj"),
        QStringLiteral("Select questions randomly from all objectives"), 120, 300, right - 480);
    m_opObjAll->setProperty("index", 0);
    m_opObjListed = addControl<QRadioButton>(
        faPool, QStringLiteral("opObj"),
        QStringLiteral("Select questions randomly from objectives listed below:"), 120, 630,
        right - 480);
    m_opObjListed->setProperty("index", 1);
    m_opObjAll->setChecked(true);
    m_lvObj = new QTreeWidget(faPool);
    m_lvObj->setObjectName(QStringLiteral("lvObj"));
    m_lvObj->setGeometry(twips(120), twips(990), twips(right - 480), twips(2790));
    m_lvObj->setRootIsDecorated(false);
    m_lvObj->setHeaderLabels({QStringLiteral("Objective Name"), QStringLiteral("Questions")});
    m_lvObj->header()->setStretchLastSection(false);
    m_lvObj->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_lvObj->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_lvObj->setEnabled(false);
    m_lvObj->installEventFilter(this);
    connect(m_opObjListed, &QRadioButton::toggled, m_lvObj, &QWidget::setEnabled);

    auto *faRnd =
        addControl<QGroupBox>(this, QStringLiteral("faRnd"), QStringLiteral("Randomize Option"),
                              right, 1980, rightWidth, 1020);
    m_ckRndQues =
        addControl<QCheckBox>(faRnd, QStringLiteral("ckRndQues"),
                              QStringLiteral("Randomize questions?"), 120, 300, rightWidth - 240);
    m_ckRndAns =
        addControl<QCheckBox>(faRnd, QStringLiteral("ckRndAns"),
                              QStringLiteral("Randomize answers?"), 120, 630, rightWidth - 240);

    auto *faTimer =
        addControl<QGroupBox>(this, QStringLiteral("faTimer"), QStringLiteral("Timer Option"),
                              right, 3060, rightWidth, 1020);
    m_ckTimer = addControl<QCheckBox>(faTimer, QStringLiteral("ckTimer"),
                                      QStringLiteral("Enable timer during the test?"), 120, 300,
                                      rightWidth - 240);
    addControl<QLabel>(faTimer, QStringLiteral("lblDuration"), QStringLiteral("Duration:"), 360,
                       630, 1080);
    m_txDuration = addControl<QLineEdit>(faTimer, QStringLiteral("txDuration"),
                                         m_state.testDuration, 1440, 600, 840, 360);
    m_txDuration->setEnabled(false);
    addControl<QLabel>(faTimer, QStringLiteral("lblMinutes"), QStringLiteral("minutes"), 2400, 630,
                       1200);
    connect(m_ckTimer, &QCheckBox::toggled, m_txDuration, &QWidget::setEnabled);

    auto *faOther =
        addControl<QGroupBox>(this, QStringLiteral("faOther"), QStringLiteral("Other Option"),
                              right, 4140, rightWidth, 1320);
    m_ckAnsBtn = addControl<QCheckBox>(faOther, QStringLiteral("ckAnsBtn"),
                                       QStringLiteral("Enable Show Answer button?"), 120, 300,
                                       rightWidth - 240);
    m_ckPrevious = addControl<QCheckBox>(faOther, QStringLiteral("ckPrevious"),
                                         QStringLiteral("Enable Previous button?"), 120, 630,
                                         rightWidth - 240);
    m_ckTotCorAns = addControl<QCheckBox>(faOther, QStringLiteral("ckTotCorAns"),
                                          QStringLiteral("Display number of correct answers?"), 120,
                                          960, rightWidth - 240);
    for (QCheckBox *box : {m_ckRndQues, m_ckRndAns, m_ckAnsBtn, m_ckPrevious, m_ckTotCorAns})
        box->setChecked(true);

    auto *ok = addControl<QPushButton>(this, QStringLiteral("cmdCustomOK"), QStringLiteral("&OK"),
                                       right, 5550, 1800, 450);
    auto *cancel =
        addControl<QPushButton>(this, QStringLiteral("cmdCustomCancel"), QStringLiteral("&Cancel"),
                                right + rightWidth - 1800, 5550, 1800, 450);
    connect(ok, &QPushButton::clicked, this, &CustomWindow::okButton);
    connect(cancel, &QPushButton::clicked, this, &CustomWindow::cancelButton);

    for (QLineEdit *box : {m_txCustomQuestions, m_txDuration})
        box->installEventFilter(this);
}

void CustomWindow::fillObjectives()
{
    m_lvObj->clear();
    for (int i = 1; i <= m_bank.objectiveCount; ++i) {
        auto *row =
            new QTreeWidgetItem(m_lvObj, {m_bank.objectives[i].objectiveName,
                                          QString::number(m_bank.objectives[i].questionCount)});
        row->setCheckState(0, Qt::Checked);
    }
}

CustomSettings CustomWindow::customSettings() const
{
    CustomSettings settings;
    settings.txCustomQuestions = m_txCustomQuestions->text();
    // The list is active exactly when the second option is chosen.
    settings.opObjIndex = m_lvObj->isEnabled() ? 1 : 0;
    for (int row = 0; row < m_lvObj->topLevelItemCount(); ++row)
        settings.lvObjChecked.append(m_lvObj->topLevelItem(row)->checkState(0) != Qt::Unchecked);
    settings.ckRndQues = m_ckRndQues->checkState() != Qt::Unchecked;
    settings.ckRndAns = m_ckRndAns->checkState() != Qt::Unchecked;
    settings.ckTimer = m_ckTimer->checkState() != Qt::Unchecked;
    settings.txDuration = m_txDuration->text();
    settings.ckPrevious = m_ckPrevious->checkState() != Qt::Unchecked;
    settings.ckAnsBtn = m_ckAnsBtn->checkState() != Qt::Unchecked;
    settings.ckTotCorAns = m_ckTotCorAns->checkState() != Qt::Unchecked;
    return settings;
}

void CustomWindow::setCustomSettings(const CustomSettings &settings)
{
    (settings.opObjIndex == 1 ? m_opObjListed : m_opObjAll)->setChecked(true);
    if (settings.lvObjChecked.size() == m_lvObj->topLevelItemCount()) {
        for (int row = 0; row < m_lvObj->topLevelItemCount(); ++row)
            m_lvObj->topLevelItem(row)->setCheckState(
                0, settings.lvObjChecked[row + 1] ? Qt::Checked : Qt::Unchecked);
    }
    m_ckRndQues->setChecked(settings.ckRndQues);
    m_ckRndAns->setChecked(settings.ckRndAns);
    m_ckTimer->setChecked(settings.ckTimer);
    m_txDuration->setText(settings.txDuration);
    m_ckPrevious->setChecked(settings.ckPrevious);
    m_ckAnsBtn->setChecked(settings.ckAnsBtn);
    m_ckTotCorAns->setChecked(settings.ckTotCorAns);
}

void CustomWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_txCustomQuestions->setText(QString::number(m_bank.bankQuestionCount));
    m_txCustomQuestions->selectAll();
    Q_EMIT activated();
}

bool CustomWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        // A box of our own, another application or a menu taking the focus is no leaving.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            isVisible() && !m_checking)
            checkLeftControl(watched);
    } else if (watched == m_txCustomQuestions && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            stepCount(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CustomWindow::keyPressEvent(QKeyEvent *event)
{
    // Enter presses the focused button only: the screen has no default button.
    if (!pressOnEnter(this, event, nullptr))
        QWidget::keyPressEvent(event);
}

void CustomWindow::stepCount(int step)
{
    // From the number typed; text that is none counts from the whole pool.
    bool numeric = false;
    const int typed = m_txCustomQuestions->text().trimmed().toInt(&numeric);
    const int from = numeric ? typed : m_bank.bankQuestionCount;
    m_txCustomQuestions->setText(
        QString::number(std::clamp(from + step, 1, std::max(1, m_bank.bankQuestionCount))));
}

void CustomWindow::checkLeftControl(QObject *control)
{
    m_checking = true;
    if (control == m_lvObj) {
        QList<bool> checked;
        for (int row = 0; row < m_lvObj->topLevelItemCount(); ++row)
            checked.append(m_lvObj->topLevelItem(row)->checkState(0) != Qt::Unchecked);
        if (const auto refusal = checkObjectivesChosen(checked)) {
            showMessage(refusal->title, refusal->text, refusal->icon, refusal->buttons);
            m_lvObj->setFocus();
        }
    } else {
        auto *box = static_cast<QLineEdit *>(control);
        const auto refusal = box == m_txCustomQuestions
                                 ? checkCustomQuestionCount(box->text(), m_bank.bankQuestionCount)
                                 : checkCustomDuration(box->text(), m_state.testDuration);
        if (refusal) {
            const MessageBoxRequest &message = refusal->message;
            showMessage(message.title, message.text, message.icon, message.buttons);
            box->setText(refusal->restoredText);
            box->setFocus();
        }
    }
    m_checking = false;
}

void CustomWindow::okButton()
{
    m_state.testMode = CustomMode;
    if (!InitTest(CustomMode, m_bank, m_state, customSettings())) {
        showMessage(QStringLiteral("Sorry!"),
                    QStringLiteral("An error occured in preparing the test module. Please retry "
                                   "again."),
                    MessageIcon::NoIcon, MessageButtons::Ok);
        return;
    }
    hide();
    Q_EMIT testPrepared();
}

void CustomWindow::cancelButton()
{
    hide();
    Q_EMIT cancelled();
}

#include "OptionWindow.h"

#include "common/MessageBoxes.h"
#include "engine/TestState.h"
#include "moduledb/QuestionBank.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QCheckBox *addCheckBox(QGridLayout *grid, const QString &name, const QString &caption, bool checked)
{
    auto *box = new QCheckBox(caption);
    box->setObjectName(name);
    box->setChecked(checked);
    grid->addWidget(box, grid->rowCount(), 0, 1, 3);
    return box;
}

QLabel *plainLabel(const QString &name, const QString &text)
{
    auto *label = new QLabel;
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

} // namespace

OptionWindow::OptionWindow(const QuestionBank &bank, const TestState &state, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frOption"));
    setWindowTitle(QStringLiteral("Test Options"));
    setModal(true);

    auto *fraCustom = new QGroupBox(QStringLiteral("Available Options"));
    fraCustom->setObjectName(QStringLiteral("fraCustom"));
    auto *grid = new QGridLayout(fraCustom);
    m_ckAnsBtn = addCheckBox(grid, QStringLiteral("ckAnsBtn"),
                             QStringLiteral("Enable Show Answer button?"), state.optAnswerButton);
    m_ckTimer = addCheckBox(grid, QStringLiteral("ckTimer"),
                            QStringLiteral("Enable timer during the test?"), state.optTimed);
    const int durationRow = grid->rowCount();
    grid->addWidget(plainLabel(QStringLiteral("lblDuration"), QStringLiteral("Duration:")),
                    durationRow, 0);
    // The module's duration, not what is left of the running test.
    m_txDuration = new QLineEdit(QString::number(bank.testInfo.durationMinutes));
    m_txDuration->setObjectName(QStringLiteral("txDuration"));
    m_txDuration->setEnabled(state.optTimed);
    m_txDuration->installEventFilter(this);
    grid->addWidget(m_txDuration, durationRow, 1);
    grid->addWidget(plainLabel(QStringLiteral("lblMinutes"), QStringLiteral("minutes")),
                    durationRow, 2);
    m_ckPrevious =
        addCheckBox(grid, QStringLiteral("ckPrevious"),
                    QStringLiteral("Enable the Previous button so you can change your answers?"),
                    state.optPrevious);
    m_ckTotCorAns = addCheckBox(grid, QStringLiteral("ckTotCorAns"),
                                QStringLiteral("Display number of correct answers?"),
                                state.optShowCorrectCount);
    connect(m_ckTimer, &QCheckBox::toggled, m_txDuration, &QWidget::setEnabled);

    auto *cmOK = new QPushButton(QStringLiteral("&OK"));
    cmOK->setObjectName(QStringLiteral("cmOK"));
    cmOK->setDefault(true);
    auto *cmCancel = new QPushButton(QStringLiteral("&Cancel"));
    cmCancel->setObjectName(QStringLiteral("cmCancel"));
    connect(cmOK, &QPushButton::clicked, this, [this] {
        // Enter in the duration box presses OK without leaving the box.
        if (!m_txDuration->isEnabled() || checkDuration())
            accept();
    });
    connect(cmCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmOK);
    buttons->addWidget(cmCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fraCustom);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

TestOptionChoice OptionWindow::choice() const
{
    return {m_ckPrevious->isChecked(), m_ckAnsBtn->isChecked(), m_ckTotCorAns->isChecked(),
            m_ckTimer->isChecked(), m_txDuration->text()};
}

bool OptionWindow::checkDuration()
{
    const auto refusal = checkOptionDuration(m_txDuration->text());
    if (!refusal)
        return true;
    m_checking = true;
    const MessageBoxRequest &message = refusal->message;
    showMessage(message.title, message.text, message.icon, message.buttons);
    m_txDuration->setText(refusal->restoredText);
    m_txDuration->setFocus();
    m_checking = false;
    return false;
}

bool OptionWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_txDuration && event->type() == QEvent::FocusOut && !m_checking) {
        // A box of our own, another application or a menu taking the focus is no leaving.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            checkDuration();
    }
    return QDialog::eventFilter(watched, event);
}

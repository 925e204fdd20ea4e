#include "testwindow/GotoWindow.h"

#include "common/MessageBoxes.h"
#include "engine/Navigation.h"
#include "engine/TestState.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

GotoWindow::GotoWindow(TestState &state, std::function<void(int)> goToItem, QWidget *parent)
    : QDialog(parent), m_state(state), m_goToItem(std::move(goToItem))
{
    setObjectName(QStringLiteral("frGoto"));
    setWindowTitle(QStringLiteral("Go To Item"));
    setModal(true);

    auto *lbEnter = new QLabel(this);
    lbEnter->setTextFormat(Qt::PlainText);
    lbEnter->setText(QStringLiteral("Enter the item number you want to display:"));
    lbEnter->setObjectName(QStringLiteral("lbEnter"));
    m_txCurRec = new QLineEdit(this);
    m_txCurRec->setObjectName(QStringLiteral("txCurRec"));
    m_txCurRec->setMaximumWidth(80);
    m_txCurRec->installEventFilter(this);

    // The up-down control steps the number in the box between 1 and testLength.
    auto *udQues = new QWidget(this);
    udQues->setObjectName(QStringLiteral("udQues"));
    auto *udLayout = new QVBoxLayout(udQues);
    udLayout->setContentsMargins(0, 0, 0, 0);
    udLayout->setSpacing(0);
    auto *up = new QToolButton(udQues);
    up->setObjectName(QStringLiteral("udQuesUp"));
    up->setArrowType(Qt::UpArrow);
    up->setFocusPolicy(Qt::NoFocus);
    auto *down = new QToolButton(udQues);
    down->setObjectName(QStringLiteral("udQuesDown"));
    down->setArrowType(Qt::DownArrow);
    down->setFocusPolicy(Qt::NoFocus);
    for (QToolButton *arrow : {up, down})
        arrow->setFixedSize(18, 12);
    udLayout->addWidget(up);
    udLayout->addWidget(down);
    connect(up, &QToolButton::clicked, this, [this] { step(1); });
    connect(down, &QToolButton::clicked, this, [this] { step(-1); });

    m_lbQues = new QLabel(this);
    m_lbQues->setTextFormat(Qt::PlainText);
    m_lbQues->setObjectName(QStringLiteral("lbQues"));

    auto *cmGoto = new QPushButton(QStringLiteral("&Go"), this);
    cmGoto->setObjectName(QStringLiteral("cmGoto"));
    cmGoto->setDefault(true);
    m_cmCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    m_cmCancel->setObjectName(QStringLiteral("cmCancel"));
    connect(cmGoto, &QPushButton::clicked, this, &GotoWindow::go);
    connect(m_cmCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *numberRow = new QHBoxLayout;
    numberRow->addWidget(m_txCurRec);
    numberRow->addWidget(udQues);
    numberRow->addWidget(m_lbQues);
    numberRow->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmGoto);
    buttons->addWidget(m_cmCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lbEnter);
    layout->addLayout(numberRow);
    layout->addLayout(buttons);
}

void GotoWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_lbQues->setText(QStringLiteral("(Total: ") + QString::number(m_state.testLength) +
                      QStringLiteral(" questions)"));
    m_itemAtOpen = m_state.curItem;
    m_txCurRec->setText(QString::number(m_state.curItem));
    m_txCurRec->setFocus();
    m_txCurRec->selectAll();
}

void GotoWindow::reject()
{
    m_state.curItem = m_itemAtOpen;
    QDialog::reject();
}

bool GotoWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Moving to another control of this window checks the number, unless that control is
    // Cancel. Focus going to another window (the refusal box itself) checks nothing. The
    // check runs once the box has finished losing the focus, so its selection can be set.
    const QWidget *nextFocus = QApplication::focusWidget();
    if (watched == m_txCurRec && event->type() == QEvent::FocusOut && isVisible() && nextFocus &&
        nextFocus != m_cmCancel && isAncestorOf(nextFocus)) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (isVisible())
                    acceptTypedItem();
            },
            Qt::QueuedConnection);
    }
    return QDialog::eventFilter(watched, event);
}

bool GotoWindow::acceptTypedItem()
{
    if (const std::optional<int> item = parseGotoItem(m_txCurRec->text(), m_state.testLength)) {
        m_state.curItem = *item;
        return true;
    }
    showMessage(QStringLiteral("Attention!"),
                QStringLiteral("You enter an invalid item number.\nPlease reenter again."),
                MessageIcon::Information);
    m_txCurRec->setText(QString::number(m_state.curItem));
    // The box took the keyboard away from this window: bring it back to the number.
    activateWindow();
    m_txCurRec->setFocus();
    m_txCurRec->selectAll();
    return false;
}

void GotoWindow::step(int delta)
{
    const std::optional<int> typed = parseGotoItem(m_txCurRec->text(), m_state.testLength);
    const int item = qBound(1, typed.value_or(m_state.curItem) + delta, m_state.testLength);
    m_txCurRec->setText(QString::number(item));
}

void GotoWindow::go()
{
    // Go with the keyboard leaves the box without losing focus: check what it holds now.
    if (!acceptTypedItem())
        return;
    m_goToItem(m_state.curItem);
    accept();
}

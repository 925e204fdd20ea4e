#include "interactive/DndKeyboard.h"

#include "interactive/DndSourceLabel.h"
#include "interactive/DndTargetLabel.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QWidget>

#include <algorithm>
#include <memory>

namespace {

constexpr int focusedLineWidth = 3;

bool picks(int key)
{
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool empties(int key)
{
    return key == Qt::Key_Delete || key == Qt::Key_Backspace;
}

bool byIndex(const QWidget *a, const QWidget *b)
{
    return a->property("index").toInt() < b->property("index").toInt();
}

} // namespace

DndKeyboard::DndKeyboard(QWidget *window) : QObject(window)
{
    QList<DndSourceLabel *> items = window->findChildren<DndSourceLabel *>();
    QList<DndTargetLabel *> targets = window->findChildren<DndTargetLabel *>();
    std::sort(items.begin(), items.end(), byIndex);
    std::sort(targets.begin(), targets.end(), byIndex);
    const bool answerable = std::any_of(items.cbegin(), items.cend(),
                                        [](const QWidget *item) { return item->isEnabled(); });
    QWidget *previous = nullptr;
    for (DndSourceLabel *item : items) {
        item->setAccessibleName(
            QStringLiteral("Item %1: %2").arg(item->property("index").toInt()).arg(item->text()));
        if (!answerable)
            continue;
        item->setFocusPolicy(Qt::StrongFocus);
        item->installEventFilter(this);
        if (previous)
            QWidget::setTabOrder(previous, item);
        previous = item;
    }
    if (!answerable)
        return;
    for (DndTargetLabel *target : targets) {
        target->setFocusPolicy(Qt::StrongFocus);
        target->installEventFilter(this);
        QWidget::setTabOrder(previous, target);
        previous = target;
    }
    if (auto *ok = window->findChild<QWidget *>(QStringLiteral("cmOK")))
        QWidget::setTabOrder(previous, ok);
    // Not the scrolling area a large window may get: the answer starts at the first item.
    if (!items.isEmpty())
        items.first()->setFocus();
}

void DndKeyboard::pickUp(DndSourceLabel *item)
{
    if (m_carried)
        m_carried->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_carried = item;
    // A carried item looks pressed in until another is picked up.
    item->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    item->setAccessibleDescription(QStringLiteral("picked up"));
}

bool DndKeyboard::eventFilter(QObject *watched, QEvent *event)
{
    auto *label = qobject_cast<QLabel *>(watched);
    if (!label)
        return false;
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        label->setLineWidth(event->type() == QEvent::FocusIn ? focusedLineWidth : 1);
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (auto *item = qobject_cast<DndSourceLabel *>(label); item && picks(key)) {
        pickUp(item);
        return true;
    }
    auto *target = qobject_cast<DndTargetLabel *>(label);
    if (!target)
        return false;
    if (picks(key)) {
        if (m_carried) {
            const std::unique_ptr<QMimeData> data(m_carried->createMimeData());
            target->dropItem(data.get());
        }
        return true;
    }
    if (empties(key)) {
        target->clearItem();
        return true;
    }
    return false;
}

#include "app/ScreenScroller.h"

#include <QApplication>
#include <QPointer>
#include <QScrollBar>

#include <algorithm>

namespace {

// The smallest offset at which the span [start, end) shows in a view of the given length,
// or its start where the span is longer than the view.
int leastOffset(int start, int end, int shown)
{
    return std::clamp(end - shown, 0, std::max(0, start));
}

} // namespace

ScreenScroller::ScreenScroller(QWidget *parent) : QScrollArea(parent)
{
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (!now || !widget() || !widget()->isAncestorOf(now) ||
            QApplication::mouseButtons() != Qt::NoButton)
            return;
        // Queued: a scroll area inside a screen first scrolls its own focused control.
        QMetaObject::invokeMethod(
            this, [this, focused = QPointer<QWidget>(now)] { showFocused(focused); },
            Qt::QueuedConnection);
    });
}

bool ScreenScroller::focusNextPrevChild(bool next)
{
    // The focus change itself scrolls, less far than the base class would.
    return QWidget::focusNextPrevChild(next);
}

void ScreenScroller::showFocused(QWidget *focused)
{
    if (!focused || !widget() || !widget()->isAncestorOf(focused))
        return;
    // A control wider than its content (a check box stretched across its frame) is in view
    // when its content is.
    const QSize hint = focused->sizeHint();
    QRect place(focused->mapTo(widget(), QPoint(0, 0)),
                QSize(hint.isValid() ? std::min(focused->width(), hint.width()) : focused->width(),
                      focused->height()));
    // Only the part that a scroll area inside the screen shows.
    for (QWidget *inside = focused->parentWidget(); inside != widget();
         inside = inside->parentWidget()) {
        if (qobject_cast<QAbstractScrollArea *>(inside->parentWidget()))
            place &= QRect(inside->mapTo(widget(), QPoint(0, 0)), inside->size());
    }
    if (place.isEmpty())
        return;
    horizontalScrollBar()->setValue(
        leastOffset(place.left(), place.right() + 1, viewport()->width()));
    verticalScrollBar()->setValue(
        leastOffset(place.top(), place.bottom() + 1, viewport()->height()));
}

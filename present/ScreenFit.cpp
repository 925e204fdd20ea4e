#include "present/ScreenFit.h"

#include <QApplication>
#include <QFrame>
#include <QRect>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace {

constexpr int usualFrameWidth = 16;
constexpr int usualFrameHeight = 48;

} // namespace

QSize windowFrameAllowance()
{
    for (const QWidget *window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        const QSize frame = window->frameGeometry().size() - window->geometry().size();
        if (frame.width() > 0 || frame.height() > 0)
            return frame;
    }
    return {usualFrameWidth, usualFrameHeight};
}

QSize roomOnScreen(const QWidget *window)
{
    const QScreen *screen = window->screen();
    if (!screen)
        return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    const QSize available = screen->availableGeometry().size() - windowFrameAllowance();
    return {qMax(1, available.width()), qMax(1, available.height())};
}

void setFixedSizeWithinScreen(QWidget *window, const QSize &size)
{
    const QRect placed = window->childrenRect();
    const QSize content =
        size.expandedTo(QSize(placed.x() + placed.width(), placed.y() + placed.height()));
    const QSize room = roomOnScreen(window);
    if (content == size && size.width() <= room.width() && size.height() <= room.height()) {
        window->setFixedSize(size);
        return;
    }

    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("scrolledPage"));
    for (QWidget *child : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow())
            continue;
        const bool hidden = child->testAttribute(Qt::WA_WState_ExplicitShowHide) &&
                            child->testAttribute(Qt::WA_WState_Hidden);
        const QRect geometry = child->geometry();
        child->setParent(page);
        child->setGeometry(geometry);
        child->setVisible(!hidden);
    }
    page->resize(content);

    auto *area = new QScrollArea(window);
    area->setObjectName(QStringLiteral("scrolledArea"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(page);
    // A scroll bar along one edge takes room from the other.
    const int bar = area->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    QSize shown = content;
    if (content.height() > room.height())
        shown.rwidth() += bar;
    if (content.width() > room.width())
        shown.rheight() += bar;
    shown = shown.boundedTo(room);
    area->setGeometry(QRect(QPoint(0, 0), shown));
    window->setFixedSize(shown);
}

void placeLowOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QSize framed = window->size() + windowFrameAllowance();
    const QWidget *owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    const int centre = owner ? owner->frameGeometry().center().x() : available.center().x();
    const int left = std::clamp(
        centre - framed.width() / 2, available.left(),
        std::max(available.left(), available.left() + available.width() - framed.width()));
    const int top =
        std::max(available.top(), available.top() + available.height() - framed.height());
    window->move(left, top);
}

#include "present/ScreenFit.h"

#include <QFrame>
#include <QRect>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QWidget>

namespace {

// Room the window manager's frame and title bar take around a window.
constexpr int frameAllowanceWidth = 16;
constexpr int frameAllowanceHeight = 48;

QSize roomOnScreen(const QWidget *window)
{
    const QScreen *screen = window->screen();
    if (!screen)
        return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    const QSize available = screen->availableGeometry().size();
    return {qMax(1, available.width() - frameAllowanceWidth),
            qMax(1, available.height() - frameAllowanceHeight)};
}

} // namespace

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

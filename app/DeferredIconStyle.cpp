#include "DeferredIconStyle.h"

#include <QAbstractScrollArea>
#include <QPainter>
#include <QPen>
#include <QPointer>
#include <QStyleOption>

DeferredIconEngine::DeferredIconEngine(std::function<QIcon()> load)
    : m_shared(std::make_shared<Shared>(Shared{std::move(load), std::nullopt}))
{}

DeferredIconEngine::DeferredIconEngine(std::shared_ptr<Shared> shared) : m_shared(std::move(shared))
{}

const QIcon &DeferredIconEngine::icon()
{
    if (!m_shared->icon)
        m_shared->icon = m_shared->load();
    return *m_shared->icon;
}

void DeferredIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode,
                               QIcon::State state)
{
    icon().paint(painter, rect, Qt::AlignCenter, mode, state);
}

QPixmap DeferredIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    return icon().pixmap(size, mode, state);
}

QPixmap DeferredIconEngine::scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                                         qreal scale)
{
    return icon().pixmap(size, scale, mode, state);
}

QSize DeferredIconEngine::actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    return icon().actualSize(size, mode, state);
}

QList<QSize> DeferredIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state)
{
    return icon().availableSizes(mode, state);
}

QIconEngine *DeferredIconEngine::clone() const
{
    return new DeferredIconEngine(m_shared);
}

QIcon DeferredIconStyle::standardIcon(StandardPixmap which, const QStyleOption *option,
                                      const QWidget *widget) const
{
    if (which != SP_ToolBarHorizontalExtensionButton)
        return QProxyStyle::standardIcon(which, option, widget);
    // The arrow does not depend on the bar that asks for it.
    return QIcon(new DeferredIconEngine([base = QPointer<QStyle>(baseStyle()), which] {
        return base ? base->standardIcon(which) : QIcon();
    }));
}

namespace {

void drawFocusOutline(const QStyleOption *option, QPainter *painter)
{
    painter->save();
    painter->setPen(QPen(option->palette.color(QPalette::Highlight), 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(option->rect).adjusted(1, 1, -1, -1));
    painter->restore();
}

} // namespace

void DeferredIconStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                      QPainter *painter, const QWidget *widget) const
{
    const bool focusFrame = element == PE_FrameFocusRect;
    if (!focusFrame)
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    const bool focusedButton = element == PE_PanelButtonCommand && (option->state & State_HasFocus);
    if (focusFrame || focusedButton)
        drawFocusOutline(option, painter);
}

// A scrolling box that takes the focus (the question, a list, a text) shows it on its frame.
void DeferredIconStyle::drawControl(ControlElement element, const QStyleOption *option,
                                    QPainter *painter, const QWidget *widget) const
{
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element == CE_ShapedFrame && (option->state & State_HasFocus) &&
        qobject_cast<const QAbstractScrollArea *>(widget))
        drawFocusOutline(option, painter);
}

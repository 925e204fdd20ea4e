#pragma once

#include <QIcon>
#include <QIconEngine>
#include <QProxyStyle>

#include <functional>
#include <memory>
#include <optional>

// An icon whose pictures are made by load the first time it is drawn or measured, and kept.
class DeferredIconEngine : public QIconEngine
{
public:
    explicit DeferredIconEngine(std::function<QIcon()> load);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QIconEngine *clone() const override;

private:
    struct Shared
    {
        std::function<QIcon()> load;
        std::optional<QIcon> icon;
    };
    explicit DeferredIconEngine(std::shared_ptr<Shared> shared);
    const QIcon &icon();

    std::shared_ptr<Shared> m_shared;
};

// The application's style, with the menu bar's overflow arrow loaded when it is first shown.
// Every menu bar makes that arrow as it is built, and its picture file is the one picture
// start-up would otherwise read, which first looks up every picture format the system has.
// The control with the keyboard focus gets a solid outline, which someone working with the
// keyboard alone can see at a glance.
class DeferredIconStyle : public QProxyStyle
{
public:
    QIcon standardIcon(StandardPixmap which, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
};

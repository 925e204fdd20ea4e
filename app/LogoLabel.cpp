#include "LogoLabel.h"

#include "MainWindow.h"
#include "common/Twips.h"
#include "present/Logo.h"

#include <QDesktopServices>
#include <QFrame>
#include <QMouseEvent>
#include <QUrl>

namespace {
constexpr int imageFrameSize = 1200;
constexpr int logoSize = 960;
} // namespace

LogoLabel::LogoLabel(QWidget *parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("imLogo"));
    setTextFormat(Qt::PlainText);
    setPixmap(quendraLogo(twips(logoSize)));
    setToolTip(QStringLiteral("http://") + webSiteAddress);
    setCursor(Qt::PointingHandCursor);
}

QFrame *LogoLabel::addFramed(QWidget *parent, int left, int top)
{
    auto *faImage = new QFrame(parent);
    faImage->setObjectName(QStringLiteral("faImage"));
    faImage->setFrameShape(QFrame::StyledPanel);
    faImage->setGeometry(twips(left), twips(top), twips(imageFrameSize), twips(imageFrameSize));
    auto *logo = new LogoLabel(faImage);
    const int inset = twips((imageFrameSize - logoSize) / 2);
    logo->setGeometry(inset, inset, twips(logoSize), twips(logoSize));
    return faImage;
}

void LogoLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        QDesktopServices::openUrl(QUrl(toolTip()));
    QLabel::mouseReleaseEvent(event);
}

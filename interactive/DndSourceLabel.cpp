#include "interactive/DndSourceLabel.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>

void setDndLabelLook(QLabel *label)
{
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
}

DndSourceLabel::DndSourceLabel(const QString &caption, const QString &tag, QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setText(caption);
    setObjectName(QStringLiteral("lbSrc"));
    setProperty("tag", tag);
    setDndLabelLook(this);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::yellow);
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    setCursor(Qt::OpenHandCursor);
}

QMimeData *DndSourceLabel::createMimeData() const
{
    auto *data = new QMimeData;
    data->setData(dndItemMimeType, property("tag").toString().toUtf8());
    data->setText(text());
    data->setColorData(palette().color(QPalette::Window));
    return data;
}

void DndSourceLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressPosition = event->position().toPoint();
    QLabel::mousePressEvent(event);
}

void DndSourceLabel::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton) ||
        (event->position().toPoint() - m_pressPosition).manhattanLength() <
            QApplication::startDragDistance()) {
        QLabel::mouseMoveEvent(event);
        return;
    }
    auto *drag = new QDrag(this);
    drag->setMimeData(createMimeData());
    drag->setPixmap(grab());
    drag->setHotSpot(m_pressPosition);
    drag->exec(Qt::CopyAction);
}

#include "interactive/DndTargetLabel.h"

#include "interactive/DndSourceLabel.h"
#include "interactive/logic/DndAnswer.h"

#include <QDropEvent>
#include <QMimeData>

DndTargetLabel::DndTargetLabel(int index, QWidget *parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("lbDes"));
    setTextFormat(Qt::PlainText);
    setProperty("index", index);
    setProperty("tag", emptyTargetTag);
    setDndLabelLook(this);
    setAcceptDrops(true);
}

void DndTargetLabel::takeItem(const QString &caption, const QColor &colour, const QString &tag)
{
    setText(caption);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colour);
    setPalette(colours);
    setAutoFillBackground(true);
    setProperty("tag", tag);
}

void DndTargetLabel::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasFormat(dndItemMimeType))
        event->acceptProposedAction();
}

void DndTargetLabel::dragMoveEvent(QDragMoveEvent *event)
{
    if (event->mimeData()->hasFormat(dndItemMimeType))
        event->acceptProposedAction();
}

void DndTargetLabel::dropEvent(QDropEvent *event)
{
    const QMimeData *data = event->mimeData();
    if (!data->hasFormat(dndItemMimeType))
        return;
    takeItem(data->text(), qvariant_cast<QColor>(data->colorData()),
             QString::fromUtf8(data->data(dndItemMimeType)));
    event->acceptProposedAction();
}

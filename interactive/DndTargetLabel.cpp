#include "interactive/DndTargetLabel.h"

#include "interactive/DndSourceLabel.h"
#include "interactive/logic/DndAnswer.h"

#include <QDropEvent>
#include <QMimeData>

namespace {

QString targetName(const QLabel *target, const QString &content)
{
    return QStringLiteral("Target %1: %2").arg(target->property("index").toInt()).arg(content);
}

} // namespace

DndTargetLabel::DndTargetLabel(int index, QWidget *parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("lbDes"));
    setTextFormat(Qt::PlainText);
    setProperty("index", index);
    setProperty("tag", emptyTargetTag);
    setAccessibleName(targetName(this, QStringLiteral("empty")));
    setDndLabelLook(this);
    setAcceptDrops(true);
}

void DndTargetLabel::takeItem(const QString &caption, const QColor &colour, const QString &tag)
{
    if (!m_emptyLookKept) {
        m_emptyLookKept = true;
        m_emptyText = text();
        m_emptyPalette = palette();
        m_emptyAutoFill = autoFillBackground();
    }
    setText(caption);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colour);
    setPalette(colours);
    setAutoFillBackground(true);
    setProperty("tag", tag);
    setAccessibleName(targetName(this, caption));
}

bool DndTargetLabel::dropItem(const QMimeData *data)
{
    if (!data->hasFormat(dndItemMimeType))
        return false;
    takeItem(data->text(), qvariant_cast<QColor>(data->colorData()),
             QString::fromUtf8(data->data(dndItemMimeType)));
    return true;
}

void DndTargetLabel::clearItem()
{
    if (m_emptyLookKept) {
        setText(m_emptyText);
        setPalette(m_emptyPalette);
        setAutoFillBackground(m_emptyAutoFill);
    }
    setProperty("tag", emptyTargetTag);
    setAccessibleName(targetName(this, QStringLiteral("empty")));
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
    if (dropItem(event->mimeData()))
        event->acceptProposedAction();
}

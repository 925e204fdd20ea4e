#pragma once

#include <QLabel>
#include <QPalette>

class QMimeData;

// lbDes(j): a drop target of a drag-and-drop question. A dropped item leaves its caption,
// background colour and tag here; the tag is "0" while nothing has been dropped.
class DndTargetLabel : public QLabel
{
    Q_OBJECT

public:
    DndTargetLabel(int index, QWidget *parent);

    // Shows the item: its caption on its colour, and keeps its tag.
    void takeItem(const QString &caption, const QColor &colour, const QString &tag);

    // Takes the item a drag or the keyboard carries; false when the data holds no item.
    bool dropItem(const QMimeData *data);

    // Back to the look it had before its first item, with the tag of an empty target.
    void clearItem();

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    bool m_emptyLookKept = false;
    QString m_emptyText;
    QPalette m_emptyPalette;
    bool m_emptyAutoFill = false;
};

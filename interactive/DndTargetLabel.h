#pragma once

#include <QLabel>

// lbDes(j): a drop target of a drag-and-drop question. A dropped item leaves its caption,
// background colour and tag here; the tag is "0" while nothing has been dropped.
class DndTargetLabel : public QLabel
{
    Q_OBJECT

public:
    DndTargetLabel(int index, QWidget *parent);

    // Shows the item: its caption on its colour, and keeps its tag.
    void takeItem(const QString &caption, const QColor &colour, const QString &tag);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};

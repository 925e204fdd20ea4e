#pragma once

#include <QLabel>
#include <QPoint>

class QMimeData;

// The format in which a dragged item carries its tag (its choice number).
inline const QString dndItemMimeType = QStringLiteral("application/x-quendra-dnd-item");

// The look items and drop targets share: a plain box around centred, wrapped bold text.
void setDndLabelLook(QLabel *label);

// lbSrc(i): an item of a drag-and-drop question. While enabled it can be dragged onto a
// drop target, which takes its caption, background colour and tag; the item itself stays.
class DndSourceLabel : public QLabel
{
    Q_OBJECT

public:
    DndSourceLabel(const QString &caption, const QString &tag, QWidget *parent);

    // What a drag of this item carries.
    QMimeData *createMimeData() const;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QPoint m_pressPosition;
};

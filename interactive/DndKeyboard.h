#pragma once

#include <QObject>
#include <QPointer>

class DndSourceLabel;
class QWidget;

// Lets the keyboard do what the mouse does in a drag-and-drop window. The items and then
// the targets take focus in reading order, before OK. Space or Enter on an item picks it
// up; on a target it drops the carried item there through the handler a mouse drop uses,
// so both ways store the same answer. Delete or Backspace empties a target.
class DndKeyboard : public QObject
{
    Q_OBJECT

public:
    // Attaches to the window's items and targets, which must already be in place.
    explicit DndKeyboard(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void pickUp(DndSourceLabel *item);

    QPointer<DndSourceLabel> m_carried;
};

#pragma once

#include <QScrollArea>

// The main window's scroll area, which scrolls its screens on a display smaller than their
// design. When the focus moves from the keyboard or the program, it scrolls no further from
// the top left corner than it takes to show the focused control, so that the heading and
// the question there stay in view whenever the control allows. A control clicked with the
// mouse is in view already and keeps the area where it is.
class ScreenScroller : public QScrollArea
{
    Q_OBJECT

public:
    explicit ScreenScroller(QWidget *parent = nullptr);

protected:
    bool focusNextPrevChild(bool next) override;

private:
    void showFocused(QWidget *focused);
};

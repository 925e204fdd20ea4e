#pragma once

class QSize;
class QWidget;

// Room the window manager's frame and title bar take around a window: the margins of a
// framed window already on screen, else an allowance that covers the usual frames.
QSize windowFrameAllowance();

// The largest window, frame excluded, that fits the available area of the window's screen.
QSize roomOnScreen(const QWidget *window);

// Gives a window whose controls sit at fixed places its fixed size, or as much of it as
// the screen can show. When the controls need more room than that (a module can ask for
// very many rows or a very large picture), they move into a scrolling area that fills the
// window, so that every one of them can still be reached.
void setFixedSizeWithinScreen(QWidget *window, const QSize &size);

// Moves a window centred across its owner, as low as the screen's available area allows,
// so that the top of the owner (where the question is) stays in view where there is room.
void placeLowOnScreen(QWidget *window);

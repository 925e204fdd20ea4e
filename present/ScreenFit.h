#pragma once

class QSize;
class QWidget;

// Gives a window whose controls sit at fixed places its fixed size, or as much of it as
// the screen can show. When the controls need more room than that (a module can ask for
// very many rows or a very large picture), they move into a scrolling area that fills the
// window, so that every one of them can still be reached.
void setFixedSizeWithinScreen(QWidget *window, const QSize &size);

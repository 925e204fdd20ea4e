#pragma once

class QKeyEvent;
class QPushButton;
class QWidget;

// Enter on a screen of the main window presses the button that has the focus, or else the
// screen's default button (none: nothing). A screen is no dialog, so its buttons do not do
// this of their own accord. True when the key was Enter and a button took it.
bool pressOnEnter(const QWidget *screen, const QKeyEvent *event, QPushButton *defaultButton);

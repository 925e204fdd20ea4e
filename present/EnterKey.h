#pragma once

class QKeyEvent;
class QPushButton;
class QWidget;

// Enter presses the button that has the focus, or else the given default button (none:
// nothing). Buttons do not do this of their own accord: on a screen of the main window,
// which is no dialog, never, and in a dialog only the default ones. True when the key was
// Enter and a button took it.
bool pressOnEnter(const QWidget *screen, const QKeyEvent *event, QPushButton *defaultButton);

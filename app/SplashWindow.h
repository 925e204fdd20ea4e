#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

// The small frameless window shown while the program starts: title pictures, the start-up
// message, the version and the progress bar.
class SplashWindow : public QWidget
{
    Q_OBJECT
public:
    explicit SplashWindow(QWidget *parent = nullptr);

    QProgressBar *progressBar() const { return m_pbStart; }
    // Shows the window in the middle of the screen it is on.
    void showCentred();

private:
    QProgressBar *m_pbStart = nullptr;
};

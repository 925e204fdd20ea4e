#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

class QPushButton;

// What an answer window says when it has written its answer record.
inline const QString answerRecordedText = QStringLiteral("Your answer has been recorded.");

// A modal answer window whose own buttons are the only way out: it asks for no close button
// in its title bar, and Escape does not close it. Some window managers draw a close button
// all the same; the window system's close request then presses the window's own button,
// so it records the answer exactly as that button does. The program can still close the
// window (reject) when the test time is up.
class AnswerDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AnswerDialog(QWidget *parent = nullptr);

    // The button a close request from the window system presses.
    void setCloseButton(QPushButton *button);

    void done(int result) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPointer<QPushButton> m_closeButton;
};

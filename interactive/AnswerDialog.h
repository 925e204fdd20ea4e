#pragma once

#include <QDialog>
#include <QString>

// What an answer window says when it has written its answer record.
inline const QString answerRecordedText = QStringLiteral("Your answer has been recorded.");

// A modal answer window whose own buttons are the only way out: it has no close button in
// its title bar, and neither the window system's close request nor Escape closes it. The
// program can still close it (reject) when the test time is up.
class AnswerDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AnswerDialog(QWidget *parent = nullptr);

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

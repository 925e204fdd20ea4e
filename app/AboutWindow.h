#pragma once

#include <QDialog>

struct QuestionBank;

// frAbout: the versions of the program and of the test module, the legal notice, where to
// find help, and a warning.
class AboutWindow : public QDialog
{
    Q_OBJECT
public:
    explicit AboutWindow(const QuestionBank &bank, QWidget *parent = nullptr);
};

#pragma once

#include <QDialog>

struct QuestionBank;

// frInfo, the test module information: the exam, the size of the pool, the database
// version, the objectives and the module's description. Built afresh for each showing.
class InfoWindow : public QDialog
{
    Q_OBJECT
public:
    explicit InfoWindow(const QuestionBank &bank, QWidget *parent = nullptr);

private:
    void LoadModuleInfo(const QuestionBank &bank);
};

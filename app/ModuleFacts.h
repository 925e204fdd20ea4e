#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct QuestionBank;

// The texts of the test module information window, from the loaded bank.
struct ModuleInfoTexts
{
    QString caption;
    QString heading;
    QString totalQuestions;
    QString dbVersion;
    QString objectiveLine;
    // "#", objective name, questions: one row per objective, in objective order.
    QList<QStringList> objectiveRows;
    QString info;
};
ModuleInfoTexts moduleInfoTexts(const QuestionBank &bank);

// The about box, line by line: versions, legal notice, web site, support address, warning.
QStringList aboutLines(const QuestionBank &bank);

// The web pages of the Help menu, under the site's address.
QString webPageAddress(const QString &page = {});

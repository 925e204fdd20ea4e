#include "ModuleFacts.h"

#include "app/MainWindow.h"
#include "app/Version.h"
#include "moduledb/QuestionBank.h"

ModuleInfoTexts moduleInfoTexts(const QuestionBank &bank)
{
    const TestInfo &info = bank.testInfo;
    ModuleInfoTexts texts;
    texts.caption =
        QStringLiteral("Test Info: Exam #") + info.examCode + QStringLiteral(", ") + info.examTitle;
    texts.heading = QStringLiteral("Exam # ") + info.examCode + QLatin1Char('\n') + info.examTitle;
    texts.totalQuestions =
        QStringLiteral("Total Questions: ") + QString::number(bank.bankQuestionCount);
    texts.dbVersion = QStringLiteral("Database Version: ") + info.dbVersion +
                      QStringLiteral(" - ") + info.dbRelease;
    texts.objectiveLine = QStringLiteral("This test module consists of ") +
                          QString::number(bank.objectiveCount) + QStringLiteral(" objectives:");
    for (int i = 1; i <= bank.objectiveCount; ++i)
        texts.objectiveRows.append({QString::number(i), bank.objectives[i].objectiveName,
                                    QString::number(bank.objectives[i].questionCount)});
    texts.info = info.description + QStringLiteral("\n\n") + info.notes;
    return texts;
}

QStringList aboutLines(const QuestionBank &bank)
{
    return {QStringLiteral("Engine version: ") + versionText(),
            QStringLiteral("Database version: ") + bank.testInfo.dbVersion + QStringLiteral(" - ") +
                bank.testInfo.dbRelease,
            QStringLiteral("Copyright (C) 2026 Quendra. All rights reserved."),
            QStringLiteral("Web site: http://") + webSiteAddress,
            QStringLiteral("Support: support@quendra.example.com"),
            QStringLiteral("Warning: this program and its test modules are protected by "
                           "copyright law. Copying or passing on the questions, in whole or in "
                           "part, is not allowed.")};
}

QString webPageAddress(const QString &page)
{
    return QStringLiteral("http://") + webSiteAddress + QLatin1Char('/') + page;
}

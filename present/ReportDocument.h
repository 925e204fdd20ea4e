#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <memory>

class QTextDocument;
struct Attempt;
struct QuestionBank;

// An item answered wrongly or not at all, as the report on paper lists it.
struct ReportItem
{
    int itemNo = 0;
    QString questionCode;
    QString question;
    QString correctAnswer;
    QString explanation;
};

struct ReportObjective
{
    QString name;
    int percent = 0;
    QString correctText; // "(3/4)"
};

// What a score report says, whether of the test just graded or of one from the history.
struct ReportContent
{
    QString examCode;
    QString examTitle;
    QString candidate;
    QDateTime date;
    int scaledScore = 0;
    int passScore = 0;
    int correctCount = 0;
    int questionCount = 0;
    QList<ReportObjective> objectives;
    // Only the items whose question the module still holds.
    QList<ReportItem> incorrectItems;
};

// The report of an attempt; its items, where given, are looked up in the bank by code.
ReportContent reportContent(const QuestionBank &bank, const Attempt &attempt,
                            const QString &candidate);

// The report as a document to print or show: every text from the module is inserted as
// text. The incorrect items follow when asked for.
std::unique_ptr<QTextDocument> reportDocument(const ReportContent &content,
                                              bool withIncorrectItems);

// Writes the report as a PDF file; on failure returns false with the reason in error.
bool writeReportPdf(const ReportContent &content, bool withIncorrectItems, const QString &path,
                    QString *error);

#include "ReportDocument.h"

#include "engine/TestState.h"
#include "history/Attempt.h"
#include "moduledb/QuestionBank.h"
#include "present/ScoreGrade.h"

#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

namespace {

int questionWithCode(const QuestionBank &bank, const QString &code)
{
    for (int q = 1; q <= bank.questions.size(); ++q) {
        if (bank.questions[q].questionCode.trimmed() == code)
            return q;
    }
    return 0;
}

// The correct answer in words, since the paper shows no choices to point at.
QString correctAnswerText(const QuestionBank &bank, int q)
{
    const Question &question = bank.questions[q];
    QStringList lines;
    switch (question.questionType) {
    case SingleAnswer:
    case MultipleAnswers:
    case TypedAnswer:
    case TypedValues:
        for (const ChoiceRow &row : bank.choiceRows) {
            if (row.questionId != question.questionId || row.rowNo < 1)
                continue;
            const bool keyed = question.questionType >= TypedAnswer ||
                               ((unsigned(question.answerKey) >> (row.rowNo - 1)) & 1U);
            if (keyed)
                lines.append(row.text);
        }
        return question.questionType == TypedValues ? lines.join(QLatin1Char('.'))
                                                    : lines.join(QLatin1Char('\n'));
    case Simulation:
        for (const SimRow &row : bank.simRows) {
            if (row.questionId == question.questionId)
                lines.append(row.hostName + QStringLiteral(": ") + row.expectedCommand);
        }
        return lines.join(QLatin1Char('\n'));
    default:
        return QStringLiteral("(shown by Show Answer in a Study test)");
    }
}

QImage barImage(int points, const QColor &fill)
{
    constexpr int width = 400;
    constexpr int height = 18;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(barOutlineGrey);
    painter.drawRect(0, 0, width - 1, height - 1);
    const int length = barLength(points, width);
    if (length > 0) {
        painter.setBrush(fill);
        painter.drawRect(0, 0, length - 1, height - 1);
    }
    return image;
}

void insertLine(QTextCursor &cursor, const QString &text, bool bold = false, int pointSize = 10)
{
    QTextCharFormat format;
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setFontPointSize(pointSize);
    cursor.insertBlock();
    cursor.setCharFormat(format);
    cursor.insertText(text);
}

} // namespace

ReportContent reportContent(const QuestionBank &bank, const Attempt &attempt,
                            const QString &candidate)
{
    ReportContent content;
    content.examCode = attempt.examCode;
    content.examTitle = attempt.examTitle;
    content.candidate = candidate;
    content.date = attempt.ended;
    content.scaledScore = attempt.scaledScore;
    content.passScore = attempt.passScore;
    content.correctCount = attempt.correctCount;
    content.questionCount = attempt.questionCount;
    for (const ObjectiveResult &result : attempt.objectives)
        content.objectives.append(
            {result.objectiveName, objectivePercent(result),
             QStringLiteral("(%1/%2)").arg(result.correct).arg(result.asked)});
    for (const ItemResult &item : attempt.items) {
        if (item.status == StatusCorrect)
            continue;
        const int q = questionWithCode(bank, item.questionCode);
        if (q == 0)
            continue;
        content.incorrectItems.append({item.itemNo, item.questionCode,
                                       bank.questions[q].questionText, correctAnswerText(bank, q),
                                       bank.questions[q].explanation});
    }
    return content;
}

std::unique_ptr<QTextDocument> reportDocument(const ReportContent &content, bool withIncorrectItems)
{
    auto document = std::make_unique<QTextDocument>();
    const GradeDisplay grade = gradeDisplay(content.scaledScore, content.passScore);
    const QUrl passingBar(QStringLiteral("bar:passing"));
    const QUrl scoreBar(QStringLiteral("bar:score"));
    document->addResource(QTextDocument::ImageResource, passingBar,
                          barImage(content.passScore, passingBarBlue));
    document->addResource(QTextDocument::ImageResource, scoreBar,
                          barImage(content.scaledScore, grade.colour));

    QTextCursor cursor(document.get());
    QTextCharFormat title;
    title.setFontWeight(QFont::Bold);
    title.setFontPointSize(16);
    cursor.setCharFormat(title);
    cursor.insertText(QStringLiteral("Score Report"));
    insertLine(cursor,
               QStringLiteral("Exam # ") + content.examCode + QStringLiteral(", ") +
                   content.examTitle,
               true, 12);
    insertLine(cursor, QStringLiteral("Candidate: ") + content.candidate);
    insertLine(cursor, QStringLiteral("Date: ") +
                           QLocale().toString(content.date.toLocalTime(), QLocale::ShortFormat));

    insertLine(cursor, QStringLiteral("Passing Score: %1").arg(content.passScore), true);
    cursor.insertBlock();
    cursor.insertImage(passingBar.toString());
    insertLine(cursor,
               QStringLiteral("Your Score: %1/1000 (%2/%3)")
                   .arg(content.scaledScore)
                   .arg(content.correctCount)
                   .arg(content.questionCount),
               true);
    cursor.insertBlock();
    cursor.insertImage(scoreBar.toString());
    insertLine(cursor, QStringLiteral("Grade: ") + grade.text, true, 12);

    insertLine(cursor, QStringLiteral("Results by objective"), true, 12);
    QTextTableFormat tableFormat;
    tableFormat.setCellPadding(3);
    tableFormat.setCellSpacing(0);
    tableFormat.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    tableFormat.setHeaderRowCount(1);
    QTextTable *table = cursor.insertTable(int(content.objectives.size()) + 1, 4, tableFormat);
    const QStringList headings = {QStringLiteral("#"), QStringLiteral("Objective Name"),
                                  QStringLiteral("Score"), QStringLiteral("Correct")};
    for (int column = 0; column < 4; ++column)
        table->cellAt(0, column).firstCursorPosition().insertText(headings[column]);
    for (int row = 0; row < content.objectives.size(); ++row) {
        const ReportObjective &objective = content.objectives[row];
        const QStringList cells = {QString::number(row + 1), objective.name,
                                   percentText(objective.percent), objective.correctText};
        for (int column = 0; column < 4; ++column)
            table->cellAt(row + 1, column).firstCursorPosition().insertText(cells[column]);
    }
    cursor.movePosition(QTextCursor::End);

    if (withIncorrectItems && !content.incorrectItems.isEmpty()) {
        insertLine(cursor, QStringLiteral("Items answered incorrectly"), true, 12);
        for (const ReportItem &item : content.incorrectItems) {
            insertLine(cursor,
                       QStringLiteral("Item %1 (%2)").arg(item.itemNo).arg(item.questionCode),
                       true);
            insertLine(cursor, item.question);
            insertLine(cursor, QStringLiteral("Correct answer: ") + item.correctAnswer);
            if (!item.explanation.isEmpty())
                insertLine(cursor, QStringLiteral("Explanation: ") + item.explanation);
        }
    }
    return document;
}

bool writeReportPdf(const ReportContent &content, bool withIncorrectItems, const QString &path,
                    QString *error)
{
    // Written beside and renamed over, so a failed write leaves no half file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(QStringLiteral("Score Report ") + content.examCode);
        writer.setCreator(QStringLiteral("Quendra"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        reportDocument(content, withIncorrectItems)->print(&writer);
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

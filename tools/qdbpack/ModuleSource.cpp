#include "ModuleSource.h"

#include "moduledb/Ansi.h"

#include <algorithm>

namespace {
template <typename Row> int rowsOf(const OneBasedArray<Row> &rows, qint16 questionId)
{
    return int(std::count_if(rows.begin(), rows.end(), [questionId](const Row &row) {
        return row.questionId == questionId;
    }));
}
} // namespace

QString questionWhere(const ModuleSource &source, int q)
{
    return QStringLiteral("%1: question %2 (%3): ")
        .arg(source.questionFiles.contains(q) ? source.questionFiles[q]
                                              : QStringLiteral("questions/"))
        .arg(q)
        .arg(source.bank.questions[q].questionCode);
}

int derivedChoiceCount(const QuestionBank &bank, int q)
{
    const Question &question = bank.questions[q];
    if (question.questionType == Simulation)
        return rowsOf(bank.simRows, question.questionId);
    return rowsOf(bank.choiceRows, question.questionId);
}

int derivedAnswerKey(const QuestionBank &bank, int q)
{
    const Question &question = bank.questions[q];
    switch (question.questionType) {
    case TextDragAndDrop:
    case GraphicalDragAndDrop:
        return rowsOf(bank.dndRows, question.questionId);
    case SingleAnswer:
    case MultipleAnswers:
        return question.answerKey;
    default:
        return 0;
    }
}

int derivedQuestionCount(const QuestionBank &bank, int objective)
{
    return int(std::count_if(
        bank.questions.begin(), bank.questions.end(),
        [objective](const Question &question) { return question.objectiveNo == objective; }));
}

QString choiceRowNoun(int questionType)
{
    switch (questionType) {
    case TypedAnswer:
        return QStringLiteral("answer");
    case TypedValues:
        return QStringLiteral("value");
    case TextDragAndDrop:
    case GraphicalDragAndDrop:
        return QStringLiteral("item");
    default:
        return QStringLiteral("choice");
    }
}

std::optional<QString> ansiProblem(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        // Surrogate pairs are one character, outside the code page like any other.
        const char32_t code = text.at(i).isHighSurrogate() && i + 1 < text.size()
                                  ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1))
                                  : char32_t(text.at(i).unicode());
        const QString character = QString::fromUcs4(&code, 1);
        if (!toAnsi(character))
            return QStringLiteral("character \"%1\" (U+%2) cannot be written in Windows-1252")
                .arg(character, QString::number(uint(code), 16).toUpper().rightJustified(4, u'0'));
        if (code > 0xFFFF)
            ++i;
    }
    return std::nullopt;
}

QByteArray packModule(const ModuleSource &source)
{
    QList<ArchiveEntry> entries =
        bankEntries(source.bank, source.entryPrefix, source.entryExtension);
    for (const TextEntry &text : source.textEntries)
        entries.append({toAnsi(text.name).value_or(QByteArray()), text.content});
    for (ArchiveEntry &entry : entries)
        entry.reserved = source.reserved;
    return packArchive(entries, source.layout);
}

#pragma once

#include "QuestionBank.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

// Reading the table files of a module into the question bank from bytes in memory: no
// files, no message boxes.

// Why loading stopped, as the error report shows it.
struct LoadProblem
{
    QString description;
    int number = 0;
    bool operator==(const LoadProblem &) const = default;
};

// The error number of a table that holds more records than its capacity: the subscript
// of the record after the last one is out of range.
constexpr int tableOverflowErrorNumber = 9;

// The table an entry fills: the text after the first "_" (the whole name when there is
// none) up to the first ".", in lower case.
QString tableNameOf(const QString &entryName);

// Gives every table its capacity of empty records.
void sizeTablesToCapacity(QuestionBank &bank);

// Reads the records of one table file into the bank. A table keeps its complete records
// (1..count) and drops a partial one at the end; a table file without a complete record
// leaves its table at full capacity of empty records. An unknown table name reads nothing.
std::optional<LoadProblem> readTable(const QString &tableName, QByteArrayView bytes,
                                     QuestionBank &bank);

// numQuestionsWanted, bankQuestionCount, objectiveCount, testDuration, minObjQuestions.
void setDerivedValues(QuestionBank &bank);

// After the last table file of a bank that started empty: gives every table that read no
// record its capacity of empty records, checks the bank and sets the derived values.
std::optional<LoadProblem> completeBank(QuestionBank &bank);

struct TableFile
{
    QString name;
    QByteArray content;
};

// The whole load without files: reads every file in order into an empty bank, then
// completes it. On a problem the bank is not usable.
std::optional<LoadProblem> loadTables(const QList<TableFile> &files, QuestionBank &bank);

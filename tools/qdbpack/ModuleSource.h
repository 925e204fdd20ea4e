#pragma once

#include "moduledb/QuestionBank.h"
#include "moduledb/writer/ModuleWriter.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QRect>
#include <QSet>
#include <QString>

#include <optional>

// A plain file packed as an archive entry after the tables (readme.txt, eula.txt).
struct TextEntry
{
    QString name;
    QByteArray content;
};

// A test module as its source folder describes it: the bank with every row in place and
// every derived value filled in (or as given, when the source states it), plus what the
// archive needs around the tables.
struct ModuleSource
{
    QuestionBank bank;
    QString entryPrefix = QStringLiteral("qm");
    QString entryExtension = QStringLiteral("dat");
    ArchiveLayout layout;
    QByteArray reserved = QByteArray(reservedBytes, '\0');
    QList<TextEntry> textEntries;
    // The source file of each question, as named in messages ("questions/00-first.json").
    OneBasedArray<QString> questionFiles;
    // The names under files/, when the source was read from a folder.
    std::optional<QSet<QString>> availableFiles;
    // The drop slots, in pixels, of each picture the build draws from diagrams/<name>.json,
    // by picture name (<name>.png).
    QHash<QString, QList<QRect>> drawnSlots;
};

// Values a source may leave out, computed from the rows of question q. The key of a choice
// question comes from the choices marked correct, which only the source knows: for types 1
// and 2 derivedAnswerKey returns the question's own key.
int derivedChoiceCount(const QuestionBank &bank, int q);
int derivedAnswerKey(const QuestionBank &bank, int q);
int derivedQuestionCount(const QuestionBank &bank, int objective);

// How messages name question q: its file, number and code ("questions/10-a.json: question
// 3 (A-1): ").
QString questionWhere(const ModuleSource &source, int q);

// Names used in messages for the rows of a question type ("choice", "value", "item").
QString choiceRowNoun(int questionType);

// Why text cannot go into the module ("character "→" (U+2192) cannot be written in
// Windows-1252"); nullopt when it can.
std::optional<QString> ansiProblem(const QString &text);

// Most uncompressed bytes per block a source may ask for.
constexpr int maxBlockSize = 16 * 1024 * 1024;

// The archive of a (validated) source.
QByteArray packModule(const ModuleSource &source);

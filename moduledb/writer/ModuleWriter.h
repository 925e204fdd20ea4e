#pragma once

#include "moduledb/QuestionBank.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Writes test modules in the database layout: the table files and the archive that holds
// them. Used by the packer and by tests and fuzz seeds that need modules of their own.
// Text that Windows-1252 cannot encode is written as '?', and values beyond a field's size
// are cut to fit: validate before writing.

// Most bytes of one text field (its length is a signed 2-byte number).
constexpr int maxTextBytes = 32767;
// Most filler bytes of the archive header.
constexpr int maxFillerBytes = 32767;
// Size of every entry's reserved field.
constexpr int reservedBytes = 16;

struct ArchiveEntry
{
    QByteArray name;
    QByteArray content;
    QByteArray reserved = QByteArray(reservedBytes, '\0');
};

struct ArchiveLayout
{
    QByteArray filler;
    QByteArray headerString1; // at most 255 bytes, like entry names
    QByteArray headerString2;
    int blockSize = 65536;  // most uncompressed bytes per block
    bool extraByte = false; // one byte after each block's zlib stream
};

QByteArray encodeInfoTable(const TestInfo &info);
QByteArray encodeTable(const OneBasedArray<Objective> &rows);
QByteArray encodeTable(const OneBasedArray<Prompt> &rows);
QByteArray encodeTable(const OneBasedArray<QuestionType> &rows);
QByteArray encodeTable(const OneBasedArray<Question> &rows);
QByteArray encodeTable(const OneBasedArray<ChoiceRow> &rows);
QByteArray encodeTable(const OneBasedArray<DndRow> &rows);
QByteArray encodeTable(const OneBasedArray<SimRow> &rows);

// The table names in the order the archive holds them: info, objective, prompt,
// questiontype, question, mcfri, dnd, simulation.
const QStringList &tableNames();

// prefix + "_" + table + "." + extension, in Windows-1252.
QByteArray tableEntryName(const QString &prefix, const QString &table, const QString &extension);

// The eight table entries of a bank, named prefix + "_" + table + "." + extension, in the
// order info, objective, prompt, questiontype, question, mcfri, dnd, simulation.
QList<ArchiveEntry> bankEntries(const QuestionBank &bank,
                                const QString &prefix = QStringLiteral("qm"),
                                const QString &extension = QStringLiteral("dat"));

// The whole archive: header, then each entry with its content split into blocks of
// layout.blockSize bytes, each block one zlib stream made by compress(). An empty entry
// has no blocks, only its end marker.
QByteArray packArchive(const QList<ArchiveEntry> &entries, const ArchiveLayout &layout);

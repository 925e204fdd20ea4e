#pragma once

#include "QuestionBank.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Writes test modules in the database layout: the table files and the archive that holds
// them. Used by the packer and by tests and fuzz seeds that need modules of their own.
// Text that Windows-1252 cannot encode is written as '?': validate before writing.

struct ArchiveEntry
{
    QByteArray name;
    QByteArray content;
    QByteArray reserved = QByteArray(16, '\0');
};

struct ArchiveLayout
{
    QByteArray filler;
    QByteArray headerString1;
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

// The eight table entries of a bank, named prefix + "_" + table + "." + extension, in the
// order info, objective, prompt, questiontype, question, mcfri, dnd, simulation.
QList<ArchiveEntry> bankEntries(const QuestionBank &bank,
                                const QString &prefix = QStringLiteral("qm"),
                                const QString &extension = QStringLiteral("dat"));

// The whole archive: header, then each entry with its content split into blocks.
QByteArray packArchive(const QList<ArchiveEntry> &entries, const ArchiveLayout &layout);

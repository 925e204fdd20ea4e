#pragma once

#include "ModuleSource.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

struct DumpedModule
{
    ModuleSource source;
    // What the source cannot carry: parts of the archive that packing it again would not
    // reproduce byte for byte.
    QStringList warnings;
};

// Reads an archive as the program loads it, back into its source form; nullopt with the
// reason in error when the program would not load it.
std::optional<DumpedModule> dumpArchive(QByteArrayView archive, QString *error);

// The files of a source folder: relative path -> content (module.json, questions/*.json and
// the text entries), in the form readSourceFiles reads back.
QMap<QString, QByteArray> sourceFiles(const ModuleSource &source);

bool writeSourceFiles(const QMap<QString, QByteArray> &files, const QString &folder,
                      QString *error);

// Copies the pictures and exhibits named by the questions from `from` into `to`; returns a
// warning for each one that is not there.
QStringList copyQuestionFiles(const QuestionBank &bank, const QString &from, const QString &to);

#pragma once

#include "BankFormat.h"

#include "tools/qdbpack/ModuleSource.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

struct BankFile
{
    QString name; // as the report names it
    QByteArray content;
    QString folder; // where pictures named by a path are looked up
};

struct ImportOptions
{
    std::optional<BankFormat> format;     // told from each file's content when not given
    QString examCode;                     // empty: the first file's name
    QString examTitle;                    // empty: the first file's name
    std::optional<int> examQuestionCount; // 60, or the bank's size when smaller
    int passingScore = 700;
    int durationMinutes = 90;
    QString dbRelease;
};

struct ImportedModule
{
    ModuleSource source;
    QMap<QString, QByteArray> files; // the pictures and exhibits for files/
    // One line per question changed, dropped or skipped: "file:line (name): what".
    QStringList report;
};

// Reads the bank files and maps their questions into a module, without validating it.
// nullopt, with one message naming the file and the position, when a file cannot be read.
std::optional<ImportedModule> importBanks(const QList<BankFile> &files,
                                          const ImportOptions &options, QString *error);

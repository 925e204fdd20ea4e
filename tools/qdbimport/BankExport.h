#pragma once

#include "BankFormat.h"

#include "moduledb/QuestionBank.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// A module with the pictures and exhibits its questions name.
struct ModuleWithFiles
{
    QuestionBank bank;
    QMap<QString, QByteArray> files;
    QStringList warnings; // named files that are not there
};

// A test database read through the program's own reader (pictures and exhibits from its
// folder), or a source folder (files from its files/); nullopt with the reason in error.
std::optional<ModuleWithFiles> readModuleForExport(const QString &path, QString *error);

struct ExportedBank
{
    QByteArray content;
    QMap<QString, QByteArray> besideFiles; // pictures a GIFT file can only name
    QStringList report;                    // "CODE: what was changed or left out"
};

// The module as a bank in format: objectives as categories, each question as its nearest
// equivalent.
ExportedBank exportModule(const ModuleWithFiles &module, BankFormat format);

#pragma once

#include <QStringList>
#include <QTextStream>

#include <optional>

// qdbpack import FILE... --to DIR [--format F] [--code C] [--title T] [--questions N]
//                [--passing N] [--minutes N]
// qdbpack export MODULE.qdb|DIR [--format gift|moodlexml] --to FILE
// The report goes to out, errors to err. Returns the exit status, nullopt when the
// arguments make no such command.
std::optional<int> runImport(const QStringList &args, QTextStream &out, QTextStream &err);
std::optional<int> runExport(const QStringList &args, QTextStream &out, QTextStream &err);

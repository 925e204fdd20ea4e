// qdbpack: packs a module source folder into a test database, lints it, and dumps a
// database back into a source folder; imports question banks into a source folder and exports
// modules back into them.

#include "ModuleDump.h"
#include "ModuleLint.h"
#include "ModuleValidation.h"
#include "SourceReader.h"

#include "tools/qdbimport/BankCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

namespace {

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

int usage()
{
    err() << "usage: qdbpack pack <source-folder> <output.qdb> [--block-size N] "
             "[--extra-byte|--no-extra-byte] [--no-lint]\n"
             "       qdbpack lint <source-folder>\n"
             "       qdbpack dump <archive.qdb> <output-folder>\n"
             "       qdbpack import <bank>... --to <new-folder> [--format gift|moodlexml|aiken] "
             "[--code C] [--title T] [--questions N] [--passing N] [--minutes N]\n"
             "       qdbpack export <archive.qdb|source-folder> [--format gift|moodlexml] "
             "--to <file>\n";
    return 2;
}

int refuse(const QStringList &messages)
{
    for (const QString &message : messages)
        err() << message << '\n';
    return 1;
}

void printWarnings(const QStringList &warnings)
{
    for (const QString &warning : warnings)
        err() << "warning: " << warning << '\n';
}

int pack(const QStringList &args)
{
    if (args.size() < 2)
        return usage();
    std::optional<int> blockSize;
    std::optional<bool> extraByte;
    bool lint = true;
    for (qsizetype i = 2; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--no-lint")) {
            lint = false;
        } else if (args[i] == QStringLiteral("--extra-byte")) {
            extraByte = true;
        } else if (args[i] == QStringLiteral("--no-extra-byte")) {
            extraByte = false;
        } else if (args[i] == QStringLiteral("--block-size") && i + 1 < args.size()) {
            bool ok = false;
            blockSize = args[++i].toInt(&ok);
            if (!ok || *blockSize < 1 || *blockSize > maxBlockSize)
                return refuse({QStringLiteral("--block-size: \"%1\" is not a number from 1 to %2")
                                   .arg(args[i])
                                   .arg(maxBlockSize)});
        } else {
            return usage();
        }
    }

    QStringList errors;
    auto source = readModuleFolder(args[0], &errors);
    if (!source)
        return refuse(errors);
    // Options given on the command line override the source's archive settings.
    if (blockSize)
        source->layout.blockSize = *blockSize;
    if (extraByte)
        source->layout.extraByte = *extraByte;
    errors = validateModule(*source);
    if (!errors.isEmpty())
        return refuse(errors);
    // Warnings are for the author: the module packs all the same.
    if (lint)
        printWarnings(lintModule(*source));

    const QByteArray archive = packModule(*source);
    QDir().mkpath(QFileInfo(args[1]).absolutePath());
    QSaveFile file(args[1]);
    if (!file.open(QIODevice::WriteOnly) || file.write(archive) != archive.size() || !file.commit())
        return refuse(
            {QStringLiteral("%1: cannot be written (%2)").arg(args[1], file.errorString())});
    return 0;
}

int lint(const QStringList &args)
{
    if (args.size() != 1)
        return usage();
    QStringList errors;
    const auto source = readModuleFolder(args[0], &errors);
    if (!source)
        return refuse(errors);
    errors = validateModule(*source);
    if (!errors.isEmpty())
        return refuse(errors);
    const QStringList warnings = lintModule(*source);
    printWarnings(warnings);
    return warnings.isEmpty() ? 0 : 1;
}

int dump(const QStringList &args)
{
    if (args.size() != 2)
        return usage();
    QFile file(args[0]);
    if (!file.open(QIODevice::ReadOnly))
        return refuse({QStringLiteral("%1: cannot be read (%2)").arg(args[0], file.errorString())});
    QString error;
    const auto dumped = dumpArchive(file.readAll(), &error);
    if (!dumped)
        return refuse({args[0] + QStringLiteral(": ") + error});
    if (!writeSourceFiles(sourceFiles(dumped->source), args[1], &error))
        return refuse({error});
    QStringList warnings = dumped->warnings;
    warnings += copyQuestionFiles(dumped->source.bank, QFileInfo(args[0]).absolutePath(),
                                  QDir(args[1]).filePath(QStringLiteral("files")));
    printWarnings(warnings);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() >= 1 && args[0] == QStringLiteral("pack"))
        return pack(args.mid(1));
    if (args.size() >= 1 && args[0] == QStringLiteral("lint"))
        return lint(args.mid(1));
    if (args.size() >= 1 && args[0] == QStringLiteral("dump"))
        return dump(args.mid(1));
    QTextStream out(stdout);
    std::optional<int> status;
    if (args.size() >= 1 && args[0] == QStringLiteral("import"))
        status = runImport(args.mid(1), out, err());
    if (args.size() >= 1 && args[0] == QStringLiteral("export"))
        status = runExport(args.mid(1), out, err());
    return status ? *status : usage();
}

#include "BankCommands.h"

#include "BankExport.h"
#include "BankImport.h"

#include "tools/qdbpack/ModuleDump.h"
#include "tools/qdbpack/ModuleValidation.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

namespace {

// The options of a command: "--name value" pairs and the arguments between them.
struct Arguments
{
    QStringList positional;
    QMap<QString, QString> options;
};

std::optional<Arguments> splitArguments(const QStringList &args, const QStringList &known)
{
    Arguments split;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (!args[i].startsWith(QStringLiteral("--"))) {
            split.positional.append(args[i]);
            continue;
        }
        if (!known.contains(args[i]) || i + 1 >= args.size())
            return std::nullopt;
        split.options.insert(args[i], args[i + 1]);
        ++i;
    }
    return split;
}

bool writeFile(const QString &path, const QByteArray &content, QTextStream &err)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit())
        return true;
    err << QStringLiteral("%1: cannot be written (%2)").arg(path, file.errorString()) << '\n';
    return false;
}

int fail(QTextStream &err, const QStringList &messages)
{
    for (const QString &message : messages)
        err << message << '\n';
    return 1;
}

} // namespace

std::optional<int> runImport(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const auto split = splitArguments(
        args, {QStringLiteral("--to"), QStringLiteral("--format"), QStringLiteral("--code"),
               QStringLiteral("--title"), QStringLiteral("--questions"),
               QStringLiteral("--passing"), QStringLiteral("--minutes")});
    if (!split || split->positional.isEmpty() || !split->options.contains(QStringLiteral("--to")))
        return std::nullopt;
    const QString folder = split->options.value(QStringLiteral("--to"));

    ImportOptions options;
    options.examCode = split->options.value(QStringLiteral("--code"));
    options.examTitle = split->options.value(QStringLiteral("--title"));
    options.dbRelease = QLocale::c().toString(QDate::currentDate(), QStringLiteral("MMMM yyyy"));
    if (split->options.contains(QStringLiteral("--format"))) {
        options.format = bankFormatNamed(split->options.value(QStringLiteral("--format")));
        if (!options.format)
            return fail(err, {QStringLiteral("--format: \"%1\" is none of gift, moodlexml, aiken")
                                  .arg(split->options.value(QStringLiteral("--format")))});
    }
    // A number option, or fallback when it is not given.
    const auto number = [&](const QString &name, int min, int max,
                            int fallback) -> std::optional<int> {
        if (!split->options.contains(name))
            return fallback;
        bool ok = false;
        const int value = split->options.value(name).toInt(&ok);
        if (ok && value >= min && value <= max)
            return value;
        fail(err, {QStringLiteral("%1: \"%2\" is not a number from %3 to %4")
                       .arg(name, split->options.value(name))
                       .arg(min)
                       .arg(max)});
        return std::nullopt;
    };
    const auto questions = number(QStringLiteral("--questions"), 1, 32767, 0);
    const auto passing = number(QStringLiteral("--passing"), 0, 1000, options.passingScore);
    const auto minutes = number(QStringLiteral("--minutes"), 1, 32767, options.durationMinutes);
    if (!questions || !passing || !minutes)
        return 1;
    if (*questions > 0)
        options.examQuestionCount = *questions;
    options.passingScore = *passing;
    options.durationMinutes = *minutes;

    QList<BankFile> files;
    for (const QString &path : split->positional) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return fail(err,
                        {QStringLiteral("%1: cannot be read (%2)").arg(path, file.errorString())});
        files.append({QFileInfo(path).fileName(), file.readAll(), QFileInfo(path).absolutePath()});
    }
    if (QDir(folder).exists() && !QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot))
        return fail(err,
                    {QStringLiteral("%1: exists and is not empty; name a new folder").arg(folder)});

    QString error;
    const auto module = importBanks(files, options, &error);
    if (!module)
        return fail(err, {error});
    for (const QString &line : module->report)
        out << line << '\n';
    out.flush();
    // What the packer would refuse is not written either.
    const QStringList problems = validateModule(module->source);
    if (!problems.isEmpty())
        return fail(err, problems);

    QMap<QString, QByteArray> written = sourceFiles(module->source);
    for (auto it = module->files.begin(); it != module->files.end(); ++it)
        written.insert(QStringLiteral("files/") + it.key(), it.value());
    if (!writeSourceFiles(written, folder, &error))
        return fail(err, {error});
    return 0;
}

std::optional<int> runExport(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const auto split = splitArguments(args, {QStringLiteral("--to"), QStringLiteral("--format")});
    if (!split || split->positional.size() != 1 || !split->options.contains(QStringLiteral("--to")))
        return std::nullopt;
    const QString target = split->options.value(QStringLiteral("--to"));
    // Without --format, the file's extension names it.
    const QString formatName =
        split->options.value(QStringLiteral("--format"), target.endsWith(QStringLiteral(".xml"))
                                                             ? QStringLiteral("moodlexml")
                                                             : QStringLiteral("gift"));
    const auto format = bankFormatNamed(formatName);
    if (!format || *format == BankFormat::Aiken)
        return fail(
            err,
            {QStringLiteral("--format: \"%1\" is neither gift nor moodlexml").arg(formatName)});

    QString error;
    const auto module = readModuleForExport(split->positional.first(), &error);
    if (!module)
        return fail(err, {error});
    const ExportedBank exported = exportModule(*module, *format);
    QDir().mkpath(QFileInfo(target).absolutePath());
    if (!writeFile(target, exported.content, err))
        return 1;
    for (auto it = exported.besideFiles.begin(); it != exported.besideFiles.end(); ++it) {
        if (!writeFile(QFileInfo(target).absoluteDir().filePath(it.key()), it.value(), err))
            return 1;
    }
    for (const QString &line : exported.report)
        out << line << '\n';
    return 0;
}

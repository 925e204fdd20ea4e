#include "ModuleDump.h"

#include "SourceReader.h"
#include "moduledb/Ansi.h"
#include "moduledb/ModulePreload.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>

namespace {

const QString dumpedQuestionFile = QStringLiteral("questions/00-questions.json");

// The block size that splits the entries as the archive does: the size of the first of
// several blocks or, when no entry has several, the default unless one block is larger.
int blockSizeOf(const QList<UnpackedEntry> &entries)
{
    int largestSingle = ArchiveLayout().blockSize;
    for (const UnpackedEntry &entry : entries) {
        if (entry.blockSizes.size() > 1)
            return entry.blockSizes.first();
        if (entry.blockSizes.size() == 1)
            largestSingle = std::max(largestSingle, int(entry.blockSizes.first()));
    }
    return largestSingle;
}

// Splits "qm_info.dat" into the prefix and the extension around the table name.
std::pair<QString, QString> prefixAndExtension(const QString &entryName)
{
    const qsizetype underscore = entryName.indexOf(u'_');
    const qsizetype dot = entryName.indexOf(u'.', underscore + 1);
    return {entryName.left(std::max<qsizetype>(underscore, 0)),
            dot < 0 ? QString() : entryName.mid(dot + 1)};
}

QString trimmedCode(QString code)
{
    while (code.endsWith(u' '))
        code.chop(1);
    return code;
}

QJsonValue textRow(const ChoiceRow &row)
{
    if (row.spare == 0)
        return row.text;
    return QJsonObject{{QStringLiteral("text"), row.text}, {QStringLiteral("spare"), row.spare}};
}

QJsonObject questionObject(const QuestionBank &bank, int q)
{
    const Question &question = bank.questions[q];
    QJsonObject object{
        {QStringLiteral("questionCode"), trimmedCode(question.questionCode)},
        {QStringLiteral("objectiveNo"), question.objectiveNo},
        {QStringLiteral("questionType"), question.questionType},
        {QStringLiteral("questionText"), question.questionText},
        {QStringLiteral("explanation"), question.explanation},
        {QStringLiteral("reference"), question.reference},
    };
    if (question.questionId != q)
        object.insert(QStringLiteral("questionId"), question.questionId);
    if (!question.diagramFile.isEmpty())
        object.insert(QStringLiteral("diagramFile"), question.diagramFile);
    if (!question.exhibitFile.isEmpty())
        object.insert(QStringLiteral("exhibitFile"), question.exhibitFile);

    const int type = question.questionType;
    QJsonArray choices;
    int choiceCount = 0;
    for (const ChoiceRow &row : bank.choiceRows) {
        if (row.questionId != question.questionId)
            continue;
        if (type == SingleAnswer || type == MultipleAnswers || type < 1 || type > Simulation) {
            QJsonObject choice{{QStringLiteral("text"), row.text}};
            if (choiceCount < 16 && (quint16(question.answerKey) >> choiceCount) & 1)
                choice.insert(QStringLiteral("correct"), true);
            if (row.spare != 0)
                choice.insert(QStringLiteral("spare"), row.spare);
            choices.append(choice);
        } else {
            choices.append(textRow(row));
        }
        ++choiceCount;
    }
    if (type == TypedAnswer && !choices.isEmpty())
        object.insert(QStringLiteral("answer"), choices.first());
    else if (type == TypedValues)
        object.insert(QStringLiteral("values"), choices);
    else if (type == TextDragAndDrop || type == GraphicalDragAndDrop)
        object.insert(QStringLiteral("items"), choices);
    else if (!choices.isEmpty() || type == SingleAnswer || type == MultipleAnswers)
        object.insert(QStringLiteral("choices"), choices);

    QJsonArray targets;
    for (const DndRow &row : bank.dndRows) {
        if (row.questionId != question.questionId)
            continue;
        QJsonObject target{
            {QStringLiteral("correctSource"), row.correctSource},
            {QStringLiteral("left"), row.targetLeft},
            {QStringLiteral("top"), row.targetTop},
            {QStringLiteral("width"), row.targetWidth},
            {QStringLiteral("height"), row.targetHeight},
        };
        if (!row.text.isEmpty())
            target.insert(QStringLiteral("text"), row.text);
        targets.append(target);
    }
    if (!targets.isEmpty() || type == TextDragAndDrop || type == GraphicalDragAndDrop)
        object.insert(QStringLiteral("targets"), targets);

    QJsonArray tasks;
    for (const SimRow &row : bank.simRows) {
        if (row.questionId != question.questionId)
            continue;
        QJsonObject task{
            {QStringLiteral("hostName"), row.hostName},
            {QStringLiteral("promptNo"), row.promptNo},
            {QStringLiteral("taskText"), row.taskText},
            {QStringLiteral("expectedCommand"), row.expectedCommand},
        };
        if (!row.response.isEmpty())
            task.insert(QStringLiteral("response"), row.response);
        tasks.append(task);
    }
    if (!tasks.isEmpty() || type == Simulation)
        object.insert(QStringLiteral("tasks"), tasks);

    // Derived values are written only where the archive holds something else, so that the
    // packer reports the difference instead of silently correcting it.
    if (question.choiceCount != derivedChoiceCount(bank, q))
        object.insert(QStringLiteral("choiceCount"), question.choiceCount);
    const bool keyFromChoices = type == SingleAnswer || type == MultipleAnswers;
    const bool keyFits = choiceCount >= 16 || (quint16(question.answerKey) >> choiceCount) == 0;
    if (keyFromChoices ? !keyFits : question.answerKey != derivedAnswerKey(bank, q))
        object.insert(QStringLiteral("answerKey"), question.answerKey);
    return object;
}

QByteArray jsonBytes(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

} // namespace

std::optional<DumpedModule> dumpArchive(QByteArrayView bytes, QString *error)
{
    // Read as the program reads it: what dumps is what loads.
    PreloadedModule module = preloadArchive(bytes);
    const ParsedArchive &archive = module.archive;
    if (archive.failure != ArchiveFailure::None) {
        *error = archive.problem;
        return std::nullopt;
    }
    if (!module.tablesLoaded) {
        *error = QStringLiteral("the entries do not load as they stand (a text entry comes "
                                "first, or two entries have the same name)");
        return std::nullopt;
    }
    if (module.loadProblem) {
        *error = module.loadProblem->description;
        return std::nullopt;
    }

    DumpedModule dumped;
    ModuleSource &source = dumped.source;
    source.bank = std::move(module.bank);
    for (int q = 1; q <= source.bank.questions.size(); ++q) {
        source.bank.questions[q].questionCode = trimmedCode(source.bank.questions[q].questionCode);
        source.questionFiles.append(dumpedQuestionFile);
    }
    for (const UnpackedEntry &entry : archive.entries) {
        if (isProgramFolderEntry(entry.name))
            source.textEntries.append({entry.name, entry.content});
    }
    std::tie(source.entryPrefix, source.entryExtension) =
        prefixAndExtension(archive.entries.first().name);
    source.reserved = archive.entries.first().reserved;
    source.layout.filler = archive.filler;
    source.layout.headerString1 = archive.headerString1;
    source.layout.headerString2 = archive.headerString2;
    source.layout.blockSize = blockSizeOf(archive.entries);
    // A prompt table that read no record holds its capacity of empty prompts.
    if (std::all_of(source.bank.prompts.begin(), source.bank.prompts.end(),
                    [](const Prompt &prompt) { return prompt == Prompt(); }))
        source.bank.prompts.clear();

    // The source goes through its files and back, exactly as a later pack will read it.
    // Whether the blocks carry a byte after their zlib streams only shows in the bytes.
    QByteArray repacked;
    for (const bool extraByte : {false, true}) {
        source.layout.extraByte = extraByte;
        QStringList readErrors;
        const auto reread = readSourceFiles(sourceFiles(source), &readErrors);
        repacked = reread ? packModule(*reread) : QByteArray();
        if (repacked == bytes)
            return dumped;
    }
    qsizetype at = 0;
    while (at < repacked.size() && at < bytes.size() && repacked[at] == bytes[at])
        ++at;
    dumped.warnings.append(QStringLiteral("packing the dumped source does not give the same "
                                          "archive (the first difference is at byte %1)")
                               .arg(at));
    return dumped;
}

QMap<QString, QByteArray> sourceFiles(const ModuleSource &source)
{
    const QuestionBank &bank = source.bank;
    const TestInfo &info = bank.testInfo;
    QJsonObject infoObject{
        {QStringLiteral("examCode"), info.examCode},
        {QStringLiteral("examTitle"), info.examTitle},
        {QStringLiteral("examQuestionCount"), info.examQuestionCount},
        {QStringLiteral("passingScore"), info.passingScore},
        {QStringLiteral("durationMinutes"), info.durationMinutes},
        {QStringLiteral("dbVersion"), info.dbVersion},
        {QStringLiteral("dbRelease"), info.dbRelease},
        {QStringLiteral("description"), info.description},
        {QStringLiteral("notes"), info.notes},
    };
    if (info.totalQuestions != bank.questions.size())
        infoObject.insert(QStringLiteral("totalQuestions"), info.totalQuestions);
    if (info.numObjectives != bank.objectives.size())
        infoObject.insert(QStringLiteral("numObjectives"), info.numObjectives);

    QJsonArray textEntries;
    for (const TextEntry &entry : source.textEntries)
        textEntries.append(entry.name);
    QJsonObject archive{
        {QStringLiteral("entryPrefix"), source.entryPrefix},
        {QStringLiteral("entryExtension"), source.entryExtension},
        {QStringLiteral("headerString1"), fromAnsi(source.layout.headerString1)},
        {QStringLiteral("headerString2"), fromAnsi(source.layout.headerString2)},
        {QStringLiteral("blockSize"), source.layout.blockSize},
        {QStringLiteral("extraByte"), source.layout.extraByte},
        {QStringLiteral("textEntries"), textEntries},
    };
    if (!source.layout.filler.isEmpty())
        archive.insert(QStringLiteral("filler"), QString::fromLatin1(source.layout.filler.toHex()));
    if (source.reserved != QByteArray(reservedBytes, '\0'))
        archive.insert(QStringLiteral("reserved"), QString::fromLatin1(source.reserved.toHex()));

    QJsonArray objectives;
    for (int i = 1; i <= bank.objectives.size(); ++i) {
        const Objective &row = bank.objectives[i];
        QJsonObject object{{QStringLiteral("objectiveName"), row.objectiveName}};
        if (row.objectiveNo != i)
            object.insert(QStringLiteral("objectiveNo"), row.objectiveNo);
        if (row.questionCount != derivedQuestionCount(bank, i))
            object.insert(QStringLiteral("questionCount"), row.questionCount);
        objectives.append(object);
    }
    QJsonArray prompts;
    for (int i = 1; i <= bank.prompts.size(); ++i) {
        QJsonObject object{{QStringLiteral("promptText"), bank.prompts[i].promptText}};
        if (bank.prompts[i].promptNo != i)
            object.insert(QStringLiteral("promptNo"), bank.prompts[i].promptNo);
        prompts.append(object);
    }
    QJsonArray types;
    for (int i = 1; i <= bank.questionTypes.size(); ++i) {
        const QuestionType &row = bank.questionTypes[i];
        QJsonObject object{{QStringLiteral("typeName"), row.typeName},
                           {QStringLiteral("typeCaption"), row.typeCaption}};
        if (row.typeCode != i)
            object.insert(QStringLiteral("typeCode"), row.typeCode);
        types.append(object);
    }

    QMap<QString, QByteArray> files;
    files.insert(QStringLiteral("module.json"),
                 jsonBytes({{QStringLiteral("info"), infoObject},
                            {QStringLiteral("archive"), archive},
                            {QStringLiteral("objectives"), objectives},
                            {QStringLiteral("prompts"), prompts},
                            {QStringLiteral("questionTypes"), types}}));
    QMap<QString, QJsonArray> questionsByFile;
    for (int q = 1; q <= bank.questions.size(); ++q) {
        const QString file =
            source.questionFiles.contains(q) ? source.questionFiles[q] : dumpedQuestionFile;
        questionsByFile[file].append(questionObject(bank, q));
    }
    for (auto it = questionsByFile.begin(); it != questionsByFile.end(); ++it)
        files.insert(it.key(), jsonBytes({{QStringLiteral("questions"), it.value()}}));
    for (const TextEntry &entry : source.textEntries)
        files.insert(entry.name, entry.content);
    return files;
}

bool writeSourceFiles(const QMap<QString, QByteArray> &files, const QString &folder, QString *error)
{
    const QDir dir(folder);
    for (auto it = files.begin(); it != files.end(); ++it) {
        const QString path = dir.filePath(it.key());
        QSaveFile file(path);
        if (!QDir().mkpath(QFileInfo(path).path()) || !file.open(QIODevice::WriteOnly) ||
            file.write(it.value()) != it.value().size() || !file.commit()) {
            *error = QStringLiteral("%1: cannot be written (%2)").arg(path, file.errorString());
            return false;
        }
    }
    return true;
}

QStringList copyQuestionFiles(const QuestionBank &bank, const QString &from, const QString &to)
{
    QStringList warnings;
    QStringList copied;
    QDir().mkpath(to);
    for (const Question &question : bank.questions) {
        for (const QString &name : {question.diagramFile, question.exhibitFile}) {
            if (name.isEmpty() || copied.contains(name) || name.contains(u'/') ||
                name.contains(u'\\') || name == QStringLiteral(".."))
                continue;
            copied.append(name);
            const QString target = QDir(to).filePath(name);
            QFile::remove(target);
            if (!QFile::copy(QDir(from).filePath(name), target))
                warnings.append(
                    QStringLiteral("%1 is not beside the archive; files/ lacks it").arg(name));
        }
    }
    return warnings;
}

#include "ModuleDump.h"

#include "SourceReader.h"
#include "moduledb/Ansi.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QtEndian>

#include <zlib.h>

namespace {

const QString dumpedQuestionFile = QStringLiteral("questions/00-questions.json");

// Larger blocks are taken for damage rather than allocated.
constexpr qint32 maxInflatedBlock = 64 * 1024 * 1024;

// Reads little-endian fields from a byte range; once a read runs past the end every
// further read fails too.
class ByteReader
{
public:
    explicit ByteReader(QByteArrayView bytes) : m_bytes(bytes) {}

    bool atEnd() const { return m_at >= m_bytes.size(); }
    qsizetype remaining() const { return m_bytes.size() - m_at; }
    bool failed() const { return m_failed; }

    QByteArrayView take(qsizetype count)
    {
        if (m_failed || count < 0 || count > remaining()) {
            m_failed = true;
            return {};
        }
        const QByteArrayView bytes = m_bytes.sliced(m_at, count);
        m_at += count;
        return bytes;
    }
    quint8 byte()
    {
        const QByteArrayView bytes = take(1);
        return m_failed ? 0 : quint8(bytes[0]);
    }
    qint16 int16()
    {
        const QByteArrayView bytes = take(2);
        return m_failed ? 0 : qFromLittleEndian<qint16>(bytes.data());
    }
    qint32 int32()
    {
        const QByteArrayView bytes = take(4);
        return m_failed ? 0 : qFromLittleEndian<qint32>(bytes.data());
    }
    QString text() { return fromAnsi(take(quint16(int16()))); }
    QString fixedText(int length) { return fromAnsi(take(length)); }

private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
    bool m_failed = false;
};

struct Block
{
    int inflatedSize = 0;
    bool extraByte = false;
    char extraValue = 0;
};

struct ReadEntry
{
    ArchiveEntry entry;
    QList<Block> blocks;
};

struct ReadArchive
{
    ArchiveLayout layout;
    QList<ReadEntry> entries;
};

std::optional<ReadArchive> readArchive(QByteArrayView bytes, QString *error, QStringList *warnings)
{
    ByteReader in(bytes);
    ReadArchive archive;
    const int entryCount = in.int16();
    if (in.failed() || entryCount < 1) {
        *error = QStringLiteral("the file holds no test module (entry count %1)").arg(entryCount);
        return std::nullopt;
    }
    archive.layout.filler = in.take(in.int16()).toByteArray();
    archive.layout.headerString1 = in.take(in.byte()).toByteArray();
    archive.layout.headerString2 = in.take(in.byte()).toByteArray();
    if (in.failed()) {
        *error = QStringLiteral("the archive ends inside its header");
        return std::nullopt;
    }
    for (int i = 1; i <= entryCount; ++i) {
        ReadEntry read;
        read.entry.name = in.take(in.byte()).toByteArray();
        read.entry.reserved = in.take(reservedBytes).toByteArray();
        const QString where =
            QStringLiteral("entry %1 (%2): ").arg(i).arg(fromAnsi(read.entry.name));
        for (int storedLength = in.int32(); storedLength != 0 && !in.failed();
             storedLength = in.int32()) {
            const qint32 inflatedSize = in.int32();
            if (storedLength < 0 || inflatedSize < 0 || inflatedSize > maxInflatedBlock) {
                *error = where + QStringLiteral("block %1 has a length below 0 or above %2 bytes")
                                     .arg(read.blocks.size() + 1);
                return std::nullopt;
            }
            const QByteArrayView data = in.take(qsizetype(storedLength) + 1);
            if (in.failed())
                break;
            QByteArray inflated(inflatedSize, Qt::Uninitialized);
            z_stream stream{};
            if (inflateInit(&stream) != Z_OK) {
                *error = QStringLiteral("zlib cannot be set up");
                return std::nullopt;
            }
            stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
            stream.avail_in = uInt(data.size());
            stream.next_out = reinterpret_cast<Bytef *>(inflated.data());
            stream.avail_out = uInt(inflated.size());
            const int result = inflate(&stream, Z_FINISH);
            const qsizetype consumed = qsizetype(stream.total_in);
            const qsizetype produced = qsizetype(stream.total_out);
            inflateEnd(&stream);
            if (result != Z_STREAM_END || produced != inflatedSize) {
                *error = where + QStringLiteral("block %1 does not inflate to its %2 bytes")
                                     .arg(read.blocks.size() + 1)
                                     .arg(inflatedSize);
                return std::nullopt;
            }
            const qsizetype trailing = data.size() - consumed;
            if (trailing > 1) {
                *error = where + QStringLiteral("block %1 has %2 bytes after its zlib stream")
                                     .arg(read.blocks.size() + 1)
                                     .arg(trailing);
                return std::nullopt;
            }
            read.blocks.append({inflatedSize, trailing == 1, trailing == 1 ? data.back() : '\0'});
            read.entry.content.append(inflated);
        }
        if (in.failed()) {
            *error = where + QStringLiteral("the archive ends inside this entry");
            return std::nullopt;
        }
        archive.entries.append(read);
    }
    if (!in.atEnd())
        warnings->append(
            QStringLiteral("%1 bytes after the last entry are left out").arg(in.remaining()));
    return archive;
}

// The layout that packs the blocks as they are: one block size and one extra-byte choice.
void deriveBlockLayout(ReadArchive &archive, QStringList *warnings)
{
    QList<int> fullSizes;
    int largestSingle = 0;
    int extraBytes = 0;
    int blocks = 0;
    bool nonZeroExtra = false;
    for (const ReadEntry &read : archive.entries) {
        if (read.blocks.size() > 1)
            fullSizes.append(read.blocks.first().inflatedSize);
        else if (read.blocks.size() == 1)
            largestSingle = std::max(largestSingle, read.blocks.first().inflatedSize);
        for (const Block &block : read.blocks) {
            ++blocks;
            extraBytes += block.extraByte ? 1 : 0;
            nonZeroExtra = nonZeroExtra || block.extraValue != 0;
        }
    }
    const int defaultSize = ArchiveLayout().blockSize;
    archive.layout.blockSize =
        fullSizes.isEmpty() ? std::max(defaultSize, largestSingle) : fullSizes.first();
    archive.layout.extraByte = extraBytes * 2 > blocks;
    if (extraBytes != 0 && extraBytes != blocks)
        warnings->append(QStringLiteral("only %1 of %2 blocks carry an extra byte; the source "
                                        "gives %3")
                             .arg(extraBytes)
                             .arg(blocks)
                             .arg(archive.layout.extraByte ? QStringLiteral("all of them one")
                                                           : QStringLiteral("none")));
    if (nonZeroExtra)
        warnings->append(QStringLiteral("some blocks' extra byte is not 0; packing writes 0"));
}

QString tableNameOf(const QString &entryName)
{
    const qsizetype underscore = entryName.indexOf(u'_');
    QString name = underscore < 0 ? entryName : entryName.mid(underscore + 1);
    return name.left(name.indexOf(u'.')).toLower();
}

bool isTextEntryName(const QString &name)
{
    return name.compare(QStringLiteral("readme.txt"), Qt::CaseInsensitive) == 0 ||
           name.compare(QStringLiteral("eula.txt"), Qt::CaseInsensitive) == 0;
}

template <typename Row, typename ReadRow>
OneBasedArray<Row> decodeRows(const QString &table, QByteArrayView bytes, ReadRow readRow,
                              QStringList *warnings)
{
    OneBasedArray<Row> rows;
    ByteReader in(bytes);
    qsizetype recordStart = 0;
    while (!in.atEnd()) {
        Row row = readRow(in);
        if (in.failed()) {
            warnings->append(QStringLiteral("table %1 ends with %2 bytes that are not a whole "
                                            "record; they are left out")
                                 .arg(table)
                                 .arg(bytes.size() - recordStart));
            break;
        }
        recordStart = bytes.size() - in.remaining();
        rows.append(row);
    }
    return rows;
}

void decodeTable(QuestionBank &bank, const QString &table, QByteArrayView bytes,
                 QStringList *warnings)
{
    if (table == QStringLiteral("info")) {
        ByteReader in(bytes);
        TestInfo &info = bank.testInfo;
        info.examCode = in.text();
        info.examTitle = in.text();
        info.examQuestionCount = in.int16();
        info.passingScore = in.int16();
        info.durationMinutes = in.int16();
        info.totalQuestions = in.int16();
        info.numObjectives = in.byte();
        info.dbVersion = in.text();
        info.dbRelease = in.text();
        info.description = in.text();
        info.notes = in.text();
        if (in.failed())
            warnings->append(QStringLiteral("table info holds no whole record"));
        else if (!in.atEnd())
            warnings->append(QStringLiteral("table info has %1 bytes after its record; they are "
                                            "left out")
                                 .arg(in.remaining()));
    } else if (table == QStringLiteral("objective")) {
        bank.objectives = decodeRows<Objective>(
            table, bytes,
            [](ByteReader &in) {
                Objective row;
                row.objectiveNo = in.byte();
                row.objectiveName = in.text();
                row.questionCount = in.int16();
                return row;
            },
            warnings);
    } else if (table == QStringLiteral("prompt")) {
        bank.prompts = decodeRows<Prompt>(
            table, bytes,
            [](ByteReader &in) {
                Prompt row;
                row.promptNo = in.byte();
                row.promptText = in.text();
                return row;
            },
            warnings);
    } else if (table == QStringLiteral("questiontype")) {
        bank.questionTypes = decodeRows<QuestionType>(
            table, bytes,
            [](ByteReader &in) {
                QuestionType row;
                row.typeCode = in.byte();
                row.typeName = in.text();
                row.typeCaption = in.text();
                return row;
            },
            warnings);
    } else if (table == QStringLiteral("question")) {
        bank.questions = decodeRows<Question>(
            table, bytes,
            [](ByteReader &in) {
                Question row;
                row.questionId = in.int16();
                row.questionCode = in.fixedText(questionCodeLength);
                row.objectiveNo = in.byte();
                row.questionText = in.text();
                row.questionType = in.byte();
                row.choiceCount = in.byte();
                row.answerKey = in.int16();
                row.diagramFile = in.text();
                row.exhibitFile = in.text();
                row.explanation = in.text();
                row.reference = in.text();
                return row;
            },
            warnings);
    } else if (table == QStringLiteral("mcfri")) {
        bank.choiceRows = decodeRows<ChoiceRow>(
            table, bytes,
            [](ByteReader &in) {
                ChoiceRow row;
                row.questionId = in.int16();
                row.rowNo = in.byte();
                row.text = in.text();
                row.spare = in.int16();
                return row;
            },
            warnings);
    } else if (table == QStringLiteral("dnd")) {
        bank.dndRows = decodeRows<DndRow>(
            table, bytes,
            [](ByteReader &in) {
                DndRow row;
                row.questionId = in.int16();
                row.rowNo = in.byte();
                row.correctSource = in.byte();
                row.text = in.text();
                row.targetLeft = in.int16();
                row.targetTop = in.int16();
                row.targetWidth = in.int16();
                row.targetHeight = in.int16();
                return row;
            },
            warnings);
    } else if (table == QStringLiteral("simulation")) {
        bank.simRows = decodeRows<SimRow>(
            table, bytes,
            [](ByteReader &in) {
                SimRow row;
                row.questionId = in.int16();
                row.rowNo = in.byte();
                row.hostName = in.text();
                row.promptNo = in.byte();
                row.taskText = in.text();
                row.expectedCommand = in.text();
                row.response = in.text();
                return row;
            },
            warnings);
    }
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
    DumpedModule dumped;
    QStringList &warnings = dumped.warnings;
    auto archive = readArchive(bytes, error, &warnings);
    if (!archive)
        return std::nullopt;
    deriveBlockLayout(*archive, &warnings);

    ModuleSource &source = dumped.source;
    source.layout = archive->layout;
    source.reserved = archive->entries.first().entry.reserved;
    std::tie(source.entryPrefix, source.entryExtension) =
        prefixAndExtension(fromAnsi(archive->entries.first().entry.name));

    QStringList tablesSeen;
    for (const ReadEntry &read : std::as_const(archive->entries)) {
        const QString name = fromAnsi(read.entry.name);
        if (read.entry.reserved != source.reserved)
            warnings.append(QStringLiteral("entry %1 has other reserved bytes than the first "
                                           "entry; the source gives every entry the first's")
                                .arg(name));
        const QString table = tableNameOf(name);
        if (isTextEntryName(name) || !tableNames().contains(table)) {
            source.textEntries.append({name, read.entry.content});
            continue;
        }
        if (tablesSeen.contains(table))
            warnings.append(
                QStringLiteral("table %1 appears twice; the later entry is kept").arg(table));
        tablesSeen.append(table);
        decodeTable(source.bank, table, read.entry.content, &warnings);
    }
    for (const QString &table : tableNames()) {
        if (!tablesSeen.contains(table))
            warnings.append(QStringLiteral("the archive has no table %1").arg(table));
    }
    for (int q = 1; q <= source.bank.questions.size(); ++q) {
        source.bank.questions[q].questionCode = trimmedCode(source.bank.questions[q].questionCode);
        source.questionFiles.append(dumpedQuestionFile);
    }

    // The source goes through its files and back, exactly as a later pack will read it.
    QStringList readErrors;
    const auto reread = readSourceFiles(sourceFiles(source), &readErrors);
    const QByteArray repacked = reread ? packModule(*reread) : QByteArray();
    if (repacked != bytes) {
        qsizetype at = 0;
        while (at < repacked.size() && at < bytes.size() && repacked[at] == bytes[at])
            ++at;
        warnings.append(QStringLiteral("packing the dumped source does not give the same archive "
                                       "(the first difference is at byte %1)")
                            .arg(at));
    }
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

#include "moduledb/writer/ModuleWriter.h"

#include "moduledb/Ansi.h"

#include <QtEndian>

#include <zlib.h>

#include <algorithm>

namespace {

class RecordWriter
{
public:
    void int16(qint16 value)
    {
        char bytes[2];
        qToLittleEndian(value, bytes);
        m_bytes.append(bytes, 2);
    }
    void int32(qint32 value)
    {
        char bytes[4];
        qToLittleEndian(value, bytes);
        m_bytes.append(bytes, 4);
    }
    void byte(quint8 value) { m_bytes.append(char(value)); }
    void raw(QByteArrayView bytes) { m_bytes.append(bytes); }

    // A 2-byte length, then the text.
    void text(const QString &value)
    {
        const QByteArray bytes = ansiText(value).left(maxTextBytes);
        int16(qint16(bytes.size()));
        m_bytes.append(bytes);
    }

    // Exactly `length` bytes: cut, or padded with spaces.
    void fixedText(const QString &value, int length)
    {
        m_bytes.append(ansiText(value).left(length).leftJustified(length, ' '));
    }

    // A 1-byte length, then at most 255 bytes.
    void shortBytes(QByteArrayView bytes)
    {
        const QByteArrayView kept = bytes.first(std::min<qsizetype>(bytes.size(), 255));
        byte(quint8(kept.size()));
        m_bytes.append(kept);
    }

    const QByteArray &bytes() const { return m_bytes; }

private:
    static QByteArray ansiText(const QString &value)
    {
        if (const auto encoded = toAnsi(value))
            return *encoded;
        QByteArray bytes;
        for (QChar ch : value)
            bytes.append(toAnsi(QString(ch)).value_or(QByteArrayLiteral("?")));
        return bytes;
    }

    QByteArray m_bytes;
};

template <typename Row, typename WriteRow>
QByteArray encodeRows(const OneBasedArray<Row> &rows, WriteRow writeRow)
{
    RecordWriter out;
    for (const Row &row : rows)
        writeRow(out, row);
    return out.bytes();
}

// One block: storedLength, inflatedSize, then the zlib stream (plus the extra byte). The
// reader hands storedLength + 1 bytes to uncompress, so without the extra byte the stored
// length is one less than the stream.
void writeBlock(RecordWriter &out, QByteArrayView content, bool extraByte)
{
    uLongf streamLength = compressBound(uLong(content.size()));
    QByteArray stream(qsizetype(streamLength), Qt::Uninitialized);
    compress(reinterpret_cast<Bytef *>(stream.data()), &streamLength,
             reinterpret_cast<const Bytef *>(content.data()), uLong(content.size()));
    stream.truncate(qsizetype(streamLength));
    if (extraByte)
        stream.append('\0');
    out.int32(qint32(stream.size() - 1));
    out.int32(qint32(content.size()));
    out.raw(stream);
}

} // namespace

QByteArray encodeInfoTable(const TestInfo &info)
{
    RecordWriter out;
    out.text(info.examCode);
    out.text(info.examTitle);
    out.int16(info.examQuestionCount);
    out.int16(info.passingScore);
    out.int16(info.durationMinutes);
    out.int16(info.totalQuestions);
    out.byte(info.numObjectives);
    out.text(info.dbVersion);
    out.text(info.dbRelease);
    out.text(info.description);
    out.text(info.notes);
    return out.bytes();
}

QByteArray encodeTable(const OneBasedArray<Objective> &rows)
{
    return encodeRows(rows, [](RecordWriter &out, const Objective &row) {
        out.byte(row.objectiveNo);
        out.text(row.objectiveName);
        out.int16(row.questionCount);
    });
}

QByteArray encodeTable(const OneBasedArray<Prompt> &rows)
{
    return encodeRows(rows, [](RecordWriter &out, const Prompt &row) {
        out.byte(row.promptNo);
        out.text(row.promptText);
    });
}

QByteArray encodeTable(const OneBasedArray<QuestionType> &rows)
{
    return encodeRows(rows, [](RecordWriter &out, const QuestionType &row) {
        out.byte(row.typeCode);
        out.text(row.typeName);
        out.text(row.typeCaption);
    });
}

QByteArray encodeTable(const OneBasedArray<Question> &rows)
{
    return encodeRows(rows, [](RecordWriter &out, const Question &row) {
        out.int16(row.questionId);
        out.fixedText(row.questionCode, questionCodeLength);
        out.byte(row.objectiveNo);
        out.text(row.questionText);
        out.byte(row.questionType);
        out.byte(row.choiceCount);
        out.int16(row.answerKey);
        out.text(row.diagramFile);
        out.text(row.exhibitFile);
        out.text(row.explanation);
        out.text(row.reference);
    });
}

QByteArray encodeTable(const OneBasedArray<ChoiceRow> &rows)
{
    return encodeRows(rows, [](RecordWriter &out, const ChoiceRow &row) {
        out.int16(row.questionId);
        out.byte(row.rowNo);
        out.text(row.text);
        out.int16(row.spare);
    });
}

QByteArray encodeTable(const OneBasedArray<DndRow> &rows)
{
    return encodeRows(rows, [](RecordWriter &out, const DndRow &row) {
        out.int16(row.questionId);
        out.byte(row.rowNo);
        out.byte(row.correctSource);
        out.text(row.text);
        out.int16(row.targetLeft);
        out.int16(row.targetTop);
        out.int16(row.targetWidth);
        out.int16(row.targetHeight);
    });
}

QByteArray encodeTable(const OneBasedArray<SimRow> &rows)
{
    return encodeRows(rows, [](RecordWriter &out, const SimRow &row) {
        out.int16(row.questionId);
        out.byte(row.rowNo);
        out.text(row.hostName);
        out.byte(row.promptNo);
        out.text(row.taskText);
        out.text(row.expectedCommand);
        out.text(row.response);
    });
}

QByteArray tableEntryName(const QString &prefix, const QString &table, const QString &extension)
{
    return toAnsi(prefix + u'_' + table + u'.' + extension).value_or(QByteArray());
}

const QStringList &tableNames()
{
    static const QStringList names = {
        QStringLiteral("info"),         QStringLiteral("objective"),  QStringLiteral("prompt"),
        QStringLiteral("questiontype"), QStringLiteral("question"),   QStringLiteral("mcfri"),
        QStringLiteral("dnd"),          QStringLiteral("simulation"),
    };
    return names;
}

QList<ArchiveEntry> bankEntries(const QuestionBank &bank, const QString &prefix,
                                const QString &extension)
{
    const QList<QByteArray> contents = {
        encodeInfoTable(bank.testInfo),  encodeTable(bank.objectives), encodeTable(bank.prompts),
        encodeTable(bank.questionTypes), encodeTable(bank.questions),  encodeTable(bank.choiceRows),
        encodeTable(bank.dndRows),       encodeTable(bank.simRows),
    };
    QList<ArchiveEntry> entries;
    for (qsizetype i = 0; i < contents.size(); ++i)
        entries.append({tableEntryName(prefix, tableNames()[i], extension), contents[i]});
    return entries;
}

QByteArray packArchive(const QList<ArchiveEntry> &entries, const ArchiveLayout &layout)
{
    RecordWriter out;
    out.int16(qint16(entries.size()));
    const QByteArray filler = layout.filler.left(maxFillerBytes);
    out.int16(qint16(filler.size()));
    out.raw(filler);
    out.shortBytes(layout.headerString1);
    out.shortBytes(layout.headerString2);

    const qsizetype blockSize = std::max(layout.blockSize, 1);
    for (const ArchiveEntry &entry : entries) {
        out.shortBytes(entry.name);
        out.raw(entry.reserved.left(reservedBytes).leftJustified(reservedBytes, '\0'));
        for (qsizetype at = 0; at < entry.content.size(); at += blockSize)
            writeBlock(out,
                       QByteArrayView(entry.content)
                           .sliced(at)
                           .first(std::min(blockSize, entry.content.size() - at)),
                       layout.extraByte);
        out.int32(0);
    }
    return out.bytes();
}

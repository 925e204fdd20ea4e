#include "TableReader.h"

#include "Ansi.h"
#include "BankCheck.h"
#include "ByteCursor.h"

namespace {

// Reads the fields of one record in file order; any field that does not fit marks the
// whole record incomplete.
class RecordReader
{
public:
    explicit RecordReader(ByteCursor &cursor) : m_cursor(cursor) {}

    bool complete() const { return m_complete; }

    void read(qint16 &field)
    {
        if (const auto value = m_complete ? m_cursor.readInt16() : std::nullopt)
            field = *value;
        else
            m_complete = false;
    }
    void read(quint8 &field)
    {
        if (const auto value = m_complete ? m_cursor.readByte() : std::nullopt)
            field = *value;
        else
            m_complete = false;
    }
    // A variable-length string: a 2-byte length, then that many bytes.
    void read(QString &field)
    {
        const auto length = m_complete ? m_cursor.readUint16() : std::nullopt;
        readText(field, length ? qsizetype(*length) : -1);
    }
    void readFixed(QString &field, int length) { readText(field, length); }

private:
    void readText(QString &field, qsizetype length)
    {
        if (const auto bytes = m_complete ? m_cursor.readBytes(length) : std::nullopt)
            field = fromAnsi(*bytes);
        else
            m_complete = false;
    }

    ByteCursor &m_cursor;
    bool m_complete = true;
};

void readRecord(RecordReader &in, TestInfo &info)
{
    in.read(info.examCode);
    in.read(info.examTitle);
    in.read(info.examQuestionCount);
    in.read(info.passingScore);
    in.read(info.durationMinutes);
    in.read(info.totalQuestions);
    in.read(info.numObjectives);
    in.read(info.dbVersion);
    in.read(info.dbRelease);
    in.read(info.description);
    in.read(info.notes);
}

void readRecord(RecordReader &in, Objective &objective)
{
    in.read(objective.objectiveNo);
    in.read(objective.objectiveName);
    in.read(objective.questionCount);
}

void readRecord(RecordReader &in, Prompt &prompt)
{
    in.read(prompt.promptNo);
    in.read(prompt.promptText);
}

void readRecord(RecordReader &in, QuestionType &type)
{
    in.read(type.typeCode);
    in.read(type.typeName);
    in.read(type.typeCaption);
}

void readRecord(RecordReader &in, Question &question)
{
    in.read(question.questionId);
    in.readFixed(question.questionCode, questionCodeLength);
    in.read(question.objectiveNo);
    in.read(question.questionText);
    in.read(question.questionType);
    in.read(question.choiceCount);
    in.read(question.answerKey);
    in.read(question.diagramFile);
    in.read(question.exhibitFile);
    in.read(question.explanation);
    in.read(question.reference);
}

void readRecord(RecordReader &in, ChoiceRow &row)
{
    in.read(row.questionId);
    in.read(row.rowNo);
    in.read(row.text);
    in.read(row.spare);
}

void readRecord(RecordReader &in, DndRow &row)
{
    in.read(row.questionId);
    in.read(row.rowNo);
    in.read(row.correctSource);
    in.read(row.text);
    in.read(row.targetLeft);
    in.read(row.targetTop);
    in.read(row.targetWidth);
    in.read(row.targetHeight);
}

void readRecord(RecordReader &in, SimRow &row)
{
    in.read(row.questionId);
    in.read(row.rowNo);
    in.read(row.hostName);
    in.read(row.promptNo);
    in.read(row.taskText);
    in.read(row.expectedCommand);
    in.read(row.response);
}

// Reads complete records until the bytes run out. With none, the table keeps its full
// capacity of empty records.
template <typename Record>
std::optional<LoadProblem> readRecords(const QString &tableName, QByteArrayView bytes,
                                       OneBasedArray<Record> &table, int capacity)
{
    ByteCursor cursor(bytes);
    OneBasedArray<Record> records;
    while (!cursor.atEnd()) {
        RecordReader in(cursor);
        Record record;
        readRecord(in, record);
        if (!in.complete())
            break;
        if (records.size() == capacity)
            return LoadProblem{QStringLiteral("The %1 table holds more than %2 records.")
                                   .arg(tableName)
                                   .arg(capacity),
                               tableOverflowErrorNumber};
        records.append(std::move(record));
    }
    if (!records.isEmpty())
        table = std::move(records);
    return std::nullopt;
}

} // namespace

QString tableNameOf(const QString &entryName)
{
    const qsizetype underscore = entryName.indexOf(u'_');
    QString name = underscore < 0 ? entryName : entryName.mid(underscore + 1);
    const qsizetype dot = name.indexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    return name.toLower();
}

namespace {

template <typename Record> void sizeToCapacityIfEmpty(OneBasedArray<Record> &table, int capacity)
{
    if (table.isEmpty())
        table.fill(capacity, Record());
}

} // namespace

void sizeTablesToCapacity(QuestionBank &bank)
{
    bank.testInfo = TestInfo();
    bank.objectives.fill(TableCapacity::objectives, Objective());
    bank.prompts.fill(TableCapacity::prompts, Prompt());
    bank.questionTypes.fill(TableCapacity::questionTypes, QuestionType());
    bank.questions.fill(TableCapacity::questions, Question());
    bank.choiceRows.fill(TableCapacity::choiceRows, ChoiceRow());
    bank.dndRows.fill(TableCapacity::dndRows, DndRow());
    bank.simRows.fill(TableCapacity::simRows, SimRow());
}

std::optional<LoadProblem> completeBank(QuestionBank &bank)
{
    // A table that read no record keeps its capacity of empty records. Those of the detail
    // tables belong to no question (identifiers start at 1), so the check reads the same
    // without them; they are only made for a bank that passed, which keeps a failing load
    // as cheap as its input is small.
    sizeToCapacityIfEmpty(bank.objectives, TableCapacity::objectives);
    sizeToCapacityIfEmpty(bank.prompts, TableCapacity::prompts);
    sizeToCapacityIfEmpty(bank.questionTypes, TableCapacity::questionTypes);
    sizeToCapacityIfEmpty(bank.questions, TableCapacity::questions);
    if (auto problem = checkBank(bank))
        return LoadProblem{*problem, 0};
    sizeToCapacityIfEmpty(bank.choiceRows, TableCapacity::choiceRows);
    sizeToCapacityIfEmpty(bank.dndRows, TableCapacity::dndRows);
    sizeToCapacityIfEmpty(bank.simRows, TableCapacity::simRows);
    setDerivedValues(bank);
    return std::nullopt;
}

std::optional<LoadProblem> readTable(const QString &tableName, QByteArrayView bytes,
                                     QuestionBank &bank)
{
    if (tableName == QStringLiteral("info")) {
        ByteCursor cursor(bytes);
        RecordReader in(cursor);
        TestInfo info;
        readRecord(in, info);
        if (!in.complete())
            return LoadProblem{QStringLiteral("The info table holds no complete header."), 0};
        bank.testInfo = info;
        return std::nullopt;
    }
    if (tableName == QStringLiteral("objective"))
        return readRecords(tableName, bytes, bank.objectives, TableCapacity::objectives);
    if (tableName == QStringLiteral("prompt"))
        return readRecords(tableName, bytes, bank.prompts, TableCapacity::prompts);
    if (tableName == QStringLiteral("questiontype"))
        return readRecords(tableName, bytes, bank.questionTypes, TableCapacity::questionTypes);
    if (tableName == QStringLiteral("question"))
        return readRecords(tableName, bytes, bank.questions, TableCapacity::questions);
    if (tableName == QStringLiteral("mcfri"))
        return readRecords(tableName, bytes, bank.choiceRows, TableCapacity::choiceRows);
    if (tableName == QStringLiteral("dnd"))
        return readRecords(tableName, bytes, bank.dndRows, TableCapacity::dndRows);
    if (tableName == QStringLiteral("simulation"))
        return readRecords(tableName, bytes, bank.simRows, TableCapacity::simRows);
    return std::nullopt;
}

void setDerivedValues(QuestionBank &bank)
{
    const TestInfo &info = bank.testInfo;
    bank.bankQuestionCount = info.totalQuestions;
    bank.numQuestionsWanted = qMin<int>(info.examQuestionCount, bank.bankQuestionCount);
    bank.objectiveCount = info.numObjectives;
    bank.testDuration = QString::number(info.durationMinutes);
    bank.minObjQuestions = 0;
    for (int i = 1; i <= bank.objectiveCount && i <= bank.objectives.size(); ++i) {
        const int count = bank.objectives[i].questionCount;
        if (count > 0 && (bank.minObjQuestions == 0 || count < bank.minObjQuestions))
            bank.minObjQuestions = count;
    }
}

std::optional<LoadProblem> loadTables(const QList<TableFile> &files, QuestionBank &bank)
{
    bank = QuestionBank();
    for (const TableFile &file : files) {
        if (auto problem = readTable(tableNameOf(file.name), file.content, bank))
            return problem;
    }
    return completeBank(bank);
}

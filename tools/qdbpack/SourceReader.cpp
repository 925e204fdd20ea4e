#include "SourceReader.h"

#include "Topology.h"
#include "moduledb/Ansi.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>

namespace {

enum class Need { Optional, Required };

constexpr int int16Min = std::numeric_limits<qint16>::min();
constexpr int int16Max = std::numeric_limits<qint16>::max();
constexpr int byteMax = 255;

// Reads the fields of one JSON object, reporting missing, mistyped and unknown fields as
// "<where><path><field> ...".
class FieldReader
{
public:
    FieldReader(const QJsonObject &object, QString where, QString path, QStringList *errors)
        : m_object(object), m_where(std::move(where)), m_path(std::move(path)), m_errors(errors)
    {}

    QJsonValue take(const QString &key)
    {
        m_used.insert(key);
        return m_object.value(key);
    }
    bool has(const QString &key) const { return m_object.contains(key); }

    QString text(const QString &key, Need need = Need::Optional, const QString &fallback = {})
    {
        const QJsonValue value = take(key);
        if (value.isString())
            return value.toString();
        if (!value.isUndefined())
            fieldError(key, QStringLiteral("must be text"));
        else if (need == Need::Required)
            fieldError(key, QStringLiteral("is missing"));
        return fallback;
    }

    std::optional<int> number(const QString &key, int min, int max, Need need = Need::Optional)
    {
        const QJsonValue value = take(key);
        if (value.isUndefined()) {
            if (need == Need::Required)
                fieldError(key, QStringLiteral("is missing"));
            return std::nullopt;
        }
        const double number = value.toDouble(std::nan(""));
        if (!value.isDouble() || number != std::floor(number) || number < min || number > max) {
            fieldError(key,
                       QStringLiteral("must be a whole number from %1 to %2").arg(min).arg(max));
            return std::nullopt;
        }
        return int(number);
    }

    bool flag(const QString &key)
    {
        const QJsonValue value = take(key);
        if (!value.isUndefined() && !value.isBool())
            fieldError(key, QStringLiteral("must be true or false"));
        return value.toBool();
    }

    QJsonArray list(const QString &key, Need need = Need::Optional)
    {
        const QJsonValue value = take(key);
        if (value.isArray())
            return value.toArray();
        if (!value.isUndefined())
            fieldError(key, QStringLiteral("must be a list"));
        else if (need == Need::Required)
            fieldError(key, QStringLiteral("is missing"));
        return {};
    }

    std::optional<QByteArray> hex(const QString &key, int size = -1)
    {
        const QString digits = text(key);
        bool valid = digits.size() % 2 == 0 && (size < 0 || digits.size() == 2 * size);
        for (QChar ch : digits)
            valid = valid && isAsciiHexDigit(ch.unicode());
        if (!valid) {
            fieldError(key, size < 0 ? QStringLiteral("must be hex digits, two per byte")
                                     : QStringLiteral("must be %1 hex digits").arg(2 * size));
            return std::nullopt;
        }
        return QByteArray::fromHex(digits.toLatin1());
    }

    void fieldError(const QString &key, const QString &problem)
    {
        m_errors->append(m_where + m_path + key + u' ' + problem);
    }
    void textError(const QString &key, const QString &problem)
    {
        m_errors->append(m_where + m_path + key + QStringLiteral(": ") + problem);
    }

    // Call once every known field has been taken.
    void reportUnknownFields()
    {
        for (const QString &key : m_object.keys()) {
            if (!m_used.contains(key))
                m_errors->append(m_where +
                                 QStringLiteral("unknown field \"%1\"").arg(m_path + key));
        }
    }

private:
    static bool isAsciiHexDigit(char16_t ch)
    {
        return (ch >= u'0' && ch <= u'9') || (ch >= u'a' && ch <= u'f') ||
               (ch >= u'A' && ch <= u'F');
    }

    QJsonObject m_object;
    QString m_where;
    QString m_path;
    QStringList *m_errors;
    QSet<QString> m_used;
};

bool isObject(const QJsonValue &value, const QString &what, QStringList *errors)
{
    if (value.isObject())
        return true;
    errors->append(what + QStringLiteral(" must be an object"));
    return false;
}

std::optional<QJsonObject> parseJson(const QString &fileName, const QByteArray &json,
                                     QStringList *errors)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        errors->append(QStringLiteral("%1: %2 at byte %3")
                           .arg(fileName, parseError.errorString())
                           .arg(parseError.offset));
        return std::nullopt;
    }
    if (!document.isObject()) {
        errors->append(fileName + QStringLiteral(": must hold one JSON object"));
        return std::nullopt;
    }
    return document.object();
}

const QStringList rowFields = {
    QStringLiteral("choices"), QStringLiteral("answer"),  QStringLiteral("values"),
    QStringLiteral("items"),   QStringLiteral("targets"), QStringLiteral("tasks"),
};

QStringList rowFieldsOf(int questionType)
{
    switch (questionType) {
    case SingleAnswer:
    case MultipleAnswers:
        return {QStringLiteral("choices")};
    case TypedAnswer:
        return {QStringLiteral("answer")};
    case TypedValues:
        return {QStringLiteral("values")};
    case TextDragAndDrop:
    case GraphicalDragAndDrop:
        return {QStringLiteral("items"), QStringLiteral("targets")};
    case Simulation:
        return {QStringLiteral("tasks")};
    default:
        return {};
    }
}

// A row given as its text, or as {"text", "spare"} when it carries a spare value.
ChoiceRow readTextRow(const QJsonValue &value, const QString &where, QStringList *errors)
{
    ChoiceRow row;
    if (value.isString()) {
        row.text = value.toString();
    } else if (value.isObject()) {
        FieldReader fields(value.toObject(), where, {}, errors);
        row.text = fields.text(QStringLiteral("text"), Need::Required);
        row.spare = qint16(fields.number(QStringLiteral("spare"), int16Min, int16Max).value_or(0));
        fields.reportUnknownFields();
    } else {
        errors->append(where + QStringLiteral("must be text or an object"));
    }
    return row;
}

} // namespace

void SourceReader::readModule(const QByteArray &json)
{
    const auto root = parseJson(QStringLiteral("module.json"), json, &m_errors);
    if (!root)
        return;
    FieldReader module(*root, QStringLiteral("module.json: "), {}, &m_errors);
    readInfo(module.take(QStringLiteral("info")));
    readArchive(module.take(QStringLiteral("archive")));
    readTables(module.take(QStringLiteral("objectives")), module.take(QStringLiteral("prompts")),
               module.take(QStringLiteral("questionTypes")));
    module.reportUnknownFields();
}

void SourceReader::readInfo(const QJsonValue &value)
{
    if (!isObject(value, QStringLiteral("module.json: info"), &m_errors))
        return;
    FieldReader fields(value.toObject(), QStringLiteral("module.json: "), QStringLiteral("info."),
                       &m_errors);
    TestInfo &info = m_source.bank.testInfo;
    info.examCode = fields.text(QStringLiteral("examCode"), Need::Required);
    info.examTitle = fields.text(QStringLiteral("examTitle"), Need::Required);
    info.examQuestionCount = qint16(
        fields.number(QStringLiteral("examQuestionCount"), int16Min, int16Max, Need::Required)
            .value_or(0));
    info.passingScore =
        qint16(fields.number(QStringLiteral("passingScore"), int16Min, int16Max, Need::Required)
                   .value_or(0));
    info.durationMinutes =
        qint16(fields.number(QStringLiteral("durationMinutes"), int16Min, int16Max, Need::Required)
                   .value_or(0));
    m_givenTotalQuestions = fields.number(QStringLiteral("totalQuestions"), int16Min, int16Max);
    m_givenNumObjectives = fields.number(QStringLiteral("numObjectives"), 0, byteMax);
    info.dbVersion = fields.text(QStringLiteral("dbVersion"), Need::Required);
    info.dbRelease = fields.text(QStringLiteral("dbRelease"), Need::Required);
    info.description = fields.text(QStringLiteral("description"));
    info.notes = fields.text(QStringLiteral("notes"));
    fields.reportUnknownFields();
}

void SourceReader::readArchive(const QJsonValue &value)
{
    if (value.isUndefined())
        return;
    if (!isObject(value, QStringLiteral("module.json: archive"), &m_errors))
        return;
    FieldReader fields(value.toObject(), QStringLiteral("module.json: "),
                       QStringLiteral("archive."), &m_errors);
    m_source.entryPrefix =
        fields.text(QStringLiteral("entryPrefix"), Need::Optional, m_source.entryPrefix);
    m_source.entryExtension =
        fields.text(QStringLiteral("entryExtension"), Need::Optional, m_source.entryExtension);
    m_source.layout.filler = fields.hex(QStringLiteral("filler")).value_or(QByteArray());
    for (const QString &key : {QStringLiteral("headerString1"), QStringLiteral("headerString2")}) {
        const QString text = fields.text(key);
        if (const auto problem = ansiProblem(text))
            fields.textError(key, *problem);
        (key.endsWith(u'1') ? m_source.layout.headerString1 : m_source.layout.headerString2) =
            toAnsi(text).value_or(QByteArray());
    }
    if (fields.has(QStringLiteral("reserved")))
        m_source.reserved = fields.hex(QStringLiteral("reserved"), reservedBytes)
                                .value_or(QByteArray(reservedBytes, '\0'));
    m_source.layout.blockSize =
        fields.number(QStringLiteral("blockSize"), 1, maxBlockSize).value_or(65536);
    m_source.layout.extraByte = fields.flag(QStringLiteral("extraByte"));
    const QJsonArray textEntries = fields.list(QStringLiteral("textEntries"));
    for (const QJsonValue &name : textEntries) {
        if (name.isString())
            m_textEntryNames.append(name.toString());
        else
            fields.fieldError(QStringLiteral("textEntries"),
                              QStringLiteral("must be a list of file names"));
    }
    fields.reportUnknownFields();
}

void SourceReader::readTables(const QJsonValue &objectives, const QJsonValue &prompts,
                              const QJsonValue &questionTypes)
{
    const QString where = QStringLiteral("module.json: ");
    QuestionBank &bank = m_source.bank;
    // Each table: a list of objects, numbered by position unless the number is given.
    const auto readList = [&](const QJsonValue &list, const QString &name, const QString &noun,
                              auto readRow) {
        if (!list.isArray()) {
            m_errors.append(where + name +
                            (list.isUndefined() ? QStringLiteral(" is missing")
                                                : QStringLiteral(" must be a list")));
            return;
        }
        int position = 0;
        for (const QJsonValue &row : list.toArray()) {
            ++position;
            const QString rowWhere = where + noun + u' ' + QString::number(position);
            if (!isObject(row, rowWhere, &m_errors))
                continue;
            FieldReader fields(row.toObject(), rowWhere + QStringLiteral(": "), {}, &m_errors);
            readRow(fields, position);
            fields.reportUnknownFields();
        }
    };
    readList(objectives, QStringLiteral("objectives"), QStringLiteral("objective"),
             [&](FieldReader &fields, int position) {
                 Objective row;
                 row.objectiveNo = quint8(
                     fields.number(QStringLiteral("objectiveNo"), 0, byteMax).value_or(position));
                 row.objectiveName = fields.text(QStringLiteral("objectiveName"), Need::Required);
                 m_givenQuestionCounts.append(
                     fields.number(QStringLiteral("questionCount"), int16Min, int16Max));
                 bank.objectives.append(row);
             });
    readList(prompts, QStringLiteral("prompts"), QStringLiteral("prompt"),
             [&](FieldReader &fields, int position) {
                 Prompt row;
                 row.promptNo = quint8(
                     fields.number(QStringLiteral("promptNo"), 0, byteMax).value_or(position));
                 row.promptText = fields.text(QStringLiteral("promptText"), Need::Required);
                 bank.prompts.append(row);
             });
    readList(questionTypes, QStringLiteral("questionTypes"), QStringLiteral("question type"),
             [&](FieldReader &fields, int position) {
                 QuestionType row;
                 row.typeCode = quint8(
                     fields.number(QStringLiteral("typeCode"), 0, byteMax).value_or(position));
                 row.typeName = fields.text(QStringLiteral("typeName"), Need::Required);
                 row.typeCaption = fields.text(QStringLiteral("typeCaption"), Need::Required);
                 bank.questionTypes.append(row);
             });
}

void SourceReader::readQuestions(const QString &fileName, const QByteArray &json)
{
    const auto root = parseJson(fileName, json, &m_errors);
    if (!root)
        return;
    FieldReader file(*root, fileName + QStringLiteral(": "), {}, &m_errors);
    const QJsonArray questions = file.list(QStringLiteral("questions"), Need::Required);
    file.reportUnknownFields();
    for (const QJsonValue &question : questions)
        readQuestion(fileName, question);
}

void SourceReader::readQuestion(const QString &fileName, const QJsonValue &value)
{
    QuestionBank &bank = m_source.bank;
    const int position = bank.questions.size() + 1;
    const QString code = value.toObject().value(QStringLiteral("questionCode")).toString();
    const QString where =
        QStringLiteral("%1: question %2 (%3): ").arg(fileName).arg(position).arg(code);
    bank.questions.append({});
    m_source.questionFiles.append(fileName);
    if (!isObject(value, where.chopped(2), &m_errors))
        return;

    FieldReader fields(value.toObject(), where, {}, &m_errors);
    Question question;
    question.questionId =
        qint16(fields.number(QStringLiteral("questionId"), int16Min, int16Max).value_or(position));
    question.questionCode = fields.text(QStringLiteral("questionCode"), Need::Required);
    question.objectiveNo = quint8(
        fields.number(QStringLiteral("objectiveNo"), 0, byteMax, Need::Required).value_or(0));
    question.questionType = quint8(
        fields.number(QStringLiteral("questionType"), 0, byteMax, Need::Required).value_or(0));
    question.questionText = fields.text(QStringLiteral("questionText"), Need::Required);
    const auto givenChoiceCount = fields.number(QStringLiteral("choiceCount"), 0, byteMax);
    const auto givenAnswerKey = fields.number(QStringLiteral("answerKey"), int16Min, int16Max);
    question.diagramFile = fields.text(QStringLiteral("diagramFile"));
    question.exhibitFile = fields.text(QStringLiteral("exhibitFile"));
    question.explanation = fields.text(QStringLiteral("explanation"));
    question.reference = fields.text(QStringLiteral("reference"));

    const QStringList ownRows = rowFieldsOf(question.questionType);
    for (const QString &key : rowFields) {
        if (fields.has(key) && !ownRows.contains(key) && !ownRows.isEmpty())
            fields.fieldError(
                key,
                QStringLiteral("is not used by a question of type %1").arg(question.questionType));
        if (!ownRows.contains(key))
            fields.take(key);
    }

    // Rows belong to the question at this position; a different questionId is refused later.
    const auto rowId = qint16(position);
    const int choiceRowsBefore = bank.choiceRows.size();
    const auto rowNo = [](qsizetype index) { return quint8(index + 1); };
    int correctMask = 0;
    const QJsonArray choices = ownRows.contains(QStringLiteral("choices"))
                                   ? fields.list(QStringLiteral("choices"), Need::Required)
                                   : QJsonArray();
    for (qsizetype i = 0; i < choices.size(); ++i) {
        const QString rowWhere = where + QStringLiteral("choice %1").arg(i + 1);
        if (!isObject(choices[i], rowWhere, &m_errors))
            continue;
        FieldReader choice(choices[i].toObject(), rowWhere + QStringLiteral(": "), {}, &m_errors);
        ChoiceRow row;
        row.questionId = rowId;
        row.rowNo = rowNo(i);
        row.text = choice.text(QStringLiteral("text"), Need::Required);
        row.spare = qint16(choice.number(QStringLiteral("spare"), int16Min, int16Max).value_or(0));
        if (choice.flag(QStringLiteral("correct")) && i < 16)
            correctMask |= 1 << i;
        choice.reportUnknownFields();
        bank.choiceRows.append(row);
    }
    if (ownRows.contains(QStringLiteral("answer"))) {
        const QJsonValue answer = fields.take(QStringLiteral("answer"));
        if (answer.isUndefined()) {
            fields.fieldError(QStringLiteral("answer"), QStringLiteral("is missing"));
        } else {
            ChoiceRow row = readTextRow(answer, where + QStringLiteral("answer: "), &m_errors);
            row.questionId = rowId;
            row.rowNo = 1;
            bank.choiceRows.append(row);
        }
    }
    for (const QString &key : {QStringLiteral("values"), QStringLiteral("items")}) {
        if (!ownRows.contains(key))
            continue;
        const QJsonArray rows = fields.list(key, Need::Required);
        for (qsizetype i = 0; i < rows.size(); ++i) {
            ChoiceRow row = readTextRow(
                rows[i], where + QStringLiteral("%1 %2: ").arg(key.chopped(1)).arg(i + 1),
                &m_errors);
            row.questionId = rowId;
            row.rowNo = rowNo(i);
            bank.choiceRows.append(row);
        }
    }
    const QJsonArray targets = ownRows.contains(QStringLiteral("targets"))
                                   ? fields.list(QStringLiteral("targets"), Need::Required)
                                   : QJsonArray();
    for (qsizetype i = 0; i < targets.size(); ++i) {
        const QString rowWhere = where + QStringLiteral("target %1").arg(i + 1);
        if (!isObject(targets[i], rowWhere, &m_errors))
            continue;
        FieldReader target(targets[i].toObject(), rowWhere + QStringLiteral(": "), {}, &m_errors);
        DndRow row;
        row.questionId = rowId;
        row.rowNo = rowNo(i);
        row.correctSource = quint8(
            target.number(QStringLiteral("correctSource"), 0, byteMax, Need::Required).value_or(0));
        row.text = target.text(QStringLiteral("text"));
        const auto length = [&](const QString &key) {
            return qint16(target.number(key, int16Min, int16Max).value_or(0));
        };
        row.targetLeft = length(QStringLiteral("left"));
        row.targetTop = length(QStringLiteral("top"));
        row.targetWidth = length(QStringLiteral("width"));
        row.targetHeight = length(QStringLiteral("height"));
        target.reportUnknownFields();
        bank.dndRows.append(row);
    }
    const QJsonArray tasks = ownRows.contains(QStringLiteral("tasks"))
                                 ? fields.list(QStringLiteral("tasks"), Need::Required)
                                 : QJsonArray();
    for (qsizetype i = 0; i < tasks.size(); ++i) {
        const QString rowWhere = where + QStringLiteral("task %1").arg(i + 1);
        if (!isObject(tasks[i], rowWhere, &m_errors))
            continue;
        FieldReader task(tasks[i].toObject(), rowWhere + QStringLiteral(": "), {}, &m_errors);
        SimRow row;
        row.questionId = rowId;
        row.rowNo = rowNo(i);
        row.hostName = task.text(QStringLiteral("hostName"), Need::Required);
        row.promptNo =
            quint8(task.number(QStringLiteral("promptNo"), 0, byteMax, Need::Required).value_or(0));
        row.taskText = task.text(QStringLiteral("taskText"), Need::Required);
        row.expectedCommand = task.text(QStringLiteral("expectedCommand"), Need::Required);
        row.response = task.text(QStringLiteral("response"));
        task.reportUnknownFields();
        bank.simRows.append(row);
    }
    fields.reportUnknownFields();

    const int rowCount = question.questionType == Simulation
                             ? int(tasks.size())
                             : bank.choiceRows.size() - choiceRowsBefore;
    question.choiceCount = quint8(givenChoiceCount.value_or(rowCount));

    int derivedKey = 0;
    if (question.questionType == SingleAnswer || question.questionType == MultipleAnswers)
        derivedKey = qint16(correctMask);
    else if (question.questionType == TextDragAndDrop ||
             question.questionType == GraphicalDragAndDrop)
        derivedKey = int(targets.size());
    if (givenAnswerKey && *givenAnswerKey != derivedKey &&
        (question.questionType == SingleAnswer || question.questionType == MultipleAnswers))
        fields.fieldError(QStringLiteral("answerKey"),
                          QStringLiteral("%1 differs from the choices marked correct (%2)")
                              .arg(*givenAnswerKey)
                              .arg(derivedKey));
    question.answerKey = qint16(givenAnswerKey.value_or(derivedKey));
    bank.questions[position] = question;
}

void SourceReader::addTextEntry(const QString &name, const QByteArray &content)
{
    m_source.textEntries.append({name, content});
}

ModuleSource SourceReader::finish()
{
    QuestionBank &bank = m_source.bank;
    bank.testInfo.totalQuestions = qint16(m_givenTotalQuestions.value_or(bank.questions.size()));
    bank.testInfo.numObjectives = quint8(m_givenNumObjectives.value_or(bank.objectives.size()));
    for (int i = 1; i <= bank.objectives.size(); ++i)
        bank.objectives[i].questionCount =
            qint16(m_givenQuestionCounts.value(i - 1).value_or(derivedQuestionCount(bank, i)));
    return m_source;
}

std::optional<ModuleSource> readSourceFiles(const QMap<QString, QByteArray> &files,
                                            QStringList *errors)
{
    SourceReader reader;
    if (files.contains(QStringLiteral("module.json")))
        reader.readModule(files.value(QStringLiteral("module.json")));
    else
        errors->append(QStringLiteral("module.json: is missing"));
    bool anyQuestions = false;
    for (auto it = files.begin(); it != files.end(); ++it) {
        if (it.key().startsWith(QStringLiteral("questions/")) &&
            it.key().endsWith(QStringLiteral(".json"))) {
            reader.readQuestions(it.key(), it.value());
            anyQuestions = true;
        }
    }
    if (!anyQuestions)
        errors->append(QStringLiteral("questions/: holds no question files (*.json)"));
    for (const QString &name : reader.textEntryNames()) {
        if (files.contains(name))
            reader.addTextEntry(name, files.value(name));
        else
            errors->append(QStringLiteral("module.json: archive.textEntries: \"%1\" is not in "
                                          "the source folder")
                               .arg(name));
    }
    ModuleSource source = reader.finish();
    for (auto it = files.begin(); it != files.end(); ++it) {
        QString available;
        if (it.key().startsWith(QStringLiteral("files/")))
            available = it.key().mid(6);
        // The build draws each network description diagrams/<name>.json as <name>.png.
        if (it.key().startsWith(QStringLiteral("diagrams/")) &&
            it.key().endsWith(QStringLiteral(".json"))) {
            available = it.key().mid(9).chopped(5) + QStringLiteral(".png");
            const TopologyResult drawing = parseTopology(it.value());
            if (!drawing.topology)
                errors->append(it.key() + QStringLiteral(": ") + drawing.error);
            for (const Slot &slot : drawing.topology ? drawing.topology->slots : QList<Slot>())
                source.drawnSlots[available].append(
                    QRect(slot.topLeft, drawing.topology->slotSize));
        }
        if (available.isEmpty())
            continue;
        if (!source.availableFiles)
            source.availableFiles.emplace();
        source.availableFiles->insert(available);
    }
    errors->append(reader.errors());
    if (!errors->isEmpty())
        return std::nullopt;
    return source;
}

std::optional<ModuleSource> readModuleFolder(const QString &folder, QStringList *errors)
{
    const QDir dir(folder);
    QMap<QString, QByteArray> files;
    const auto readFiles = [&](const QString &subfolder, const QStringList &patterns) {
        const QDir from(dir.filePath(subfolder));
        for (const QString &name : from.entryList(patterns, QDir::Files | QDir::Hidden)) {
            const QString path = subfolder.isEmpty() ? name : subfolder + u'/' + name;
            QFile file(from.filePath(name));
            if (file.open(QIODevice::ReadOnly))
                files.insert(path, file.readAll());
            else
                errors->append(path +
                               QStringLiteral(": cannot be read (%1)").arg(file.errorString()));
        }
    };
    if (!dir.exists()) {
        errors->append(folder + QStringLiteral(": no such folder"));
        return std::nullopt;
    }
    readFiles(QString(), {});
    readFiles(QStringLiteral("questions"), {QStringLiteral("*.json")});
    readFiles(QStringLiteral("diagrams"), {QStringLiteral("*.json")});
    // Pictures and exhibits are only looked up by name.
    for (const QString &name :
         QDir(dir.filePath(QStringLiteral("files"))).entryList(QDir::Files | QDir::Hidden))
        files.insert(QStringLiteral("files/") + name, QByteArray());
    if (!errors->isEmpty())
        return std::nullopt;
    auto source = readSourceFiles(files, errors);
    // A folder without files/ names no available files at all, rather than unchecked ones.
    if (source && !source->availableFiles)
        source->availableFiles.emplace();
    return source;
}

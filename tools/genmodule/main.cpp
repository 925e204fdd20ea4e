// genmodule: writes the source folder of a module at full capacity, for measuring the
// reader: 50 objectives, 1000 questions, 5000 choice rows, 1000 drop targets and 1000
// simulation tasks, with question texts of 300 to 1500 characters and explanations of 500
// to 2000. Pack it with `qdbpack pack <folder> <output.qdb>`. The same folder is written
// on every run.

#include "moduledb/QuestionBank.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <array>
#include <cstdint>

namespace {

// The question mix. Choice rows: 400 single-answer and 250 multiple-answer questions with
// 4 to 8 choices (50 of them one more), 50 typed answers, 100 typed values with 4 boxes,
// 100 drag-and-drop questions with 6 items; that is 3950 + 50 + 400 + 600 = 5000.
constexpr int singleAnswerCount = 400;
constexpr int multipleAnswerCount = 250;
constexpr int typedAnswerCount = 50;
constexpr int typedValuesCount = 100;
constexpr int textDndCount = 50;
constexpr int graphicalDndCount = 50;
constexpr int simulationCount = 100;
constexpr int choiceCycle[] = {4, 5, 6, 7, 8};
constexpr int extraChoiceQuestions = 50;
constexpr int valuesPerQuestion = 4;
constexpr int itemsPerDnd = 6;
constexpr int targetsPerDnd = 10;
constexpr int tasksPerSimulation = 10;
constexpr int questionsPerFile = 100;

static_assert(singleAnswerCount + multipleAnswerCount + typedAnswerCount + typedValuesCount +
                  textDndCount + graphicalDndCount + simulationCount ==
              TableCapacity::questions);
static_assert((singleAnswerCount + multipleAnswerCount) * 6 + extraChoiceQuestions +
                  typedAnswerCount + typedValuesCount * valuesPerQuestion +
                  (textDndCount + graphicalDndCount) * itemsPerDnd ==
              TableCapacity::choiceRows);
static_assert((textDndCount + graphicalDndCount) * targetsPerDnd == TableCapacity::dndRows);
static_assert(simulationCount * tasksPerSimulation == TableCapacity::simRows);

const QString boardPicture = QStringLiteral("board.png");

// A 1 x 1 white PNG: graphical drag-and-drop questions must name a picture that exists.
const QByteArray boardPng = QByteArray::fromHex(
    "89504e470d0a1a0a0000000d49484452000000010000000108020000009077"
    "53de0000000c49444154789c63f8ffff3f0005fe02fe0def46b80000000049454e44ae426082");

// A small deterministic generator, so that the module is the same on every machine.
class Random
{
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint32_t next()
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return std::uint32_t(m_state >> 33);
    }
    int between(int low, int high) { return low + int(next() % std::uint32_t(high - low + 1)); }

private:
    std::uint64_t m_state;
};

const std::array<const char *, 48> words = {
    "router",   "switch",    "interface", "subnet",   "address", "gateway",   "VLAN",
    "trunk",    "port",      "frame",     "packet",   "segment", "header",    "mask",
    "prefix",   "route",     "metric",    "neighbor", "area",    "link",      "host",
    "server",   "client",    "lease",     "pool",     "table",   "entry",     "command",
    "mode",     "line",      "password",  "access",   "list",    "filter",    "queue",
    "priority", "bandwidth", "delay",     "cost",     "path",    "hop",       "broadcast",
    "unicast",  "multicast", "channel",   "wireless", "tunnel",  "encryption"};

// Text of exactly length characters made of sentences of the words above.
QString text(Random &random, int length)
{
    QString result;
    result.reserve(length + 16);
    bool sentenceStart = true;
    while (result.size() < length) {
        QString word = QString::fromLatin1(words[random.next() % words.size()]);
        if (sentenceStart)
            word[0] = word[0].toUpper();
        result += word;
        sentenceStart = random.next() % 9 == 0;
        result += sentenceStart ? QStringLiteral(". ") : QStringLiteral(" ");
    }
    result.truncate(length - 1);
    return result.trimmed() + QLatin1Char('.');
}

QJsonObject moduleJson()
{
    Random random(1);
    QJsonArray objectives;
    for (int o = 1; o <= TableCapacity::objectives; ++o)
        objectives.append(
            QJsonObject{{QStringLiteral("objectiveName"),
                         QStringLiteral("Objective %1: %2").arg(o).arg(text(random, 40))}});
    QJsonArray prompts;
    for (const char *prompt : {">", "#", "(config)#", "(config-if)#", "(config-router)#"})
        prompts.append(QJsonObject{{QStringLiteral("promptText"), QString::fromLatin1(prompt)}});
    QJsonArray types;
    const std::array<std::pair<const char *, const char *>, 7> typeNames = {{
        {"single", "Single Answer"},
        {"multiple", "Multiple Answers"},
        {"typed", "Typed Answer"},
        {"values", "Typed Values"},
        {"textdnd", "Drag and Drop"},
        {"graphicdnd", "Graphical Drag and Drop"},
        {"simulation", "Simulation"},
    }};
    for (const auto &[name, caption] : typeNames)
        types.append(QJsonObject{{QStringLiteral("typeName"), QString::fromLatin1(name)},
                                 {QStringLiteral("typeCaption"), QString::fromLatin1(caption)}});
    const QJsonObject info{
        {QStringLiteral("examCode"), QStringLiteral("512-330")},
        {QStringLiteral("examTitle"), QStringLiteral("NTCX Certified Network Associate")},
        {QStringLiteral("examQuestionCount"), 60},
        {QStringLiteral("passingScore"), 825},
        {QStringLiteral("durationMinutes"), 90},
        {QStringLiteral("dbVersion"), QStringLiteral("9.9")},
        {QStringLiteral("dbRelease"), QStringLiteral("Full capacity")},
        {QStringLiteral("description"), text(random, 400)},
        {QStringLiteral("notes"), text(random, 800)},
    };
    const QJsonObject archive{
        {QStringLiteral("entryPrefix"), QStringLiteral("qm")},
        {QStringLiteral("entryExtension"), QStringLiteral("dat")},
        {QStringLiteral("headerString1"), QStringLiteral("Quendra test module")},
        {QStringLiteral("headerString2"), QStringLiteral("512-330")},
        {QStringLiteral("blockSize"), 65536},
        {QStringLiteral("extraByte"), true},
    };
    return {{QStringLiteral("info"), info},
            {QStringLiteral("archive"), archive},
            {QStringLiteral("objectives"), objectives},
            {QStringLiteral("prompts"), prompts},
            {QStringLiteral("questionTypes"), types}};
}

// The type of question q (1-based), the types in blocks of the mix above.
int typeOf(int q)
{
    const std::array<int, 7> counts = {singleAnswerCount, multipleAnswerCount, typedAnswerCount,
                                       typedValuesCount,  textDndCount,        graphicalDndCount,
                                       simulationCount};
    int last = 0;
    for (int type = 1; type <= 7; ++type) {
        last += counts[type - 1];
        if (q <= last)
            return type;
    }
    return 0;
}

QJsonObject question(Random &random, int q)
{
    const int type = typeOf(q);
    QJsonObject result{
        {QStringLiteral("questionCode"), QStringLiteral("FC-%1").arg(q, 4, 10, QLatin1Char('0'))},
        {QStringLiteral("objectiveNo"), 1 + (q - 1) % TableCapacity::objectives},
        {QStringLiteral("questionType"), type},
        {QStringLiteral("questionText"), text(random, random.between(300, 1500))},
        {QStringLiteral("explanation"), text(random, random.between(500, 2000))},
        {QStringLiteral("reference"), text(random, random.between(30, 90))},
    };
    switch (type) {
    case SingleAnswer:
    case MultipleAnswers: {
        // Questions 1.., in order through both types, take the cycle of choice counts.
        const int count = choiceCycle[(q - 1) % 5] + (q <= extraChoiceQuestions ? 1 : 0);
        const int correct = random.between(0, count - 1);
        QJsonArray choices;
        for (int c = 0; c < count; ++c) {
            QJsonObject choice{{QStringLiteral("text"), text(random, random.between(20, 120))}};
            if (c == correct || (type == MultipleAnswers && c == (correct + 1) % count))
                choice.insert(QStringLiteral("correct"), true);
            choices.append(choice);
        }
        result.insert(QStringLiteral("choices"), choices);
        break;
    }
    case TypedAnswer:
        result.insert(QStringLiteral("answer"), text(random, random.between(5, 30)));
        break;
    case TypedValues: {
        QJsonArray values;
        for (int v = 0; v < valuesPerQuestion; ++v)
            values.append(QString::number(random.between(0, 255)));
        result.insert(QStringLiteral("values"), values);
        break;
    }
    case TextDragAndDrop:
    case GraphicalDragAndDrop: {
        QJsonArray items;
        for (int i = 0; i < itemsPerDnd; ++i)
            items.append(text(random, random.between(8, 40)));
        QJsonArray targets;
        for (int t = 0; t < targetsPerDnd; ++t) {
            QJsonObject target{{QStringLiteral("correctSource"), random.between(0, itemsPerDnd)},
                               {QStringLiteral("text"), text(random, random.between(10, 60))}};
            if (type == GraphicalDragAndDrop) {
                target.insert(QStringLiteral("left"), 300 + 1800 * (t % 4));
                target.insert(QStringLiteral("top"), 300 + 900 * (t / 4));
                target.insert(QStringLiteral("width"), 1695);
                target.insert(QStringLiteral("height"), 465);
            }
            targets.append(target);
        }
        result.insert(QStringLiteral("items"), items);
        result.insert(QStringLiteral("targets"), targets);
        if (type == GraphicalDragAndDrop)
            result.insert(QStringLiteral("diagramFile"), boardPicture);
        break;
    }
    case Simulation: {
        QJsonArray tasks;
        for (int t = 1; t <= tasksPerSimulation; ++t) {
            QJsonObject task{
                {QStringLiteral("hostName"), QStringLiteral("R%1").arg(1 + t % 3)},
                {QStringLiteral("promptNo"), random.between(1, 5)},
                {QStringLiteral("taskText"), text(random, random.between(40, 160))},
                {QStringLiteral("expectedCommand"), text(random, random.between(8, 40))}};
            if (t % 2 == 0)
                task.insert(QStringLiteral("response"), text(random, random.between(40, 400)));
            tasks.append(task);
        }
        result.insert(QStringLiteral("tasks"), tasks);
        break;
    }
    }
    return result;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

bool writeJson(const QString &path, const QJsonObject &object)
{
    return writeFile(path, QJsonDocument(object).toJson(QJsonDocument::Indented));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList args = application.arguments();
    QTextStream err(stderr);
    if (args.size() != 2) {
        err << "usage: genmodule <source-folder>\n";
        return 2;
    }
    const QDir folder(args[1]);
    // Old question files would be packed too.
    QDir(folder.filePath(QStringLiteral("questions"))).removeRecursively();
    if (!folder.mkpath(QStringLiteral("questions")) || !folder.mkpath(QStringLiteral("files"))) {
        err << args[1] << ": cannot be created\n";
        return 1;
    }
    bool written = writeJson(folder.filePath(QStringLiteral("module.json")), moduleJson()) &&
                   writeFile(folder.filePath(QStringLiteral("files/") + boardPicture), boardPng);
    Random random(2);
    for (int first = 1; written && first <= TableCapacity::questions; first += questionsPerFile) {
        QJsonArray questions;
        for (int q = first; q < first + questionsPerFile; ++q)
            questions.append(question(random, q));
        const QString name = QStringLiteral("questions/%1.json")
                                 .arg(first / questionsPerFile, 2, 10, QLatin1Char('0'));
        written = writeJson(folder.filePath(name), {{QStringLiteral("questions"), questions}});
    }
    if (!written) {
        err << args[1] << ": cannot be written\n";
        return 1;
    }
    return 0;
}

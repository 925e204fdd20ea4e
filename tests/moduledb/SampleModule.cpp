#include "SampleModule.h"

#include <QDir>

namespace {

template <typename T> OneBasedArray<T> rowsOf(std::initializer_list<T> values)
{
    OneBasedArray<T> rows;
    for (const T &value : values)
        rows.append(value);
    return rows;
}

Question question(qint16 id, quint8 objective, quint8 type, quint8 choiceCount, qint16 answerKey)
{
    Question q;
    q.questionId = id;
    q.questionCode = QStringLiteral("QX-%1").arg(id, 4, 10, QLatin1Char('0')).leftJustified(10);
    q.objectiveNo = objective;
    q.questionText = QStringLiteral("Question text %1").arg(id);
    q.questionType = type;
    q.choiceCount = choiceCount;
    q.answerKey = answerKey;
    q.explanation = QStringLiteral("Because.");
    q.reference = QStringLiteral("Chapter %1").arg(id);
    return q;
}

void addChoices(OneBasedArray<ChoiceRow> &rows, qint16 id, std::initializer_list<QString> texts)
{
    quint8 rowNo = 0;
    for (const QString &text : texts)
        rows.append({id, ++rowNo, text, 0});
}

} // namespace

QuestionBank sampleBank()
{
    QuestionBank bank;
    bank.testInfo = {QStringLiteral("512-330"),
                     QStringLiteral("Network Technician Certified Associate"),
                     5,
                     825,
                     90,
                     7,
                     2,
                     QStringLiteral("1.0"),
                     QStringLiteral("December 2026"),
                     QStringLiteral("A module for tests. Caf\u00e9 \u20ac"),
                     QStringLiteral("Notes.")};
    bank.objectives = rowsOf<Objective>(
        {{1, QStringLiteral("Network Fundamentals"), 4}, {2, QStringLiteral("IP Addressing"), 3}});
    bank.prompts = rowsOf<Prompt>({{1, QStringLiteral(">")}, {2, QStringLiteral("#")}});
    for (quint8 code = 1; code <= 7; ++code)
        bank.questionTypes.append(
            {code, QStringLiteral("type%1").arg(code), QStringLiteral("Caption %1").arg(code)});

    bank.questions = rowsOf<Question>({
        question(1, 1, SingleAnswer, 3, 0b010),
        question(2, 1, MultipleAnswers, 4, 0b0101),
        question(3, 2, TypedAnswer, 1, 0),
        question(4, 2, TypedValues, 4, 0),
        question(5, 1, TextDragAndDrop, 3, 2),
        question(6, 2, GraphicalDragAndDrop, 2, 2),
        question(7, 1, Simulation, 2, 0),
    });
    addChoices(
        bank.choiceRows, 1,
        {QStringLiteral("Physical"), QStringLiteral("Data link"), QStringLiteral("Network")});
    addChoices(
        bank.choiceRows, 2,
        {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")});
    addChoices(bank.choiceRows, 3, {QStringLiteral("ping")});
    addChoices(bank.choiceRows, 4,
               {QStringLiteral("255"), QStringLiteral("255"), QStringLiteral("255"),
                QStringLiteral("192")});
    addChoices(bank.choiceRows, 5,
               {QStringLiteral("TCP"), QStringLiteral("UDP"), QStringLiteral("ICMP")});
    addChoices(bank.choiceRows, 6, {QStringLiteral("Router"), QStringLiteral("Switch")});
    bank.dndRows = rowsOf<DndRow>({{5, 1, 1, QStringLiteral("Reliable"), 0, 0, 0, 0},
                                   {5, 2, 0, QStringLiteral("Unused"), 0, 0, 0, 0},
                                   {6, 1, 2, QString(), 300, 450, 1695, 465},
                                   {6, 2, 1, QString(), 3000, 450, 1695, 465}});
    bank.simRows = rowsOf<SimRow>(
        {{7, 1, QStringLiteral("Router"), 1, QStringLiteral("Enter privileged mode."),
          QStringLiteral("enable"), QString()},
         {7, 2, QStringLiteral("Router"), 2, QStringLiteral("Show the version."),
          QStringLiteral("show version"), QStringLiteral("Version 1\nUptime 2")}});
    return bank;
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

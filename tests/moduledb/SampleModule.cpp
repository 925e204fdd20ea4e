#include "SampleModule.h"

#include <QDir>

using namespace Qt::StringLiterals;

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
    q.questionCode = u"QX-%1"_s.arg(id, 4, 10, QLatin1Char('0')).leftJustified(10);
    q.objectiveNo = objective;
    q.questionText = u"Question text %1"_s.arg(id);
    q.questionType = type;
    q.choiceCount = choiceCount;
    q.answerKey = answerKey;
    q.explanation = u"Because."_s;
    q.reference = u"Chapter %1"_s.arg(id);
    return q;
}

// The choices of question id, their texts separated by "|".
void addChoices(OneBasedArray<ChoiceRow> &rows, qint16 id, const QString &texts)
{
    quint8 rowNo = 0;
    for (const QString &text : texts.split(u'|'))
        rows.append({id, ++rowNo, text, 0});
}

} // namespace

QuestionBank sampleBank()
{
    QuestionBank bank;
    bank.testInfo = {u"512-330"_s,
                     u"Network Technician Certified Associate"_s,
                     5,
                     825,
                     90,
                     7,
                     2,
                     u"1.0"_s,
                     u"December 2026"_s,
                     u"A module for tests. Caf\u00e9 \u20ac"_s,
                     u"Notes."_s};
    bank.objectives =
        rowsOf<Objective>({{1, u"Network Fundamentals"_s, 4}, {2, u"IP Addressing"_s, 3}});
    bank.prompts = rowsOf<Prompt>({{1, u">"_s}, {2, u"#"_s}});
    for (quint8 code = 1; code <= 7; ++code)
        bank.questionTypes.append({code, u"type%1"_s.arg(code), u"Caption %1"_s.arg(code)});

    bank.questions = rowsOf<Question>({
        question(1, 1, SingleAnswer, 3, 0b010),
        question(2, 1, MultipleAnswers, 4, 0b0101),
        question(3, 2, TypedAnswer, 1, 0),
        question(4, 2, TypedValues, 4, 0),
        question(5, 1, TextDragAndDrop, 3, 2),
        question(6, 2, GraphicalDragAndDrop, 2, 2),
        question(7, 1, Simulation, 2, 0),
    });
    addChoices(bank.choiceRows, 1, u"Physical|Data link|Network"_s);
    addChoices(bank.choiceRows, 2, u"A|B|C|D"_s);
    addChoices(bank.choiceRows, 3, u"ping"_s);
    addChoices(bank.choiceRows, 4, u"255|255|255|192"_s);
    addChoices(bank.choiceRows, 5, u"TCP|UDP|ICMP"_s);
    addChoices(bank.choiceRows, 6, u"Router|Switch"_s);
    bank.dndRows = rowsOf<DndRow>({{5, 1, 1, u"Reliable"_s, 0, 0, 0, 0},
                                   {5, 2, 0, u"Unused"_s, 0, 0, 0, 0},
                                   {6, 1, 2, QString(), 300, 450, 1695, 465},
                                   {6, 2, 1, QString(), 3000, 450, 1695, 465}});
    bank.simRows =
        rowsOf<SimRow>({{7, 1, u"Router"_s, 1, u"Enter privileged mode."_s, u"enable"_s, QString()},
                        {7, 2, u"Router"_s, 2, u"Show the version."_s, u"show version"_s,
                         u"Version 1\nUptime 2"_s}});
    return bank;
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

#pragma once

#include "common/OneBasedArray.h"

#include <QString>
#include <QtGlobal>

// The records of the test module, field for field as the table files hold them.
// int16 fields are qint16, byte fields quint8; text is decoded from Windows-1252.

struct TestInfo
{
    QString examCode;
    QString examTitle;
    qint16 examQuestionCount = 0;
    qint16 passingScore = 0;
    qint16 durationMinutes = 0;
    qint16 totalQuestions = 0;
    quint8 numObjectives = 0;
    QString dbVersion;
    QString dbRelease;
    QString description;
    QString notes;
    bool operator==(const TestInfo &) const = default;
};

struct Objective
{
    quint8 objectiveNo = 0;
    QString objectiveName;
    qint16 questionCount = 0;
    bool operator==(const Objective &) const = default;
};

struct Prompt
{
    quint8 promptNo = 0;
    QString promptText;
    bool operator==(const Prompt &) const = default;
};

struct QuestionType
{
    quint8 typeCode = 0;
    QString typeName;
    QString typeCaption;
    bool operator==(const QuestionType &) const = default;
};

// Question type codes, the value of Question::questionType.
enum QuestionTypeCode : quint8 {
    SingleAnswer = 1,
    MultipleAnswers = 2,
    TypedAnswer = 3,
    TypedValues = 4,
    TextDragAndDrop = 5,
    GraphicalDragAndDrop = 6,
    Simulation = 7,
};

constexpr int questionCodeLength = 10;

struct Question
{
    qint16 questionId = 0;
    QString questionCode; // always questionCodeLength characters, space-padded
    quint8 objectiveNo = 0;
    QString questionText;
    quint8 questionType = 0;
    quint8 choiceCount = 0;
    qint16 answerKey = 0;
    QString diagramFile;
    QString exhibitFile;
    QString explanation;
    QString reference;
    bool operator==(const Question &) const = default;
};

struct ChoiceRow
{
    qint16 questionId = 0;
    quint8 rowNo = 0;
    QString text;
    qint16 spare = 0;
    bool operator==(const ChoiceRow &) const = default;
};

struct DndRow
{
    qint16 questionId = 0;
    quint8 rowNo = 0;
    quint8 correctSource = 0;
    QString text;
    qint16 targetLeft = 0;
    qint16 targetTop = 0;
    qint16 targetWidth = 0;
    qint16 targetHeight = 0;
    bool operator==(const DndRow &) const = default;
};

struct SimRow
{
    qint16 questionId = 0;
    quint8 rowNo = 0;
    QString hostName;
    quint8 promptNo = 0;
    QString taskText;
    QString expectedCommand;
    QString response;
    bool operator==(const SimRow &) const = default;
};

// Most records a module may hold in each table.
namespace TableCapacity {
constexpr int objectives = 50;
constexpr int prompts = 25;
constexpr int questionTypes = 10;
constexpr int questions = 1000;
constexpr int choiceRows = 5000;
constexpr int dndRows = 1000;
constexpr int simRows = 1000;
} // namespace TableCapacity

// The in-memory test module: written once at start-up, read by everyone afterwards.
struct QuestionBank
{
    TestInfo testInfo;
    OneBasedArray<Objective> objectives;
    OneBasedArray<Prompt> prompts;
    OneBasedArray<QuestionType> questionTypes;
    OneBasedArray<Question> questions;
    OneBasedArray<ChoiceRow> choiceRows;
    OneBasedArray<DndRow> dndRows;
    OneBasedArray<SimRow> simRows;

    // Values the test engine starts from, derived from the header after loading.
    int numQuestionsWanted = 0;
    int bankQuestionCount = 0;
    int objectiveCount = 0;
    QString testDuration;
    int minObjQuestions = 0;

    bool operator==(const QuestionBank &) const = default;
};

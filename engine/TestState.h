#pragma once

#include "common/OneBasedArray.h"

#include <QDateTime>
#include <QString>

#include <variant>

enum TestMode : int { StudyMode = 1, ExamMode = 2, CustomMode = 3 };

enum NavMode : int {
    NavTakingTest = 1,
    NavReviewMarked = 2,
    NavReviewIncomplete = 3,
    NavReviewIncorrect = 4,
    NavReviewAll = 5,
};

enum AnswerStatus : int {
    StatusNone = 0,
    StatusAnswered = 1,
    StatusIncomplete = 2,
    StatusCorrect = 3,
    StatusIncorrect = 4,
};

// An answer as stored: nothing yet, a number (choice bit masks, and 1 / -1 from the
// drag-and-drop and simulation windows) or text (typed answers and dotted values).
using AnswerValue = std::variant<std::monostate, int, QString>;

// Whether an answer counts as given: neither empty, nor 0, nor the empty string.
inline bool answerPresent(const AnswerValue &answer)
{
    if (const int *number = std::get_if<int>(&answer))
        return *number != 0;
    if (const QString *text = std::get_if<QString>(&answer))
        return !text->isEmpty();
    return false;
}

struct AnswerRecord
{
    AnswerValue answer;
    bool marked = false;
    int status = StatusNone;
};

// Where a question's block of detail rows starts; rowIndex 0 when it has none.
struct RowIndex
{
    qint16 questionId = 0;
    int rowIndex = 0;
};

constexpr int maxChoices = 10;

// The one state of the current test. Question numbers (q) are bank positions, item
// numbers are positions in the test; every array is 1-based.
struct TestState
{
    // Mode and options
    int testMode = 0;
    QString testModeName;
    bool optRandomQuestions = false;
    bool optRandomAnswers = false;
    bool optTimed = false;
    bool optPrevious = false;
    bool optAnswerButton = false;
    bool optShowCorrectCount = false;
    QString testDuration;
    int numQuestionsWanted = 0;

    // Selection
    OneBasedArray<bool> objSelected;
    int testLength = 0;
    OneBasedArray<int> objOrder;
    OneBasedArray<OneBasedArray<int>> objQue; // objQue[o][k]: k-th question of objective o
    OneBasedArray<int> objQuota;
    OneBasedArray<int> objList;
    int objListCount = 0;
    OneBasedArray<int> objQueID;
    OneBasedArray<int> rndQueID;
    OneBasedArray<OneBasedArray<int>> ansOrder; // ansOrder[q][d], d = 1..maxChoices

    // Per-question indexes into the bank's detail tables
    OneBasedArray<RowIndex> mcIndex;
    OneBasedArray<RowIndex> dndIndex;
    OneBasedArray<RowIndex> simIndex;

    // Answers, indexed by question number
    OneBasedArray<AnswerRecord> answerRecs;

    // Navigation
    int navMode = NavTakingTest;
    bool testActive = false;
    int curItem = 0;
    int curQ = 0;
    OneBasedArray<int> markedItems;
    int reviewPosMarked = 0;
    OneBasedArray<int> incompleteItems;
    int reviewPosIncomplete = 0;
    OneBasedArray<int> incorrectItems;
    int reviewPosIncorrect = 0;
    bool showingAnswer = false;

    // Timing: a point in time, so tests across midnight or longer than a day end correctly.
    QDateTime testEndTime;

    // Grading results
    int answeredCount = 0;
    int incompleteCount = 0;
    int correctCount = 0;
    int incorrectCount = 0;
    OneBasedArray<int> objCorrect;
    OneBasedArray<int> objPercent;
    OneBasedArray<QString> objScoreText;
    int scaledScore = 0;
    int passScore = 0;
};

#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// A question as the question-bank formats describe it, between their files and the module:
// the readers produce it with the text already plain, the writers consume it.

enum class BankQuestionKind {
    MultipleChoice,
    TrueFalse,
    ShortAnswer,
    Numerical,
    Matching,
    DragOntoImage,
    DragIntoText,
    Description,
    // Essay, cloze, calculated, random...: kept only to be reported.
    Unsupported,
};

struct BankAnswer
{
    QString text;
    double fraction = 0; // percent of the grade: 100 is fully correct, below 0 a penalty
    double tolerance = 0;
};

// A matching row; an empty prompt makes the answer a distractor.
struct BankPair
{
    QString prompt;
    QString answer;
};

struct BankDrag
{
    QString text;
    int group = 1;
    bool picture = false; // a picture to drag, which a module cannot show
};

// A drop zone on the background picture, in pixels from its top-left corner.
struct BankDrop
{
    int left = 0;
    int top = 0;
    int choice = 0; // the 1-based drag that belongs here
};

struct BankQuestion
{
    int line = 0;
    QString name;
    QStringList category; // path from the top; empty when the file gives none
    BankQuestionKind kind = BankQuestionKind::Unsupported;
    QString unsupportedType; // the format's name of an unsupported type ("essay")
    QString text;            // DragIntoText: the gaps as [[n]]
    QString exhibit;         // a listing taken out of the text
    QString explanation;
    bool single = true; // MultipleChoice: one choice to pick
    bool caseSensitive = false;
    QList<BankAnswer> answers;
    QList<BankPair> pairs;
    QList<BankDrag> drags; // DragOntoImage items, DragIntoText choices
    QList<BankDrop> drops;
    // File names of the pictures the text shows, in order; DragOntoImage: the background first.
    QStringList pictures;
    QMap<QString, QByteArray> embeddedFiles;
    // What reading the question lost, one report line each.
    QStringList notes;
};

// A bank file read, or the first problem that makes it unreadable: "LINE: what" or
// "LINE:COLUMN: what".
struct ParsedBank
{
    QList<BankQuestion> questions;
    std::optional<QString> error;
};

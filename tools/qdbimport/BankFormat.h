#pragma once

#include "BankQuestion.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

enum class BankFormat { Gift, MoodleXml, Aiken };

// "gift", "moodlexml", "aiken".
std::optional<BankFormat> bankFormatNamed(const QString &name);

// The format a bank's text is written in, told from its content; nullopt when it reads as
// none of them.
std::optional<BankFormat> detectBankFormat(const QString &text);

struct DecodedText
{
    QString text;
    bool windows1252 = false; // the bytes were not UTF-8
};

// UTF-8 with or without a byte order mark; Windows-1252 when the bytes are not UTF-8.
DecodedText decodeBankText(const QByteArray &bytes);

ParsedBank parseBank(BankFormat format, const QString &text);

ParsedBank parseGift(const QString &text);
ParsedBank parseMoodleXml(const QString &text);
ParsedBank parseAiken(const QString &text);

QString writeGift(const QList<BankQuestion> &questions);
QByteArray writeMoodleXml(const QList<BankQuestion> &questions);

// A category path as the formats write it ("$course$/top/Routing/OSPF", "//" for a "/"
// within a name) as its names from the top ("Routing", "OSPF"), and back.
QStringList categoryPath(const QString &text);
QString categoryText(const QStringList &path);

// "50", "33.33333", "-100": a percentage as the formats write it.
QString percentText(double percent);

// The report's note on the feedback of some answers, which a module has no place for.
QString droppedFeedbackNote(int answers);

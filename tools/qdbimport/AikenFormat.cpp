#include "BankFormat.h"

#include <QRegularExpression>

// Each question: its text, its choices "A. text" or "A) text", then "ANSWER: A".
ParsedBank parseAiken(const QString &text)
{
    static const QRegularExpression option(QStringLiteral(R"(^([A-Z])[.)]\s+(.*)$)"));
    static const QRegularExpression answer(QStringLiteral(R"(^ANSWER:\s*(\S*)\s*$)"));
    ParsedBank bank;
    BankQuestion question;
    QStringList lines;
    QString letters;
    int lineNo = 0;
    const auto fail = [&](int line, const QString &problem) {
        bank.error = QStringLiteral("%1: %2").arg(line).arg(problem);
        return bank;
    };
    for (QStringView rawLine : QStringTokenizer(text, u'\n')) {
        ++lineNo;
        const QString line = rawLine.trimmed().toString();
        if (line.isEmpty())
            continue;
        if (const auto key = answer.match(line); key.hasMatch()) {
            if (letters.isEmpty())
                return fail(lineNo, QStringLiteral("ANSWER without choices before it"));
            const QString letter = key.captured(1).toUpper();
            if (letter.size() != 1 || !letters.contains(letter))
                return fail(lineNo, QStringLiteral("the answer \"%1\" is none of the choices %2")
                                        .arg(key.captured(1), letters));
            for (qsizetype i = 0; i < letters.size(); ++i)
                question.answers[i].fraction = letters[i] == letter[0] ? 100 : 0;
            question.kind = BankQuestionKind::MultipleChoice;
            question.text = lines.join(u'\n');
            bank.questions.append(question);
            question = BankQuestion();
            lines.clear();
            letters.clear();
        } else if (const auto choice = option.match(line); choice.hasMatch() && !lines.isEmpty()) {
            letters += choice.captured(1);
            question.answers.append({choice.captured(2).trimmed(), 0, 0});
        } else if (!letters.isEmpty()) {
            return fail(lineNo, QStringLiteral("\"%1\" is neither a choice (\"A. ...\") nor the "
                                               "ANSWER line")
                                    .arg(line));
        } else {
            if (lines.isEmpty())
                question.line = lineNo;
            lines.append(line);
        }
    }
    if (!lines.isEmpty())
        return fail(question.line, QStringLiteral("the question has no ANSWER line"));
    return bank;
}

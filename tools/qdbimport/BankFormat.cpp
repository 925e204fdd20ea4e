#include "BankFormat.h"

#include "moduledb/Ansi.h"

#include <QRegularExpression>
#include <QStringDecoder>

std::optional<BankFormat> bankFormatNamed(const QString &name)
{
    if (name == QStringLiteral("gift"))
        return BankFormat::Gift;
    if (name == QStringLiteral("moodlexml"))
        return BankFormat::MoodleXml;
    if (name == QStringLiteral("aiken"))
        return BankFormat::Aiken;
    return std::nullopt;
}

std::optional<BankFormat> detectBankFormat(const QString &text)
{
    const QString start = text.left(256).trimmed();
    if (start.startsWith(QStringLiteral("<?xml")) || start.startsWith(QStringLiteral("<quiz")))
        return BankFormat::MoodleXml;
    static const QRegularExpression aikenKey(QStringLiteral(R"(^ANSWER:\s*[A-Z]\s*$)"),
                                             QRegularExpression::MultilineOption);
    static const QRegularExpression aikenOption(QStringLiteral(R"(^[A-Z][.)]\s)"),
                                                QRegularExpression::MultilineOption);
    // An answer block or a category line is GIFT; Aiken has neither.
    static const QRegularExpression giftMark(QStringLiteral(R"(\{|^\s*\$CATEGORY:|^\s*::)"),
                                             QRegularExpression::MultilineOption);
    if (text.contains(giftMark))
        return BankFormat::Gift;
    if (text.contains(aikenKey) && text.contains(aikenOption))
        return BankFormat::Aiken;
    return std::nullopt;
}

DecodedText decodeBankText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    const bool windows1252 = utf8.hasError();
    if (windows1252)
        text = fromAnsi(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return {text, windows1252};
}

ParsedBank parseBank(BankFormat format, const QString &text)
{
    switch (format) {
    case BankFormat::Gift:
        return parseGift(text);
    case BankFormat::MoodleXml:
        return parseMoodleXml(text);
    case BankFormat::Aiken:
        break;
    }
    return parseAiken(text);
}

QStringList categoryPath(const QString &text)
{
    QStringList path;
    QString name;
    const QString trimmed = text.trimmed();
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        if (trimmed[i] != u'/') {
            name += trimmed[i];
        } else if (i + 1 < trimmed.size() && trimmed[i + 1] == u'/') {
            name += u'/';
            ++i;
        } else {
            path.append(name.trimmed());
            name.clear();
        }
    }
    path.append(name.trimmed());
    path.removeAll(QString());
    // "$course$" and "top" name where the path starts, not a category of the bank.
    if (!path.isEmpty() && path.first().startsWith(u'$') && path.first().endsWith(u'$'))
        path.removeFirst();
    if (!path.isEmpty() && path.first() == QStringLiteral("top"))
        path.removeFirst();
    return path;
}

QString categoryText(const QStringList &path)
{
    QStringList names;
    for (const QString &name : path)
        names.append(QString(name).replace(u'/', QStringLiteral("//")));
    return QStringLiteral("$course$/top/") + names.join(u'/');
}

QString percentText(double percent)
{
    return QString::number(percent, 'f', 5).remove(QRegularExpression(QStringLiteral(R"(\.?0+$)")));
}

QString droppedFeedbackNote(int answers)
{
    return answers == 1 ? QStringLiteral("feedback of 1 answer dropped")
                        : QStringLiteral("feedback of %1 answers dropped").arg(answers);
}

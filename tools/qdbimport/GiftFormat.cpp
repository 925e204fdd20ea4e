#include "BankFormat.h"
#include "BankText.h"

#include <QRegularExpression>
#include <QUrl>

namespace {

// Escaped characters stand in for themselves in a private range while the question is
// split into its parts, so that "\{" or "\=" never reads as structure. "\n" too, so that
// the line ends of the text are the line ends of the file.
constexpr char16_t escapeBase = 0xE000;
const QString escapable = QStringLiteral("~=#{}:\\");
const QString escaped = escapable + u'\n';

QString hideEscapes(QStringView text)
{
    QString hidden;
    hidden.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size()) {
            const qsizetype index = (escapable + u'n').indexOf(text[i + 1]);
            if (index >= 0) {
                hidden += QChar(char16_t(escapeBase + index));
                ++i;
                continue;
            }
        }
        hidden += text[i];
    }
    return hidden;
}

// The text as written, escapes undone. HTML collapses a line end, so there an escaped line
// break becomes <br>.
QString restoreEscapes(QStringView text, TextFormat format = TextFormat::Plain)
{
    const bool html = format == TextFormat::Html || format == TextFormat::HtmlWithLineBreaks;
    QString restored;
    restored.reserve(text.size());
    for (QChar ch : text) {
        const char16_t code = ch.unicode();
        if (code < escapeBase || code >= escapeBase + escaped.size())
            restored += ch;
        else if (html && escaped[code - escapeBase] == u'\n')
            restored += QStringLiteral("<br>");
        else
            restored += escaped[code - escapeBase];
    }
    return restored;
}

// One question's lines, without comments, as they stand between blank lines.
struct Block
{
    QString text;
    QList<int> fileLines; // the line number in the file of each line of text

    // The file's line of text[offset], in text or in text with its escapes hidden.
    int lineAt(QStringView in, qsizetype offset) const
    {
        return fileLines.value(in.left(offset).count(u'\n'));
    }
};

QList<Block> blocksOf(const QString &text)
{
    QList<Block> blocks;
    Block block;
    int lineNo = 0;
    for (QStringView line : QStringTokenizer(text, u'\n')) {
        ++lineNo;
        const QStringView trimmed = line.trimmed();
        if (trimmed.startsWith(u"//"))
            continue;
        if (trimmed.isEmpty()) {
            if (!block.text.isEmpty())
                blocks.append(block);
            block = Block();
            continue;
        }
        if (!block.text.isEmpty())
            block.text += u'\n';
        block.text += line;
        block.fileLines.append(lineNo);
    }
    if (!block.text.isEmpty())
        blocks.append(block);
    return blocks;
}

TextFormat textFormatNamed(QStringView name)
{
    if (name == u"html")
        return TextFormat::Html;
    if (name == u"plain")
        return TextFormat::Plain;
    if (name == u"markdown")
        return TextFormat::Markdown;
    return TextFormat::HtmlWithLineBreaks;
}

class GiftReader
{
public:
    ParsedBank read(const QString &text)
    {
        for (const Block &block : blocksOf(text)) {
            readBlock(block);
            if (m_bank.error)
                break;
        }
        return m_bank;
    }

private:
    void fail(int line, const QString &problem)
    {
        if (!m_bank.error)
            m_bank.error = QStringLiteral("%1: %2").arg(line).arg(problem);
    }

    QString plain(QStringView text, BankQuestion &question, const QString &where)
    {
        const PlainText converted = toPlainText(restoreEscapes(text, m_format), m_format);
        if (!converted.pictures.isEmpty())
            question.notes.append(QStringLiteral("%1: picture left out").arg(where));
        return converted.text;
    }

    void readBlock(const Block &block)
    {
        QString text = hideEscapes(block.text);
        qsizetype start = 0;
        if (QStringView(text).trimmed().startsWith(u"$CATEGORY:")) {
            const qsizetype at = text.indexOf(u"$CATEGORY:") + 10;
            const qsizetype lineEnd = text.indexOf(u'\n', at);
            m_category =
                categoryPath(restoreEscapes(text.mid(at, lineEnd < 0 ? -1 : lineEnd - at)));
            if (lineEnd < 0)
                return;
            start = lineEnd + 1;
        }
        BankQuestion question;
        QStringView rest = QStringView(text).mid(start).trimmed();
        const auto lineOf = [&](qsizetype at) {
            return block.lineAt(text, rest.data() - text.constData() + at);
        };
        question.line = lineOf(0);
        question.category = m_category;

        if (rest.startsWith(u"::")) {
            const qsizetype close = rest.indexOf(u"::", 2);
            if (close < 0)
                return fail(question.line, QStringLiteral("the question name after \"::\" has no "
                                                          "closing \"::\""));
            question.name = restoreEscapes(rest.mid(2, close - 2).trimmed().toString());
            rest = rest.mid(close + 2).trimmed();
        }
        static const QRegularExpression formatTag(QStringLiteral(R"(^\[(\w+)\])"));
        m_format = TextFormat::HtmlWithLineBreaks;
        if (const auto match = formatTag.match(rest); match.hasMatch()) {
            m_format = textFormatNamed(match.capturedView(1));
            rest = rest.mid(match.capturedLength());
        }

        const qsizetype open = rest.indexOf(u'{');
        const qsizetype close = rest.indexOf(u'}');
        if (open < 0 && close < 0) {
            question.kind = BankQuestionKind::Description;
            setText(question, rest);
            m_bank.questions.append(question);
            return;
        }
        if (open < 0 || (close >= 0 && close < open))
            return fail(lineOf(close), QStringLiteral("unbalanced braces: \"}\" without \"{\""));
        if (close < 0)
            return fail(lineOf(open), QStringLiteral("unbalanced braces: \"{\" has no closing "
                                                     "\"}\""));
        if (const qsizetype inner = rest.indexOf(u'{', open + 1); inner >= 0 && inner < close)
            return fail(lineOf(inner), QStringLiteral("unbalanced braces: \"{\" inside an answer "
                                                      "block"));
        const QStringView after = rest.mid(close + 1).trimmed();
        if (const qsizetype more = after.indexOf(u'{'); more >= 0 || after.contains(u'}'))
            return fail(lineOf(close + 1 + rest.mid(close + 1).indexOf(more >= 0 ? u'{' : u'}')),
                        more >= 0 ? QStringLiteral("a question has one answer block, this is a "
                                                   "second")
                                  : QStringLiteral("unbalanced braces: \"}\" without \"{\""));
        // Text on both sides of the answers leaves a gap for the missing word.
        const QStringView before = rest.left(open).trimmed();
        setText(question, after.isEmpty()
                              ? before.toString()
                              : before.toString() + QStringLiteral(" _____ ") + after.toString());
        readAnswers(question, rest.mid(open + 1, close - open - 1), lineOf(open));
        if (!m_bank.error)
            m_bank.questions.append(question);
    }

    void setText(BankQuestion &question, QStringView text)
    {
        const PlainText converted = toPlainText(restoreEscapes(text, m_format), m_format, true);
        question.text = converted.text;
        question.exhibit = converted.listing;
        for (const QString &source : converted.pictures)
            question.pictures.append(pictureFilePath(source));
    }

    void readAnswers(BankQuestion &question, QStringView block, int line)
    {
        QStringView answers = block;
        if (const qsizetype general = block.indexOf(u"####"); general >= 0) {
            question.explanation =
                plain(block.mid(general + 4), question, QStringLiteral("general feedback"));
            answers = block.left(general);
        }
        answers = answers.trimmed();
        static const QRegularExpression trueFalse(QStringLiteral(R"(^(T|TRUE|F|FALSE)\s*(#|$))"),
                                                  QRegularExpression::CaseInsensitiveOption);
        if (answers.isEmpty()) {
            question.kind = BankQuestionKind::Unsupported;
            question.unsupportedType = QStringLiteral("essay");
        } else if (answers.startsWith(u'#')) {
            readNumerical(question, answers.mid(1).trimmed(), line);
        } else if (const auto match = trueFalse.match(answers); match.hasMatch()) {
            question.kind = BankQuestionKind::TrueFalse;
            const bool isTrue = match.capturedView(1).startsWith(u'T', Qt::CaseInsensitive);
            question.answers = {{QStringLiteral("True"), isTrue ? 100.0 : 0.0, 0},
                                {QStringLiteral("False"), isTrue ? 0.0 : 100.0, 0}};
            const qsizetype feedbacks = answers.split(u'#', Qt::SkipEmptyParts).size() - 1;
            if (feedbacks > 0)
                question.notes.append(droppedFeedbackNote(int(feedbacks)));
        } else if (!answers.startsWith(u'=') && !answers.startsWith(u'~')) {
            fail(line, QStringLiteral("the answers must start with \"=\" or \"~\""));
        } else if (answers.startsWith(u'=') && answers.contains(u"->")) {
            question.kind = BankQuestionKind::Matching;
            for (const QString &answer : splitAnswers(answers)) {
                const qsizetype arrow = answer.indexOf(QStringLiteral("->"));
                if (arrow < 0)
                    return fail(line, QStringLiteral("matching pair \"%1\" has no \"->\"")
                                          .arg(restoreEscapes(answer.mid(1).trimmed())));
                question.pairs.append({plain(QStringView(answer).mid(1, arrow - 1), question,
                                             QStringLiteral("matching pair")),
                                       restoreEscapes(answer.mid(arrow + 2).trimmed())});
            }
        } else {
            question.kind = answers.contains(u'~') ? BankQuestionKind::MultipleChoice
                                                   : BankQuestionKind::ShortAnswer;
            int feedbacks = 0;
            for (const QString &answer : splitAnswers(answers)) {
                BankAnswer parsed;
                QStringView rest = QStringView(answer).mid(1).trimmed();
                parsed.fraction = answer.startsWith(u'=') ? 100 : 0;
                if (!readWeight(rest, parsed.fraction))
                    return fail(line, QStringLiteral("the weight of answer \"%1\" is not a "
                                                     "percentage")
                                          .arg(restoreEscapes(answer.mid(1).trimmed())));
                if (const qsizetype hash = rest.indexOf(u'#'); hash >= 0) {
                    feedbacks += rest.mid(hash + 1).trimmed().isEmpty() ? 0 : 1;
                    rest = rest.left(hash);
                }
                // A typed answer is compared as typed, so it is plain text.
                parsed.text =
                    question.kind == BankQuestionKind::ShortAnswer
                        ? restoreEscapes(rest.trimmed())
                        : plain(rest, question,
                                QStringLiteral("answer %1").arg(question.answers.size() + 1));
                question.answers.append(parsed);
            }
            // GIFT gives a choice question several answers to tick only by weights: when no
            // answer is worth the whole grade.
            question.single = std::any_of(question.answers.begin(), question.answers.end(),
                                          [](const BankAnswer &a) { return a.fraction >= 100; });
            if (feedbacks > 0)
                question.notes.append(droppedFeedbackNote(feedbacks));
        }
    }

    void readNumerical(BankQuestion &question, QStringView answers, int line)
    {
        question.kind = BankQuestionKind::Numerical;
        const QStringList parts = answers.startsWith(u'=')
                                      ? splitAnswers(answers)
                                      : QStringList{QStringLiteral("=") + answers.toString()};
        for (const QString &part : parts) {
            BankAnswer answer;
            answer.fraction = 100;
            QStringView rest = QStringView(part).mid(1).trimmed();
            if (!readWeight(rest, answer.fraction))
                return fail(line, QStringLiteral("the weight of answer \"%1\" is not a percentage")
                                      .arg(part.mid(1)));
            if (const qsizetype hash = rest.indexOf(u'#'); hash >= 0)
                rest = rest.left(hash).trimmed();
            bool ok = true;
            bool toleranceOk = true;
            if (const qsizetype range = rest.indexOf(u".."); range >= 0) {
                const double low = rest.left(range).toDouble(&ok);
                const double high = rest.mid(range + 2).toDouble(&toleranceOk);
                answer.tolerance = (high - low) / 2;
                answer.text = QString::number((low + high) / 2);
            } else if (const qsizetype colon = rest.indexOf(u':'); colon >= 0) {
                answer.text = rest.left(colon).trimmed().toString();
                answer.text.toDouble(&ok);
                answer.tolerance = rest.mid(colon + 1).toDouble(&toleranceOk);
            } else {
                answer.text = rest.toString();
                answer.text.toDouble(&ok);
            }
            if (!ok || !toleranceOk)
                return fail(line, QStringLiteral("numerical answer \"%1\" is not a number")
                                      .arg(restoreEscapes(rest.toString())));
            question.answers.append(answer);
        }
    }

    static bool readWeight(QStringView &rest, double &fraction)
    {
        if (!rest.startsWith(u'%'))
            return true;
        const qsizetype end = rest.indexOf(u'%', 1);
        bool ok = false;
        if (end > 0)
            fraction = rest.mid(1, end - 1).toDouble(&ok);
        rest = rest.mid(end + 1).trimmed();
        return ok;
    }

    // Each answer starts with its "=" or "~".
    static QStringList splitAnswers(QStringView answers)
    {
        QStringList list;
        for (QChar ch : answers) {
            if (ch == u'=' || ch == u'~')
                list.append(QString(ch));
            else if (!list.isEmpty())
                list.last() += ch;
        }
        return list;
    }

    ParsedBank m_bank;
    QStringList m_category;
    TextFormat m_format = TextFormat::HtmlWithLineBreaks;
};

// Text as GIFT holds it: its special characters escaped, and no line that would end the
// question (a blank one) or read as a comment.
QString giftEscaped(QStringView text)
{
    QString out;
    out.reserve(text.size() + 16);
    for (QChar ch : text) {
        if (escapable.contains(ch))
            out += u'\\';
        out += ch;
    }
    QStringList lines = out.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0 && lines[i].trimmed().isEmpty()) {
            const QString blank = lines.takeAt(i--);
            lines[i] += QStringLiteral("\\n") + blank;
            continue;
        }
        if (const qsizetype slash = lines[i].indexOf(u'/');
            slash >= 0 && lines[i].left(slash).trimmed().isEmpty())
            lines[i].replace(slash, 1, QStringLiteral("&\\#47;"));
    }
    out = lines.join(u'\n');
    return out;
}

QString questionHtml(const BankQuestion &question)
{
    QString html = toHtml(question.text);
    for (const QString &picture : question.pictures)
        html += QStringLiteral("<br>\n<img src=\"@@PLUGINFILE@@/%1\">")
                    .arg(QString::fromUtf8(QUrl::toPercentEncoding(picture)));
    if (!question.exhibit.isEmpty())
        html += QStringLiteral("\n<pre>") + escapeHtml(question.exhibit) + QStringLiteral("</pre>");
    return html;
}

} // namespace

ParsedBank parseGift(const QString &text)
{
    return GiftReader().read(text);
}

QString writeGift(const QList<BankQuestion> &questions)
{
    QString gift;
    std::optional<QStringList> category;
    for (const BankQuestion &question : questions) {
        if (question.category != category) {
            category = question.category;
            gift += QStringLiteral("$CATEGORY: %1\n\n").arg(categoryText(question.category));
        }
        gift += QStringLiteral("::%1::[html]%2")
                    .arg(giftEscaped(question.name), giftEscaped(questionHtml(question)));
        if (question.kind == BankQuestionKind::Description) {
            gift += QStringLiteral("\n\n");
            continue;
        }
        gift += QStringLiteral("{\n");
        for (const BankAnswer &answer : question.answers) {
            const bool typed = question.kind == BankQuestionKind::ShortAnswer;
            const bool full = answer.fraction == 100 && (question.single || typed);
            gift += full || typed ? u'=' : u'~';
            if (!full && answer.fraction != 0)
                gift += u'%' + percentText(answer.fraction) + u'%';
            gift += (typed ? giftEscaped(answer.text) : giftEscaped(toHtml(answer.text))) + u'\n';
        }
        for (const BankPair &pair : question.pairs)
            gift += QStringLiteral("=%1 -> %2\n")
                        .arg(giftEscaped(toHtml(pair.prompt)), giftEscaped(pair.answer));
        if (!question.explanation.isEmpty())
            gift += QStringLiteral("####") + giftEscaped(toHtml(question.explanation)) + u'\n';
        gift += QStringLiteral("}\n\n");
    }
    return gift;
}

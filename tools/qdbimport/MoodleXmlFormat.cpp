#include "BankFormat.h"
#include "BankText.h"

#include <QRegularExpression>
#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

// One element of a question, read whole: questions are small and their parts come in any
// order.
struct Element
{
    QString name;
    QXmlStreamAttributes attributes;
    QString text;
    QList<Element> children;
    int line = 0;

    const Element *child(QStringView childName) const
    {
        for (const Element &element : children) {
            if (element.name == childName)
                return &element;
        }
        return nullptr;
    }
    QList<const Element *> all(QStringView childName) const
    {
        QList<const Element *> found;
        for (const Element &element : children) {
            if (element.name == childName)
                found.append(&element);
        }
        return found;
    }
    // The text of <childName>, or of its <text> for the elements that wrap it.
    QString value(QStringView childName) const
    {
        const Element *element = child(childName);
        if (!element)
            return {};
        const Element *text = element->child(u"text");
        return (text ? text->text : element->text).trimmed();
    }
    QString attribute(const QString &attributeName) const
    {
        return attributes.value(attributeName).toString();
    }
};

Element readElement(QXmlStreamReader &xml)
{
    Element element;
    element.name = xml.name().toString();
    element.attributes = xml.attributes();
    element.line = int(xml.lineNumber());
    while (xml.readNext() != QXmlStreamReader::Invalid) {
        if (xml.isStartElement())
            element.children.append(readElement(xml));
        else if (xml.isCharacters())
            element.text += xml.text();
        else if (xml.isEndElement())
            break;
    }
    return element;
}

TextFormat textFormatOf(const Element &element)
{
    const QString format = element.attribute(QStringLiteral("format"));
    if (format == QStringLiteral("plain_text"))
        return TextFormat::Plain;
    if (format == QStringLiteral("markdown"))
        return TextFormat::Markdown;
    if (format == QStringLiteral("moodle_auto_format"))
        return TextFormat::HtmlWithLineBreaks;
    return TextFormat::Html;
}

bool isTrue(const QString &value)
{
    return value == QStringLiteral("true") || value == QStringLiteral("1");
}

class MoodleXmlReader
{
public:
    ParsedBank read(const QString &text)
    {
        QXmlStreamReader xml(text);
        while (!xml.atEnd() && !m_bank.error) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            if (xml.name() == u"quiz" && m_depth == 0) {
                ++m_depth;
            } else if (m_depth == 0) {
                fail(int(xml.lineNumber()),
                     QStringLiteral("the file holds <%1>, not a <quiz>").arg(xml.name()));
            } else if (xml.name() == u"question") {
                readQuestion(readElement(xml));
            } else {
                xml.skipCurrentElement();
            }
        }
        if (xml.hasError() && !m_bank.error)
            m_bank.error = QStringLiteral("%1:%2: invalid XML: %3")
                               .arg(xml.lineNumber())
                               .arg(xml.columnNumber())
                               .arg(xml.errorString());
        return m_bank;
    }

private:
    void fail(int line, const QString &problem)
    {
        if (!m_bank.error)
            m_bank.error = QStringLiteral("%1: %2").arg(line).arg(problem);
    }

    // The text of a text element (<questiontext>, <answer>...) with the files it carries.
    PlainText plain(const Element *element, BankQuestion &question, bool takeListing = false)
    {
        if (!element)
            return {};
        const Element *text = element->child(u"text");
        PlainText converted =
            toPlainText(text ? text->text : element->text, textFormatOf(*element), takeListing);
        readFiles(*element, question);
        for (QString &source : converted.pictures)
            source = pictureFilePath(source);
        return converted;
    }

    QString plainNoting(const Element *element, BankQuestion &question, const QString &where)
    {
        const PlainText converted = plain(element, question);
        if (!converted.pictures.isEmpty())
            question.notes.append(QStringLiteral("%1: picture left out").arg(where));
        return converted.text;
    }

    void readFiles(const Element &element, BankQuestion &question)
    {
        for (const Element *file : element.all(u"file")) {
            // Some writers wrap the data in lines.
            const auto decoded =
                QByteArray::fromBase64Encoding(file->text.toLatin1().simplified().replace(' ', ""),
                                               QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded)
                return fail(file->line, QStringLiteral("file \"%1\" is not valid base64")
                                            .arg(file->attribute(QStringLiteral("name"))));
            question.embeddedFiles.insert(file->attribute(QStringLiteral("name")), *decoded);
        }
    }

    void readQuestion(const Element &element)
    {
        const QString type = element.attribute(QStringLiteral("type"));
        if (type == QStringLiteral("category")) {
            m_category = categoryPath(element.value(u"category"));
            return;
        }
        BankQuestion question;
        question.line = element.line;
        question.category = m_category;
        question.name = element.value(u"name");
        const PlainText text = plain(element.child(u"questiontext"), question, true);
        question.text = text.text;
        question.exhibit = text.listing;
        question.pictures = text.pictures;
        question.explanation =
            plainNoting(element.child(u"generalfeedback"), question, QStringLiteral("feedback"));

        if (type == QStringLiteral("multichoice") || type == QStringLiteral("truefalse") ||
            type == QStringLiteral("shortanswer") || type == QStringLiteral("numerical")) {
            question.kind = type == QStringLiteral("multichoice") ? BankQuestionKind::MultipleChoice
                            : type == QStringLiteral("truefalse") ? BankQuestionKind::TrueFalse
                            : type == QStringLiteral("shortanswer") ? BankQuestionKind::ShortAnswer
                                                                    : BankQuestionKind::Numerical;
            readAnswers(element, question);
        } else if (type == QStringLiteral("matching")) {
            question.kind = BankQuestionKind::Matching;
            for (const Element *sub : element.all(u"subquestion"))
                question.pairs.append({plainNoting(sub, question, QStringLiteral("matching pair")),
                                       sub->value(u"answer")});
        } else if (type == QStringLiteral("ddimageortext")) {
            readDragOntoImage(element, question);
        } else if (type == QStringLiteral("ddwtos") || type == QStringLiteral("gapselect")) {
            readDragIntoText(element, question,
                             type == QStringLiteral("ddwtos") ? u"dragbox" : u"selectoption");
        } else if (type == QStringLiteral("description")) {
            question.kind = BankQuestionKind::Description;
        } else {
            question.unsupportedType = type;
        }
        m_bank.questions.append(question);
    }

    void readAnswers(const Element &element, BankQuestion &question)
    {
        const bool typed = question.kind == BankQuestionKind::ShortAnswer ||
                           question.kind == BankQuestionKind::Numerical;
        int feedbacks = 0;
        for (const Element *answer : element.all(u"answer")) {
            BankAnswer parsed;
            parsed.fraction = answer->attribute(QStringLiteral("fraction")).toDouble();
            parsed.tolerance = answer->value(u"tolerance").toDouble();
            // Typed answers are compared as typed, so they are plain text.
            parsed.text =
                typed ? answer->value(u"text")
                      : plainNoting(answer, question,
                                    QStringLiteral("answer %1").arg(question.answers.size() + 1));
            if (question.kind == BankQuestionKind::TrueFalse)
                parsed.text = parsed.text.toLower() == QStringLiteral("true")
                                  ? QStringLiteral("True")
                                  : QStringLiteral("False");
            feedbacks += answer->value(u"feedback").isEmpty() ? 0 : 1;
            question.answers.append(parsed);
        }
        question.single = !element.child(u"single") || isTrue(element.value(u"single"));
        question.caseSensitive = isTrue(element.value(u"usecase"));
        if (feedbacks > 0)
            question.notes.append(droppedFeedbackNote(feedbacks));
    }

    void readDragOntoImage(const Element &element, BankQuestion &question)
    {
        question.kind = BankQuestionKind::DragOntoImage;
        // The background is the question's own file, outside its text.
        const QList<const Element *> files = element.all(u"file");
        if (!files.isEmpty()) {
            readFiles(element, question);
            question.pictures.prepend(files.first()->attribute(QStringLiteral("name")));
        }
        for (const Element *drag : element.all(u"drag"))
            question.drags.append({drag->value(u"text"), drag->value(u"draggroup").toInt(),
                                   drag->child(u"file") != nullptr});
        for (const Element *drop : element.all(u"drop")) {
            BankDrop parsed{drop->value(u"xleft").toInt(), drop->value(u"ytop").toInt(),
                            drop->value(u"choice").toInt()};
            if (parsed.choice < 1 || parsed.choice > question.drags.size())
                return fail(drop->line, QStringLiteral("drop zone %1 takes drag item %2, but the "
                                                       "question has %3")
                                            .arg(drop->value(u"no"))
                                            .arg(parsed.choice)
                                            .arg(question.drags.size()));
            question.drops.append(parsed);
        }
    }

    void readDragIntoText(const Element &element, BankQuestion &question, QStringView choiceName)
    {
        question.kind = BankQuestionKind::DragIntoText;
        for (const Element *choice : element.all(choiceName))
            question.drags.append({choice->value(u"text"), choice->value(u"group").toInt(), false});
        static const QRegularExpression gap(QStringLiteral(R"(\[\[(\d+)\]\])"));
        for (const auto &match : gap.globalMatch(question.text)) {
            const int choice = match.captured(1).toInt();
            if (choice < 1 || choice > question.drags.size())
                return fail(element.line,
                            QStringLiteral("gap [[%1]] takes choice %1, but the question has %2")
                                .arg(choice)
                                .arg(question.drags.size()));
        }
    }

    ParsedBank m_bank;
    QStringList m_category;
    int m_depth = 0;
};

class MoodleXmlWriter
{
public:
    explicit MoodleXmlWriter(QByteArray *out) : m_xml(out)
    {
        m_xml.setAutoFormatting(true);
        m_xml.writeStartDocument();
        m_xml.writeStartElement(QStringLiteral("quiz"));
    }

    void write(const BankQuestion &question)
    {
        if (question.category != m_category) {
            m_category = question.category;
            m_xml.writeStartElement(QStringLiteral("question"));
            m_xml.writeAttribute(QStringLiteral("type"), QStringLiteral("category"));
            textElement(QStringLiteral("category"), categoryText(question.category));
            m_xml.writeEndElement();
        }
        m_xml.writeStartElement(QStringLiteral("question"));
        m_xml.writeAttribute(QStringLiteral("type"), typeName(question.kind));
        textElement(QStringLiteral("name"), question.name);
        const bool onImage = question.kind == BankQuestionKind::DragOntoImage;
        htmlElement(QStringLiteral("questiontext"), questionHtml(question, onImage),
                    onImage ? QStringList() : question.pictures, question);
        htmlElement(QStringLiteral("generalfeedback"), toHtml(question.explanation), {}, question);
        m_xml.writeTextElement(QStringLiteral("defaultgrade"),
                               question.kind == BankQuestionKind::Description
                                   ? QStringLiteral("0")
                                   : QStringLiteral("1"));
        m_xml.writeTextElement(QStringLiteral("hidden"), QStringLiteral("0"));
        switch (question.kind) {
        case BankQuestionKind::MultipleChoice:
            m_xml.writeTextElement(QStringLiteral("single"), question.single
                                                                 ? QStringLiteral("true")
                                                                 : QStringLiteral("false"));
            m_xml.writeTextElement(QStringLiteral("shuffleanswers"), QStringLiteral("true"));
            for (const BankAnswer &answer : question.answers)
                writeAnswer(answer, toHtml(answer.text), QStringLiteral("html"));
            break;
        case BankQuestionKind::ShortAnswer:
            m_xml.writeTextElement(QStringLiteral("usecase"), QStringLiteral("0"));
            for (const BankAnswer &answer : question.answers)
                writeAnswer(answer, answer.text, QStringLiteral("moodle_auto_format"));
            break;
        case BankQuestionKind::Matching:
            m_xml.writeTextElement(QStringLiteral("shuffleanswers"), QStringLiteral("true"));
            for (const BankPair &pair : question.pairs) {
                m_xml.writeStartElement(QStringLiteral("subquestion"));
                m_xml.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
                m_xml.writeTextElement(QStringLiteral("text"), toHtml(pair.prompt));
                textElement(QStringLiteral("answer"), pair.answer);
                m_xml.writeEndElement();
            }
            break;
        case BankQuestionKind::DragOntoImage:
            writeDragOntoImage(question);
            break;
        default:
            break;
        }
        m_xml.writeEndElement();
    }

    void finish()
    {
        m_xml.writeEndElement();
        m_xml.writeEndDocument();
    }

private:
    static QString typeName(BankQuestionKind kind)
    {
        switch (kind) {
        case BankQuestionKind::MultipleChoice:
            return QStringLiteral("multichoice");
        case BankQuestionKind::ShortAnswer:
            return QStringLiteral("shortanswer");
        case BankQuestionKind::Matching:
            return QStringLiteral("matching");
        case BankQuestionKind::DragOntoImage:
            return QStringLiteral("ddimageortext");
        default:
            return QStringLiteral("description");
        }
    }

    static QString questionHtml(const BankQuestion &question, bool backgroundFirst)
    {
        QString html = toHtml(question.text);
        for (qsizetype i = backgroundFirst ? 1 : 0; i < question.pictures.size(); ++i)
            html += QStringLiteral("<br><img src=\"@@PLUGINFILE@@/%1\">")
                        .arg(QString::fromUtf8(QUrl::toPercentEncoding(question.pictures[i])));
        if (!question.exhibit.isEmpty())
            html +=
                QStringLiteral("<pre>") + escapeHtml(question.exhibit) + QStringLiteral("</pre>");
        return html;
    }

    void textElement(const QString &name, const QString &text)
    {
        m_xml.writeStartElement(name);
        m_xml.writeTextElement(QStringLiteral("text"), text);
        m_xml.writeEndElement();
    }

    void writeFile(const QString &name, const BankQuestion &question)
    {
        m_xml.writeStartElement(QStringLiteral("file"));
        m_xml.writeAttribute(QStringLiteral("name"), name);
        m_xml.writeAttribute(QStringLiteral("path"), QStringLiteral("/"));
        m_xml.writeAttribute(QStringLiteral("encoding"), QStringLiteral("base64"));
        m_xml.writeCharacters(QString::fromLatin1(question.embeddedFiles.value(name).toBase64()));
        m_xml.writeEndElement();
    }

    void htmlElement(const QString &name, const QString &html, const QStringList &files,
                     const BankQuestion &question)
    {
        m_xml.writeStartElement(name);
        m_xml.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
        m_xml.writeTextElement(QStringLiteral("text"), html);
        for (const QString &file : files)
            writeFile(file, question);
        m_xml.writeEndElement();
    }

    void writeAnswer(const BankAnswer &answer, const QString &text, const QString &format)
    {
        m_xml.writeStartElement(QStringLiteral("answer"));
        m_xml.writeAttribute(QStringLiteral("fraction"), percentText(answer.fraction));
        m_xml.writeAttribute(QStringLiteral("format"), format);
        m_xml.writeTextElement(QStringLiteral("text"), text);
        m_xml.writeEndElement();
    }

    void writeDragOntoImage(const BankQuestion &question)
    {
        if (!question.pictures.isEmpty())
            writeFile(question.pictures.first(), question);
        for (qsizetype i = 0; i < question.drags.size(); ++i) {
            m_xml.writeStartElement(QStringLiteral("drag"));
            m_xml.writeTextElement(QStringLiteral("no"), QString::number(i + 1));
            m_xml.writeTextElement(QStringLiteral("text"), question.drags[i].text);
            m_xml.writeTextElement(QStringLiteral("draggroup"), QStringLiteral("1"));
            // An item may go on several targets.
            m_xml.writeEmptyElement(QStringLiteral("infinite"));
            m_xml.writeEndElement();
        }
        for (qsizetype i = 0; i < question.drops.size(); ++i) {
            const BankDrop &drop = question.drops[i];
            m_xml.writeStartElement(QStringLiteral("drop"));
            m_xml.writeTextElement(QStringLiteral("text"), QString());
            m_xml.writeTextElement(QStringLiteral("no"), QString::number(i + 1));
            m_xml.writeTextElement(QStringLiteral("choice"), QString::number(drop.choice));
            m_xml.writeTextElement(QStringLiteral("xleft"), QString::number(drop.left));
            m_xml.writeTextElement(QStringLiteral("ytop"), QString::number(drop.top));
            m_xml.writeEndElement();
        }
    }

    QXmlStreamWriter m_xml;
    std::optional<QStringList> m_category;
};

} // namespace

ParsedBank parseMoodleXml(const QString &text)
{
    return MoodleXmlReader().read(text);
}

QByteArray writeMoodleXml(const QList<BankQuestion> &questions)
{
    QByteArray out;
    MoodleXmlWriter writer(&out);
    for (const BankQuestion &question : questions)
        writer.write(question);
    writer.finish();
    return out;
}

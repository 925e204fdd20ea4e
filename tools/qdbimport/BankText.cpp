#include "BankText.h"

#include <QHash>
#include <QRegularExpression>
#include <QUrl>

namespace {

// The Latin-1 entities from U+00A0 on, in code order.
const char latin1Entities[] =
    "nbsp iexcl cent pound curren yen brvbar sect uml copy ordf laquo not shy reg macr deg "
    "plusmn sup2 sup3 acute micro para middot cedil sup1 ordm raquo frac14 frac12 frac34 iquest "
    "Agrave Aacute Acirc Atilde Auml Aring AElig Ccedil Egrave Eacute Ecirc Euml Igrave Iacute "
    "Icirc Iuml ETH Ntilde Ograve Oacute Ocirc Otilde Ouml times Oslash Ugrave Uacute Ucirc Uuml "
    "Yacute THORN szlig agrave aacute acirc atilde auml aring aelig ccedil egrave eacute ecirc "
    "euml igrave iacute icirc iuml eth ntilde ograve oacute ocirc otilde ouml divide oslash "
    "ugrave uacute ucirc uuml yacute thorn yuml";

const QHash<QString, char32_t> &entities()
{
    static const QHash<QString, char32_t> table = [] {
        QHash<QString, char32_t> names{
            {QStringLiteral("amp"), U'&'},         {QStringLiteral("lt"), U'<'},
            {QStringLiteral("gt"), U'>'},          {QStringLiteral("quot"), U'"'},
            {QStringLiteral("apos"), U'\''},       {QStringLiteral("euro"), U'\u20AC'},
            {QStringLiteral("trade"), U'\u2122'},  {QStringLiteral("hellip"), U'\u2026'},
            {QStringLiteral("mdash"), U'\u2014'},  {QStringLiteral("ndash"), U'\u2013'},
            {QStringLiteral("lsquo"), U'\u2018'},  {QStringLiteral("rsquo"), U'\u2019'},
            {QStringLiteral("ldquo"), U'\u201C'},  {QStringLiteral("rdquo"), U'\u201D'},
            {QStringLiteral("sbquo"), U'\u201A'},  {QStringLiteral("bdquo"), U'\u201E'},
            {QStringLiteral("bull"), U'\u2022'},   {QStringLiteral("dagger"), U'\u2020'},
            {QStringLiteral("Dagger"), U'\u2021'}, {QStringLiteral("permil"), U'\u2030'},
            {QStringLiteral("lsaquo"), U'\u2039'}, {QStringLiteral("rsaquo"), U'\u203A'},
            {QStringLiteral("OElig"), U'\u0152'},  {QStringLiteral("oelig"), U'\u0153'},
            {QStringLiteral("Scaron"), U'\u0160'}, {QStringLiteral("scaron"), U'\u0161'},
            {QStringLiteral("Yuml"), U'\u0178'},   {QStringLiteral("fnof"), U'\u0192'},
            {QStringLiteral("circ"), U'\u02C6'},   {QStringLiteral("tilde"), U'\u02DC'},
            {QStringLiteral("ensp"), U' '},        {QStringLiteral("emsp"), U' '},
            {QStringLiteral("thinsp"), U' '},      {QStringLiteral("rarr"), U'\u2192'},
            {QStringLiteral("larr"), U'\u2190'},   {QStringLiteral("le"), U'\u2264'},
            {QStringLiteral("ge"), U'\u2265'},     {QStringLiteral("ne"), U'\u2260'},
        };
        char32_t code = 0xA0;
        for (const QString &name : QString::fromLatin1(latin1Entities).split(u' '))
            names.insert(name, code++);
        return names;
    }();
    return table;
}

bool isBlockTag(const QString &name)
{
    static const QStringList blocks = {
        QStringLiteral("div"),     QStringLiteral("h1"),         QStringLiteral("h2"),
        QStringLiteral("h3"),      QStringLiteral("h4"),         QStringLiteral("h5"),
        QStringLiteral("h6"),      QStringLiteral("ul"),         QStringLiteral("ol"),
        QStringLiteral("table"),   QStringLiteral("tr"),         QStringLiteral("blockquote"),
        QStringLiteral("section"), QStringLiteral("dl"),         QStringLiteral("dt"),
        QStringLiteral("dd"),      QStringLiteral("hr"),         QStringLiteral("center"),
        QStringLiteral("figure"),  QStringLiteral("figcaption"), QStringLiteral("address"),
    };
    return blocks.contains(name);
}

// Writes plain text, collapsing white space outside preformatted blocks the way a browser
// does, and keeping line breaks.
class TextWriter
{
public:
    TextWriter(bool lineEndsBreak, bool takeListing)
        : m_lineEndsBreak(lineEndsBreak), m_takeListing(takeListing)
    {}

    void put(QChar ch)
    {
        if (m_preDepth > 0) {
            if (m_skipNewline && ch == u'\n') {
                m_skipNewline = false;
                return;
            }
            m_skipNewline = false;
            (m_inListing ? m_result.listing : m_result.text) += ch;
            return;
        }
        // A line end right after a block's end is only the source's layout.
        if (ch == u'\n' && m_lineEndsBreak && !m_afterBlock) {
            lineBreak();
            return;
        }
        if (ch.isSpace() && ch != QChar(0xA0)) {
            m_space = true;
            return;
        }
        if (m_space && !atLineStart())
            m_result.text += u' ';
        m_space = false;
        m_afterBlock = false;
        // A non-breaking space is a space that does not collapse.
        m_result.text += ch == QChar(0xA0) ? QChar(u' ') : ch;
    }

    void lineBreak()
    {
        if (m_preDepth > 0)
            return put(u'\n');
        m_result.text += u'\n';
        m_space = false;
        m_afterBlock = false;
    }
    void lineStart()
    {
        if (!atLineStart())
            lineBreak();
        m_space = false;
        m_afterBlock = true;
    }
    void paragraph()
    {
        lineStart();
        if (!m_result.text.isEmpty() && !m_result.text.endsWith(QStringLiteral("\n\n")))
            m_result.text += u'\n';
        m_afterBlock = true;
    }
    void space() { m_space = true; }

    void openPre()
    {
        if (m_preDepth++ > 0)
            return;
        m_skipNewline = true;
        if (m_takeListing && !m_listingTaken) {
            m_inListing = true;
        } else {
            lineStart();
        }
    }
    void closePre()
    {
        if (m_preDepth == 0 || --m_preDepth > 0)
            return;
        if (m_inListing) {
            m_inListing = false;
            m_listingTaken = true;
        } else {
            lineStart();
        }
    }

    void picture(const QString &source) { m_result.pictures.append(source); }

    PlainText finish()
    {
        m_result.text = trimmedLines(m_result.text);
        while (m_result.listing.endsWith(u'\n'))
            m_result.listing.chop(1);
        return m_result;
    }

private:
    bool atLineStart() const { return m_result.text.isEmpty() || m_result.text.endsWith(u'\n'); }

    static QString trimmedLines(const QString &text)
    {
        qsizetype start = 0;
        qsizetype end = text.size();
        while (start < end && text[start] == u'\n')
            ++start;
        while (end > start && (text[end - 1] == u'\n' || text[end - 1] == u' '))
            --end;
        return text.mid(start, end - start);
    }

    PlainText m_result;
    bool m_lineEndsBreak;
    bool m_takeListing;
    bool m_space = false;
    bool m_afterBlock = false;
    int m_preDepth = 0;
    bool m_skipNewline = false;
    bool m_inListing = false;
    bool m_listingTaken = false;
};

// The entity at text[at] ("&amp;", "&#233;", "&#xE9;"); nullopt when it is none, so that
// the "&" stays as written.
std::optional<std::pair<char32_t, qsizetype>> entityAt(QStringView text, qsizetype at)
{
    const qsizetype semicolon = text.indexOf(u';', at);
    if (semicolon < 0 || semicolon - at > 32)
        return std::nullopt;
    const QStringView name = text.mid(at + 1, semicolon - at - 1);
    bool ok = false;
    uint code = 0;
    if (name.startsWith(u"#x") || name.startsWith(u"#X"))
        code = name.mid(2).toUInt(&ok, 16);
    else if (name.startsWith(u'#'))
        code = name.mid(1).toUInt(&ok, 10);
    else if (const auto found = entities().constFind(name.toString()); found != entities().end())
        return std::pair{*found, semicolon + 1};
    if (!ok || code == 0 || code > 0x10FFFF)
        return std::nullopt;
    return std::pair{char32_t(code), semicolon + 1};
}

void putCode(TextWriter &writer, char32_t code)
{
    for (QChar ch : QString::fromUcs4(&code, 1))
        writer.put(ch);
}

QString decodeEntities(QStringView text)
{
    QString decoded;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto entity = text[i] == u'&' ? entityAt(text, i) : std::nullopt;
        if (entity) {
            decoded += QString::fromUcs4(&entity->first, 1);
            i = entity->second - 1;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

QString attributeValue(QStringView attributes, const QString &name)
{
    static const QRegularExpression attribute(
        QStringLiteral(R"re(([\w-]+)\s*(?:=\s*(?:"([^"]*)"|'([^']*)'|([^\s"'>]+)))?)re"));
    for (const auto &match : attribute.globalMatch(attributes)) {
        if (match.capturedView(1).compare(name, Qt::CaseInsensitive) == 0)
            return decodeEntities(match.captured(2) + match.captured(3) + match.captured(4));
    }
    return {};
}

PlainText htmlToText(QStringView html, bool lineEndsBreak, bool takeListing)
{
    TextWriter writer(lineEndsBreak, takeListing);
    for (qsizetype i = 0; i < html.size(); ++i) {
        const QChar ch = html[i];
        if (ch == u'&') {
            if (const auto entity = entityAt(html, i)) {
                putCode(writer, entity->first);
                i = entity->second - 1;
                continue;
            }
        }
        if (ch != u'<' || i + 1 >= html.size()) {
            writer.put(ch);
            continue;
        }
        if (html.mid(i).startsWith(u"<!--")) {
            const qsizetype end = html.indexOf(u"-->", i);
            i = end < 0 ? html.size() : end + 2;
            continue;
        }
        const QChar next = html[i + 1];
        if (!next.isLetter() && next != u'/' && next != u'!') {
            writer.put(ch);
            continue;
        }
        // The tag runs to the first ">" outside quotes.
        qsizetype end = i + 1;
        QChar quote;
        for (; end < html.size(); ++end) {
            if (!quote.isNull()) {
                if (html[end] == quote)
                    quote = QChar();
            } else if (html[end] == u'"' || html[end] == u'\'') {
                quote = html[end];
            } else if (html[end] == u'>') {
                break;
            }
        }
        const QStringView tag = html.mid(i + 1, end - i - 1);
        i = end;
        const bool closing = tag.startsWith(u'/');
        qsizetype nameEnd = closing ? 1 : 0;
        while (nameEnd < tag.size() && tag[nameEnd].isLetterOrNumber())
            ++nameEnd;
        const QString name =
            tag.mid(closing ? 1 : 0, nameEnd - (closing ? 1 : 0)).toString().toLower();
        if (name == QStringLiteral("br")) {
            writer.lineBreak();
        } else if (name == QStringLiteral("p")) {
            writer.paragraph();
        } else if (name == QStringLiteral("li")) {
            writer.lineStart();
            if (!closing) {
                writer.put(u'-');
                writer.put(u' ');
            }
        } else if (name == QStringLiteral("td") || name == QStringLiteral("th")) {
            writer.space();
        } else if (name == QStringLiteral("pre")) {
            closing ? writer.closePre() : writer.openPre();
        } else if (name == QStringLiteral("img") && !closing) {
            writer.picture(attributeValue(tag.mid(nameEnd), QStringLiteral("src")));
        } else if ((name == QStringLiteral("script") || name == QStringLiteral("style")) &&
                   !closing) {
            const qsizetype close =
                html.indexOf(QString(QStringLiteral("</") + name), i, Qt::CaseInsensitive);
            i = close < 0 ? html.size() : html.indexOf(u'>', close);
            if (i < 0)
                i = html.size();
        } else if (isBlockTag(name)) {
            writer.lineStart();
        }
    }
    return writer.finish();
}

// Markdown keeps its text; only a code block (fenced, or indented by four spaces after a
// blank line) may be taken out as the listing.
PlainText markdownToText(QStringView markdown, bool takeListing)
{
    PlainText result;
    QStringList lines = markdown.toString().split(u'\n');
    if (takeListing) {
        qsizetype first = -1;
        qsizetype last = -1;
        bool fenced = false;
        for (qsizetype i = 0; i < lines.size() && last < 0; ++i) {
            if (first < 0 && lines[i].trimmed().startsWith(QStringLiteral("```"))) {
                first = i;
                fenced = true;
            } else if (fenced && lines[i].trimmed().startsWith(QStringLiteral("```"))) {
                last = i;
            } else if (!fenced && first < 0 && lines[i].startsWith(QStringLiteral("    ")) &&
                       (i == 0 || lines[i - 1].trimmed().isEmpty())) {
                first = i;
                last = i;
                while (last + 1 < lines.size() &&
                       (lines[last + 1].startsWith(QStringLiteral("    ")) ||
                        lines[last + 1].isEmpty()))
                    ++last;
            }
        }
        if (first >= 0 && last >= 0) {
            QStringList listing =
                lines.mid(first + (fenced ? 1 : 0), last - first + (fenced ? -1 : 1));
            if (!fenced) {
                for (QString &line : listing)
                    line.remove(0, 4);
            }
            result.listing = listing.join(u'\n');
            while (result.listing.endsWith(u'\n'))
                result.listing.chop(1);
            lines.remove(first, last - first + 1);
        }
    }
    result.text = lines.join(u'\n').trimmed();
    return result;
}

} // namespace

PlainText toPlainText(QStringView source, TextFormat format, bool takeListing)
{
    QString text = source.toString();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    switch (format) {
    case TextFormat::Html:
        return htmlToText(text, false, takeListing);
    case TextFormat::HtmlWithLineBreaks:
        return htmlToText(text, true, takeListing);
    case TextFormat::Markdown:
        return markdownToText(text, takeListing);
    case TextFormat::Plain:
        break;
    }
    return {text.trimmed(), {}, {}};
}

QString escapeHtml(QStringView text)
{
    QString html;
    html.reserve(text.size());
    for (QChar ch : text) {
        if (ch == u'&')
            html += QStringLiteral("&amp;");
        else if (ch == u'<')
            html += QStringLiteral("&lt;");
        else if (ch == u'>')
            html += QStringLiteral("&gt;");
        else
            html += ch;
    }
    return html;
}

QString toHtml(QStringView text)
{
    QString html;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch == u'\n') {
            html += QStringLiteral("<br>\n");
        } else if (ch == u' ') {
            // Only a space between two other characters survives as itself.
            const bool alone =
                i > 0 && i + 1 < text.size() && !text[i - 1].isSpace() && !text[i + 1].isSpace();
            html += alone ? QStringLiteral(" ") : QStringLiteral("&nbsp;");
        } else {
            html += escapeHtml(text.mid(i, 1));
        }
    }
    return html;
}

QString pictureFilePath(const QString &source)
{
    static const QString pluginFile = QStringLiteral("@@PLUGINFILE@@/");
    if (source.startsWith(pluginFile))
        return QUrl::fromPercentEncoding(source.mid(pluginFile.size()).toUtf8());
    if (source.contains(QStringLiteral("://")) || source.startsWith(QStringLiteral("data:")) ||
        source.isEmpty())
        return {};
    return QUrl::fromPercentEncoding(source.toUtf8());
}

#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// The formats a bank's text may be written in.
enum class TextFormat {
    Html,
    HtmlWithLineBreaks, // HTML where a line end is also a line break
    Plain,
    Markdown,
};

struct PlainText
{
    QString text;
    QString listing;      // the first preformatted block, when taken out
    QStringList pictures; // sources of the pictures shown, as written
};

// Module text from a bank's text: tags dropped, entities decoded, block ends and <br> as
// line breaks, other white space collapsed; preformatted blocks keep their lines. With
// takeListing the first preformatted block (<pre>, a fenced or indented Markdown block)
// goes to listing instead of the text.
PlainText toPlainText(QStringView source, TextFormat format, bool takeListing = false);

// Plain text as HTML that toPlainText reads back unchanged: < > & escaped, line breaks as
// <br>, spaces that HTML would collapse as &nbsp;.
QString toHtml(QStringView text);
QString escapeHtml(QStringView text);

// The file a picture source names: "@@PLUGINFILE@@/a%20b.png" and "img/a%20b.png" give
// "a b.png" and "img/a b.png"; empty for a web address or inline data.
QString pictureFilePath(const QString &source);

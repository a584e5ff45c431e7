#pragma once
// The text of a plain text box as it is meant to be stored. QPlainTextEdit::toPlainText
// turns non-breaking spaces into blanks, so saving a record would rewrite those of every
// field, touched or not; the raw text keeps them, and only the box's line and paragraph
// separators become line feeds.

#include <QPlainTextEdit>
#include <QString>
#include <QTextDocument>

namespace papyrant {

// Line breaks of every kind (CR LF, a lone CR, the box's separators) as line feeds.
inline QString lineFeedForm(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (QChar separator : {QChar(u'\r'), QChar(QChar::LineSeparator), QChar(QChar::ParagraphSeparator)})
        text.replace(separator, QLatin1Char('\n'));
    return text;
}

inline QString boxText(const QPlainTextEdit* box)
{
    return lineFeedForm(box->document()->toRawText());
}

} // namespace papyrant

#pragma once
// Rich text (RTF) for a page of results, so word processors open a saved page with the
// colours and bold runs the results box shows. Qt reads no RTF and writes none, hence
// this small writer.

#include "search/ColourMarks.h"

#include <QByteArray>
#include <QString>

namespace papyrant {

struct RtfFont {
    QString family = QStringLiteral("Arial");
    int pointSize = 10;
};

// The whole document: a font table with the one font, a colour table with every colour
// the marks use, and the text as runs of colour and weight. Line feeds become
// paragraphs; characters outside ASCII are written as \uN escapes (pairs of them beyond
// the basic plane), so the file is plain ASCII and reads the same in every code page.
QByteArray rtfDocument(const QString& text, const ColourMarks& marks, const RtfFont& font = {});

} // namespace papyrant

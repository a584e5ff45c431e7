#include "search/RtfWriter.h"

#include <algorithm>
#include <vector>

namespace papyrant {
namespace {

// Appends one character of text in RTF form.
void appendCharacter(QByteArray& out, char16_t unit)
{
    switch (unit) {
    case u'\\': out += "\\\\"; return;
    case u'{': out += "\\{"; return;
    case u'}': out += "\\}"; return;
    case u'\t': out += "\\tab "; return;
    case u'\n': out += "\\par\n"; return;
    default: break;
    }
    if (unit >= 0x20 && unit < 0x7F) {
        out += static_cast<char>(unit);
    } else if (unit < 0x20) {
        // Other control characters keep their code as a hex escape rather than vanish.
        out += "\\'";
        out += QByteArray::number(unit, 16).rightJustified(2, '0');
    } else {
        // \uN takes a signed 16-bit number. The "?" that readers without Unicode show
        // instead is written as the escape \'3f, which every reader skips as one
        // character; a bare "?" makes some readers drop the rest of the word.
        out += "\\u";
        out += QByteArray::number(static_cast<qint16>(unit));
        out += "\\'3f";
    }
}

void appendText(QByteArray& out, const QString& text)
{
    for (const QChar c : text)
        appendCharacter(out, c.unicode());
}

QByteArray colourEntry(quint32 rgb)
{
    return "\\red" + QByteArray::number((rgb >> 16) & 0xFF) + "\\green" + QByteArray::number((rgb >> 8) & 0xFF)
        + "\\blue" + QByteArray::number(rgb & 0xFF) + ';';
}

} // namespace

QByteArray rtfDocument(const QString& text, const ColourMarks& marks, const RtfFont& font)
{
    // Which mark decides each character: the last one that covers it, as when the marks
    // are applied to a text view one after the other. -1 is the view's default look.
    std::vector<int> owner(static_cast<size_t>(text.size()), -1);
    std::vector<quint32> colours; // colour table entries 1..n; 0 is the reader's default
    std::vector<int> colourOfMark(marks.size());
    for (size_t m = 0; m < marks.size(); ++m) {
        const ColourMark& mark = marks[m];
        const auto found = std::find(colours.begin(), colours.end(), mark.rgb);
        colourOfMark[m] = static_cast<int>(found - colours.begin()) + 1;
        if (found == colours.end())
            colours.push_back(mark.rgb);
        const int from = std::clamp(mark.start, 0, static_cast<int>(text.size()));
        const int to = std::clamp(mark.start + std::max(mark.length, 0), from, static_cast<int>(text.size()));
        std::fill(owner.begin() + from, owner.begin() + to, static_cast<int>(m));
    }

    QByteArray out;
    out.reserve(text.size() + text.size() / 4 + 256);
    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl{\\f0\\fnil\\fcharset0 ";
    appendText(out, font.family);
    out += ";}}\n{\\colortbl ;";
    for (const quint32 rgb : colours)
        out += colourEntry(rgb);
    out += "}\n\\viewkind4\\pard\\plain\\f0\\fs" + QByteArray::number(std::max(font.pointSize, 1) * 2) + ' ';

    int colour = 0;
    bool bold = false;
    const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int m = owner[static_cast<size_t>(i)];
        const int wantedColour = m < 0 ? 0 : colourOfMark[static_cast<size_t>(m)];
        const bool wantedBold = m >= 0 && marks[static_cast<size_t>(m)].bold;
        if (wantedColour != colour) {
            out += "\\cf" + QByteArray::number(wantedColour) + ' ';
            colour = wantedColour;
        }
        if (wantedBold != bold) {
            out += wantedBold ? "\\b " : "\\b0 ";
            bold = wantedBold;
        }
        // A carriage return before a line feed is part of the same line break; one on its
        // own breaks the line as well.
        if (units[i] == u'\r') {
            if (i + 1 < text.size() && units[i + 1] == u'\n')
                continue;
            appendCharacter(out, u'\n');
            continue;
        }
        appendCharacter(out, units[i]);
    }
    out += "}\n";
    return out;
}

} // namespace papyrant

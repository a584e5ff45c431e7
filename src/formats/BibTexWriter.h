#pragma once
// BibTeX for LaTeX, biber and the reference managers that read .bib files: one entry per
// record under a citation key unique in the file, text kept as UTF-8 with the characters
// TeX treats specially escaped, and the capitals of titles protected from the case
// changes bibliography styles make.

#include "formats/CitationKeys.h"
#include "formats/CitationWriter.h"

namespace papyrant {

// "article", "book", "incollection", "inproceedings", "phdthesis", "techreport" or "misc".
QString bibTexType(PublicationKind kind);

// Text as TeX reads it back: # $ % & _ { } escaped with a backslash, ~ ^ \ written as
// \textasciitilde{}, \textasciicircum{}, \textbackslash{}, and "--" as "-{}-" so it stays
// two hyphens instead of becoming a dash.
QString bibTexText(const QString& text);

// A title with every word that holds a capital in braces ("{Gene} therapy in {Crohn's}
// disease"), and a word that begins small where styles capitalise (first, or after ". ? !
// :") too ("{mRNA}"), so styles that recase titles leave those words as written.
QString bibTexTitle(const QString& title);

class BibTexWriter final : public CitationWriter {
protected:
    void entry(const CitationRecord& record, QString& out) override;

private:
    CitationKeys m_keys;
};

} // namespace papyrant

#pragma once
// CSL-JSON, what pandoc, Zotero and citation processors read: an array of objects, one a
// record on a line of its own, with the citation key of the BibTeX export as its id.

#include "formats/CitationKeys.h"
#include "formats/CitationWriter.h"

namespace papyrant {

// "article-journal", "book", "chapter", "paper-conference", "thesis", "report" or "document".
QString cslType(PublicationKind kind);

// The text as a JSON string, quotes included: " and \ escaped, control characters as
// \n, \t... or \u00XX, everything else as it is.
QString jsonString(QStringView text);

class CslJsonWriter final : public CitationWriter {
protected:
    QByteArray opening() override;
    void entry(const CitationRecord& record, QString& out) override;
    QByteArray closing() override;

private:
    CitationKeys m_keys;
};

} // namespace papyrant

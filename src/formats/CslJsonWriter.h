#pragma once
// CSL-JSON, what pandoc, Zotero and citation processors read: an array of objects, one a
// record, with the citation key of the BibTeX export as its id. Each record is made with
// Qt's JSON classes and written on a line of its own as soon as it is made.

#include "formats/CitationKeys.h"
#include "formats/CitationWriter.h"

#include <QJsonObject>

namespace papyrant {

// "article-journal", "book", "chapter", "paper-conference", "thesis", "report" or "document".
QString cslType(PublicationKind kind);

// The record's CSL item under the given id.
QJsonObject cslItem(const CitationRecord& record, const QString& id);

class CslJsonWriter final : public CitationWriter {
protected:
    QByteArray opening() override;
    QByteArray entry(const CitationRecord& record) override;
    QByteArray closing() override;

private:
    CitationKeys m_keys;
};

} // namespace papyrant

#pragma once
// RIS, the tagged format every reference manager reads: "TY  - " first and "ER  - " last,
// one tag a line, CR LF line ends, UTF-8 without a byte order mark, a blank line between
// records.

#include "formats/CitationWriter.h"

namespace papyrant {

// "JOUR", "BOOK", "CHAP", "CONF", "THES", "RPRT" or "GEN".
QString risType(PublicationKind kind);

class RisWriter final : public CitationWriter {
protected:
    void entry(const CitationRecord& record, QString& out) override;
};

} // namespace papyrant

#pragma once
// Text exports in the layout of PubMed's MEDLINE format, for timing extraction and the
// opening of large files: records of about 2 KB with several authors, a multi-line title
// and abstract, MeSH headings and the usual bookkeeping tags. Every twentieth record has
// no page tag, as records published ahead of print, and fails to cut with the ready-made
// MEDLINE label set.

#include "ExportWords.h"

#include <QString>

#include <cstdint>

namespace papyrant::bench {

class MedlineExportGenerator {
public:
    explicit MedlineExportGenerator(std::uint64_t seed = 20260504);

    // The export of `count` records, starting with a blank line as PubMed's does.
    QString make(int count);
    // How many of the first `count` records lack their page tag.
    static int recordsWithoutPages(int count) { return count / 20; }

private:
    QString record(int number);
    QString indented(const QString& text) const; // continuation lines of six blanks

    ExportWords m_words;
};

} // namespace papyrant::bench

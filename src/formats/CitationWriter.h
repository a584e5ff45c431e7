#pragma once
// The common shape of the citation writers: begin on a device, write records one at a
// time, finish. Each record is turned into its bytes and handed to the device at once,
// so an export of any length holds one record at a time (and, for keys, the keys given
// out), and a stepper can write as many records per tick as its budget allows.

#include "formats/CitationRecord.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringEncoder>

#include <memory>

namespace papyrant {

enum class CitationFormat { Ris, BibTex, CslJson };

// The save dialog's filter, in the prompts' "Description (*.ext)|*.ext" form, and the
// format of each of its entries (1 for the first, as the dialog counts).
inline const QString CitationFileFilter
    = QStringLiteral("RIS (*.ris)|*.ris|BibTeX (*.bib)|*.bib|CSL-JSON (*.json)|*.json");
CitationFormat citationFormat(int filterIndex);

class CitationWriter {
public:
    virtual ~CitationWriter() = default;

    // Starts a file on a device opened for writing. False when the device refuses the
    // bytes; its errorString says why.
    bool begin(QIODevice& device);
    // Writes one record. False when the device refuses the bytes.
    bool write(const RecordValues& record);
    // The same for a record read already (citationRecord).
    bool write(const CitationRecord& record);
    // Writes what closes the file. The device stays open: its owner commits or closes it.
    bool finish();

    int recordsWritten() const { return m_written; }

protected:
    // What comes before the first record, each record (appended to out, which is empty),
    // and what closes the file.
    virtual QByteArray opening() { return {}; }
    virtual void entry(const CitationRecord& record, QString& out) = 0;
    virtual QByteArray closing() { return {}; }

private:
    bool put(QByteArrayView bytes);

    QIODevice* m_device = nullptr;
    int m_written = 0;
    // The entry's text and its bytes: kept from record to record, so a record costs no
    // allocation of its own once they have room for the longest.
    QString m_text;
    QByteArray m_bytes;
    QStringEncoder m_utf8{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
};

std::unique_ptr<CitationWriter> makeCitationWriter(CitationFormat format);

// One record as a file of its own in the format, e.g. the BibTeX entry "Copy citation"
// puts on the clipboard.
QString citationText(CitationFormat format, const RecordValues& record);

} // namespace papyrant

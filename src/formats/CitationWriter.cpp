#include "formats/CitationWriter.h"

#include "formats/BibTexWriter.h"
#include "formats/CslJsonWriter.h"
#include "formats/RisWriter.h"

#include <QBuffer>

namespace papyrant {

CitationFormat citationFormat(int filterIndex)
{
    switch (filterIndex) {
    case 2: return CitationFormat::BibTex;
    case 3: return CitationFormat::CslJson;
    default: return CitationFormat::Ris;
    }
}

bool CitationWriter::put(QByteArrayView bytes)
{
    return bytes.isEmpty() || m_device->write(bytes.data(), bytes.size()) == bytes.size();
}

bool CitationWriter::begin(QIODevice& device)
{
    m_device = &device;
    m_written = 0;
    return put(opening());
}

bool CitationWriter::write(const RecordValues& record)
{
    return write(citationRecord(record));
}

bool CitationWriter::write(const CitationRecord& record)
{
    // truncate and resize keep the room the strings have.
    m_text.truncate(0);
    entry(record, m_text);
    m_bytes.resize(m_utf8.requiredSpace(m_text.size()));
    const char* end = m_utf8.appendToBuffer(m_bytes.data(), m_text);
    if (!put(QByteArrayView(m_bytes.constData(), end - m_bytes.constData())))
        return false;
    ++m_written;
    return true;
}

bool CitationWriter::finish()
{
    return put(closing());
}

std::unique_ptr<CitationWriter> makeCitationWriter(CitationFormat format)
{
    switch (format) {
    case CitationFormat::BibTex: return std::make_unique<BibTexWriter>();
    case CitationFormat::CslJson: return std::make_unique<CslJsonWriter>();
    case CitationFormat::Ris: break;
    }
    return std::make_unique<RisWriter>();
}

QString citationText(CitationFormat format, const RecordValues& record)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const std::unique_ptr<CitationWriter> writer = makeCitationWriter(format);
    writer->begin(buffer);
    writer->write(record);
    writer->finish();
    return QString::fromUtf8(buffer.data());
}

} // namespace papyrant

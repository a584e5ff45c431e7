#include "formats/CitationExport.h"

#include <QFileInfo>

#include <system_error>

namespace papyrant {

CitationExport::CitationExport(CitationFormat format, const QString& targetPath)
    : m_file(targetPath)
    , m_writer(makeCitationWriter(format))
{
}

CitationExport::~CitationExport()
{
    abandon();
}

std::optional<QString> CitationExport::fail()
{
    if (m_file.isOpen()) {
        // A buffered write that failed reports an unknown error; flushing again names the
        // reason (a full disk, a file too large).
        m_file.flush();
        m_failure = m_file.errorString();
        abandon();
    } else {
        m_failure = m_file.errorString();
    }
    return m_failure;
}

std::optional<QString> CitationExport::start()
{
    const QFileInfo existing(m_file.fileName());
    if (existing.isFile() && (!existing.isWritable() || !(existing.permissions() & QFile::WriteOwner))) {
        m_failure = QString::fromStdString(std::make_error_code(std::errc::permission_denied).message());
        return m_failure;
    }
    if (!m_file.open(QIODevice::WriteOnly) || !m_writer->begin(m_file))
        return fail();
    return std::nullopt;
}

bool CitationExport::write(const RecordValues& record)
{
    if (!m_file.isOpen())
        return false;
    if (m_writer->write(record))
        return true;
    fail();
    return false;
}

std::optional<QString> CitationExport::finish()
{
    if (!m_file.isOpen())
        return m_failure;
    if (!m_writer->finish() || !m_file.commit())
        return fail();
    return std::nullopt;
}

void CitationExport::abandon()
{
    if (!m_file.isOpen())
        return;
    // Cancelling only marks the file; the commit that follows removes the temporary file.
    m_file.cancelWriting();
    m_file.commit();
}

} // namespace papyrant

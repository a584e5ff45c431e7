#include "formats/CitationExport.h"

#include <QFileInfo>

#include <system_error>

#ifdef __linux__
#include <fcntl.h>
#endif

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
    return write(citationRecord(record));
}

bool CitationExport::write(const CitationRecord& record)
{
    if (!m_file.isOpen())
        return false;
    if (!m_writer->write(record)) {
        fail();
        return false;
    }
    startWriteBack();
    return true;
}

void CitationExport::startWriteBack()
{
    const qint64 written = m_file.pos();
    if (written - m_startedUpTo < WriteBackStep || !m_file.flush())
        return;
        // The bytes start on their way to the disk while the export goes on. Putting the file
        // in place waits until all of it is on the disk: that is then a few milliseconds
        // instead of a pause as long as writing the whole file.
#ifdef __linux__
    ::sync_file_range(m_file.handle(), m_startedUpTo, written - m_startedUpTo, SYNC_FILE_RANGE_WRITE);
#endif
    m_startedUpTo = written;
}

std::optional<QString> CitationExport::finish()
{
    if (!m_file.isOpen())
        return m_failure.isEmpty() ? m_file.errorString() : m_failure;
    // The last buffered bytes are written here and checked: QSaveFile's commit writes
    // them too, but takes a short write for success and would put a cut file in place.
    if (!m_writer->finish() || !m_file.flush() || !m_file.commit())
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

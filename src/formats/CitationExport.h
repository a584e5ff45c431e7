#pragma once
// Exporting records to a citation file: the records go to a temporary file beside the
// target, which takes the target's name only when the export is complete, so a failure
// (a full disk, a folder that cannot be written) leaves no file and no half file, and
// says why. Made for a stepper: start once, write a record at a time, finish once.

#include "formats/CitationWriter.h"

#include <QSaveFile>
#include <QString>

#include <memory>
#include <optional>

namespace papyrant {

class CitationExport {
public:
    CitationExport(CitationFormat format, const QString& targetPath);
    // An export neither finished nor failed leaves nothing behind.
    ~CitationExport();
    CitationExport(const CitationExport&) = delete;
    CitationExport& operator=(const CitationExport&) = delete;

    // Opens the temporary file and writes the file's opening. Nothing on success, else
    // the reason. A file marked read-only is never replaced, whoever runs the program.
    std::optional<QString> start();
    // Writes one record. False once writing has failed: failure() says why, and the
    // temporary file is gone.
    bool write(const RecordValues& record);
    // The same for a record read already (citationRecord).
    bool write(const CitationRecord& record);
    // Writes the closing and puts the file in place. Nothing on success, else the reason;
    // the target is then as it was before the export.
    std::optional<QString> finish();
    // Drops the temporary file (a cancelled export); the target stays as it was.
    void abandon();

    const QString& failure() const { return m_failure; }
    int recordsWritten() const { return m_writer->recordsWritten(); }

private:
    std::optional<QString> fail();
    void startWriteBack();

    static constexpr qint64 WriteBackStep = 4 << 20; // bytes: about two ticks of writing

    QSaveFile m_file;
    std::unique_ptr<CitationWriter> m_writer;
    QString m_failure;
    qint64 m_startedUpTo = 0; // bytes whose writing to the disk has been started
};

} // namespace papyrant

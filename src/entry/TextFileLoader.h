#pragma once
// Reading a text file as users have them: UTF-8 with or without a byte-order mark, UTF-16
// with or without one, UTF-32 with one, and Windows-1252 for the rest. A UTF-8 file with a
// few bytes that are not UTF-8 stays UTF-8, with U+FFFD for those bytes alone. Line breaks
// stay exactly as they are in the file, since extraction counts a CR LF pair as two
// characters.

#include <QByteArray>
#include <QString>

#include <stdexcept>

namespace papyrant {

// Larger files are refused: the view and the run hold the whole text in memory.
inline constexpr qint64 MaxTextFileBytes = 200LL * 1024 * 1024;

// A file that cannot be taken as text; what() is the line naming the reason.
class TextFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct LoadedText {
    QString text;
    QString encoding; // "UTF-8", "UTF-8 with BOM", "UTF-16LE", "UTF-16LE without BOM", ..., "Windows-1252"
    qsizetype unreadableBytes = 0; // bytes that were not UTF-8, each shown as U+FFFD
};

// The decoded text of a file's bytes. Throws TextFileError for binary content.
LoadedText decodeText(const QByteArray& bytes);

// Reads and decodes a file. Throws TextFileError when it is missing, unreadable, over
// 200 MB or binary.
LoadedText loadTextFile(const QString& path);

// "This file can't be opened." and the reason on the next line, as the open buttons say it.
QString fileOpenFailure(const QString& reason);

// What the open buttons add when some bytes could not be read; empty when all could.
QString unreadableBytesNote(const LoadedText& loaded);

} // namespace papyrant

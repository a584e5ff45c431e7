#include "entry/TextFileLoader.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace papyrant {
namespace {

const QString BinaryContent = QStringLiteral("It holds binary data, not text.");

// Windows-1252 bytes 0x80 to 0x9F; the five the code page leaves unassigned keep their
// C1 control code, as Windows itself maps them.
constexpr char16_t Windows1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6,
    0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013,
    0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = QChar(byte >= 0x80 && byte < 0xA0 ? Windows1252High[byte - 0x80] : char16_t(byte));
    }
    return text;
}

bool startsWith(const QByteArray& bytes, std::initializer_list<unsigned char> mark)
{
    if (bytes.size() < qsizetype(mark.size()))
        return false;
    return std::equal(mark.begin(), mark.end(), reinterpret_cast<const unsigned char*>(bytes.constData()));
}

// Text files hold few control characters besides tab, line breaks, form feed and the old
// end-of-file mark; pictures, archives and programs hold plenty. (A NUL anywhere is
// checked apart, on the bytes or the decoded text, whichever is at hand.)
bool looksBinary(QStringView text)
{
    const QStringView head = text.left(64 * 1024);
    qsizetype controls = 0;
    for (const QChar c : head) {
        const char16_t u = c.unicode();
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r' && u != '\f' && u != '\v' && u != 0x1A && u != 0x1B)
            ++controls;
    }
    return controls * 20 > head.size(); // more than 5 %
}

// Looks at the first bytes only: enough to tell the encoding, cheap on any file.
constexpr qsizetype HeadBytes = 64 * 1024;
// Files are decoded in pieces of this size, so their bytes never sit in memory whole.
constexpr qint64 PieceBytes = 1024 * 1024;

// How a file's bytes are to be read.
struct Decoding {
    QStringConverter::Encoding encoding = QStringConverter::Utf8;
    qsizetype markBytes = 0; // the byte-order mark, skipped
    QString name = QStringLiteral("UTF-8");
    bool plainBytes = true; // neither a mark nor UTF-16: UTF-8 or else Windows-1252
};

// UTF-16 without a mark: the file is pairs of bytes, and its (mostly ASCII) characters
// leave one byte of most pairs NUL and the other byte (almost) never.
std::optional<QStringConverter::Encoding> utf16WithoutMark(QByteArrayView head, qint64 fileSize)
{
    if (fileSize % 2 != 0)
        return std::nullopt;
    const qsizetype pairs = head.size() / 2;
    qsizetype evenZeros = 0, oddZeros = 0;
    for (qsizetype i = 0; i + 1 < head.size(); i += 2) {
        evenZeros += head[i] == 0;
        oddZeros += head[i + 1] == 0;
    }
    const auto oneSided = [pairs](qsizetype zeros, qsizetype others) {
        return pairs > 0 && zeros * 2 >= pairs && others * 100 <= pairs;
    };
    if (oneSided(oddZeros, evenZeros))
        return QStringConverter::Utf16LE;
    if (oneSided(evenZeros, oddZeros))
        return QStringConverter::Utf16BE;
    return std::nullopt;
}

Decoding chooseDecoding(const QByteArray& head, qint64 fileSize)
{
    using E = QStringConverter;
    if (startsWith(head, {0xEF, 0xBB, 0xBF}))
        return {E::Utf8, 3, QStringLiteral("UTF-8 with BOM"), false};
    if (startsWith(head, {0xFF, 0xFE, 0x00, 0x00}))
        return {E::Utf32LE, 4, QStringLiteral("UTF-32LE"), false};
    if (startsWith(head, {0x00, 0x00, 0xFE, 0xFF}))
        return {E::Utf32BE, 4, QStringLiteral("UTF-32BE"), false};
    if (startsWith(head, {0xFF, 0xFE}))
        return {E::Utf16LE, 2, QStringLiteral("UTF-16LE"), false};
    if (startsWith(head, {0xFE, 0xFF}))
        return {E::Utf16BE, 2, QStringLiteral("UTF-16BE"), false};
    if (const auto utf16 = utf16WithoutMark(QByteArrayView(head).first(std::min(head.size(), HeadBytes)), fileSize))
        return {*utf16, 0,
            *utf16 == E::Utf16LE ? QStringLiteral("UTF-16LE without BOM") : QStringLiteral("UTF-16BE without BOM"),
            false};
    return {};
}

// Length of the well-formed UTF-8 sequence at p (1 to 4), 0 when the byte there starts none.
int sequenceLength(const uchar* p, const uchar* end)
{
    const uchar lead = *p;
    if (lead < 0x80)
        return 1;
    int length = 0;
    uchar low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80; // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (end - p < length || p[1] < low || p[1] > high)
        return 0;
    for (int i = 2; i < length; ++i) {
        if (p[i] < 0x80 || p[i] > 0xBF)
            return 0;
    }
    return length;
}

struct Utf8Reading {
    QString text;
    qsizetype unreadable = 0; // bytes that start no well-formed sequence, each now U+FFFD
    qsizetype multiByte = 0; // well-formed sequences of two bytes or more
};

Utf8Reading readUtf8Leniently(QByteArrayView bytes)
{
    Utf8Reading reading;
    reading.text.reserve(bytes.size());
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    const auto* const end = p + bytes.size();
    const uchar* run = p; // start of the well-formed bytes not yet decoded
    const auto flush
        = [&](const uchar* upTo) { reading.text += QString::fromUtf8(reinterpret_cast<const char*>(run), upTo - run); };
    while (p < end) {
        const int length = sequenceLength(p, end);
        if (length == 0) {
            flush(p);
            reading.text += QChar::ReplacementCharacter;
            ++reading.unreadable;
            run = ++p;
        } else {
            reading.multiByte += length > 1;
            p += length;
        }
    }
    flush(end);
    return reading;
}

// The decoded text is refused when it holds what no text file holds.
LoadedText checked(LoadedText loaded)
{
    if (loaded.text.contains(QChar(0)) || looksBinary(loaded.text))
        throw TextFileError(BinaryContent.toStdString());
    return loaded;
}

// Bytes that are not all UTF-8: a UTF-8 text with a few stray bytes keeps its letters and
// loses only those bytes; a Windows-1252 text (its letters are never UTF-8 sequences) is
// read as Windows-1252. Whichever reading loses fewer characters wins.
LoadedText decodeFaultyUtf8(QByteArrayView bytes, const Decoding& decoding)
{
    Utf8Reading reading = readUtf8Leniently(bytes);
    if (!decoding.plainBytes || reading.multiByte > reading.unreadable)
        return {std::move(reading.text), decoding.name, reading.unreadable};
    return {fromWindows1252(bytes), QStringLiteral("Windows-1252")};
}

LoadedText decodeAll(const QByteArray& bytes, const Decoding& decoding)
{
    const QByteArrayView text = QByteArrayView(bytes).sliced(decoding.markBytes);
    QStringDecoder decoder(decoding.encoding, QStringConverter::Flag::Stateless);
    QString decoded = decoder.decode(text);
    if (!decoder.hasError())
        return checked({std::move(decoded), decoding.name});
    if (decoding.encoding != QStringConverter::Utf8)
        throw TextFileError(BinaryContent.toStdString());
    decoded.clear();
    return checked(decodeFaultyUtf8(text, decoding));
}

// A decoder that can tell whether the input ended inside a character.
class PieceDecoder : public QStringDecoder {
public:
    using QStringDecoder::QStringDecoder;
    bool insideCharacter() const { return state.remainingChars != 0; }
};

// Decodes the file piece by piece into one buffer; nothing when the bytes are not all of
// the encoding (the caller then reads them whole).
std::optional<QString> decodeInPieces(QFile& file, const Decoding& decoding)
{
    if (!file.seek(decoding.markBytes))
        throw TextFileError(file.errorString().toStdString());
    PieceDecoder decoder(decoding.encoding);
    QString text(decoder.requiredSpace(file.size()), Qt::Uninitialized);
    QChar* out = text.data();
    QByteArray piece(PieceBytes, Qt::Uninitialized);
    for (;;) {
        const qint64 read = file.read(piece.data(), PieceBytes);
        if (read < 0)
            throw TextFileError(file.errorString().toStdString());
        if (read == 0)
            break;
        out = decoder.appendToBuffer(out, QByteArrayView(piece.constData(), read));
        if (decoder.hasError())
            return std::nullopt;
    }
    if (decoder.insideCharacter())
        return std::nullopt;
    text.truncate(out - text.constData());
    if (text.size() < text.capacity() * 3 / 4)
        text.squeeze(); // many characters of several bytes: give back what they did not use
    return text;
}

} // namespace

LoadedText decodeText(const QByteArray& bytes)
{
    return decodeAll(bytes, chooseDecoding(bytes.first(std::min(bytes.size(), HeadBytes)), bytes.size()));
}

LoadedText loadTextFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TextFileError(file.errorString().toStdString());
    if (file.size() > MaxTextFileBytes)
        throw TextFileError("It is larger than 200 MB.");
    const Decoding decoding = chooseDecoding(file.peek(HeadBytes), file.size());
    if (auto text = decodeInPieces(file, decoding))
        return checked({std::move(*text), decoding.name});
    // Some bytes are not of the encoding: rare enough to read them whole and decide.
    if (!file.seek(0))
        throw TextFileError(file.errorString().toStdString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw TextFileError(file.errorString().toStdString());
    return decodeAll(bytes, decoding);
}

QString fileOpenFailure(const QString& reason)
{
    return QStringLiteral("This file can't be opened.") + QLatin1Char('\n') + reason;
}

QString unreadableBytesNote(const LoadedText& loaded)
{
    if (loaded.unreadableBytes == 0)
        return {};
    const QString bytes = loaded.unreadableBytes == 1
        ? QStringLiteral("1 byte of this file is")
        : QStringLiteral("%1 bytes of this file are").arg(loaded.unreadableBytes);
    return bytes + QStringLiteral(" not UTF-8 and could not be read.") + QLatin1Char('\n')
        + QStringLiteral("Each shows as \uFFFD in the text; the rest of the file is read as it is.");
}

} // namespace papyrant

#include "entry/TextFileLoader.h"

#include <QFile>
#include <QStringDecoder>

#include <cstring>

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

LoadedText decodeWith(QStringConverter::Encoding encoding, QByteArrayView bytes, const QString& name)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || text.contains(QChar(0)) || looksBinary(text))
        throw TextFileError(BinaryContent.toStdString());
    return {std::move(text), name};
}

} // namespace

LoadedText decodeText(const QByteArray& bytes)
{
    const QByteArrayView all(bytes);
    if (startsWith(bytes, {0xEF, 0xBB, 0xBF}))
        return decodeWith(QStringConverter::Utf8, all.sliced(3), QStringLiteral("UTF-8 with BOM"));
    if (startsWith(bytes, {0xFF, 0xFE, 0x00, 0x00}))
        return decodeWith(QStringConverter::Utf32LE, all.sliced(4), QStringLiteral("UTF-32LE"));
    if (startsWith(bytes, {0x00, 0x00, 0xFE, 0xFF}))
        return decodeWith(QStringConverter::Utf32BE, all.sliced(4), QStringLiteral("UTF-32BE"));
    if (startsWith(bytes, {0xFF, 0xFE}))
        return decodeWith(QStringConverter::Utf16LE, all.sliced(2), QStringLiteral("UTF-16LE"));
    if (startsWith(bytes, {0xFE, 0xFF}))
        return decodeWith(QStringConverter::Utf16BE, all.sliced(2), QStringLiteral("UTF-16BE"));
    if (std::memchr(bytes.constData(), 0, bytes.size()))
        throw TextFileError(BinaryContent.toStdString());
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(all);
    LoadedText loaded = utf8.hasError() ? LoadedText{fromWindows1252(all), QStringLiteral("Windows-1252")}
                                        : LoadedText{std::move(text), QStringLiteral("UTF-8")};
    if (looksBinary(loaded.text))
        throw TextFileError(BinaryContent.toStdString());
    return loaded;
}

LoadedText loadTextFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TextFileError(file.errorString().toStdString());
    if (file.size() > MaxTextFileBytes)
        throw TextFileError("It is larger than 200 MB.");
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw TextFileError(file.errorString().toStdString());
    return decodeText(bytes);
}

QString fileOpenFailure(const QString& reason)
{
    return QStringLiteral("This file can't be opened.") + QLatin1Char('\n') + reason;
}

} // namespace papyrant

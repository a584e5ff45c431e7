// The text of the entry screens: files decoded as users have them, and the find and
// selection rules over the file's exact characters, and the view's index of lines.

#include "entry/LineIndex.h"
#include "entry/TextFileLoader.h"
#include "entry/TextModel.h"
#include "support/TableRows.h"
#include "support/TestFolders.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace papyrant;
using namespace papyrant::test;

class EntryTextTest : public QObject {
    Q_OBJECT
private slots:
    void decodesFilesAsUsersHaveThem_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<int>("unreadable");
        const QString sample = QStringLiteral("Café “Ölfeld” €\r\nZeile 2\n");
        row("UTF-8", sample.toUtf8(), sample, "UTF-8", 0);
        row("UTF-8 with BOM", "\xEF\xBB\xBF" + sample.toUtf8(), sample, "UTF-8 with BOM", 0);
        QByteArray le, be;
        for (const QChar c : sample) {
            le += char(c.unicode() & 0xFF) + QByteArray(1, char(c.unicode() >> 8));
            be += QByteArray(1, char(c.unicode() >> 8)) + char(c.unicode() & 0xFF);
        }
        row("UTF-16LE", "\xFF\xFE" + le, sample, "UTF-16LE", 0);
        row("UTF-16BE", "\xFE\xFF" + be, sample, "UTF-16BE", 0);
        row("UTF-16LE without BOM", le, sample, "UTF-16LE without BOM", 0);
        row("UTF-16BE without BOM", be, sample, "UTF-16BE without BOM", 0);
        row("Windows-1252", QByteArray("Caf\xE9 \x93\xD6lfeld\x94 \x80\r\nZeile 2\n"), sample, "Windows-1252", 0);
        // A stray byte, a lone lead byte and a sequence cut short: those bytes alone are lost.
        const QString lost = QStringLiteral("\uFFFD");
        row("UTF-8 with bytes that are not UTF-8", sample.toUtf8() + "M\xFFller, \xC3(\xE2\x82x) " + sample.toUtf8(),
            sample + "M" + lost + "ller, " + lost + "(" + lost + lost + "x) " + sample, "UTF-8", 4);
        row("UTF-8 with BOM and a stray byte", "\xEF\xBB\xBF\xFF" + sample.toUtf8(), lost + sample, "UTF-8 with BOM",
            1);
        row("Windows-1252 holding one UTF-8 pair", QByteArray("Caf\xE9 \xC3\xA9t\xE9"), QStringLiteral("Café Ã©té"),
            "Windows-1252", 0);
        row("Windows-1252 ending in a lead byte", QByteArray("abc\xC3"), QStringLiteral("abcÃ"), "Windows-1252", 0);
    }
    void decodesFilesAsUsersHaveThem()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(QString, encoding);
        QFETCH(int, unreadable);
        const LoadedText decoded = decodeText(bytes);
        QCOMPARE(decoded.text, text); // line breaks exactly as in the file
        QCOMPARE(decoded.encoding, encoding);
        QCOMPARE(decoded.unreadableBytes, unreadable);
        // Read from a file (in pieces), the same.
        QTemporaryDir dir;
        const LoadedText loaded = loadTextFile(writeFileBytes(dir.filePath(QStringLiteral("export.txt")), bytes));
        QCOMPARE(loaded.text, text);
        QCOMPARE(loaded.encoding, encoding);
        QCOMPARE(loaded.unreadableBytes, unreadable);
    }

    void piecesJoinInsideCharacters()
    {
        // Characters of two and three bytes and a UTF-16 surrogate pair across the 1 MB pieces.
        for (const QString& tail : {QStringLiteral("é€ b"), QStringLiteral("€é"), QStringLiteral("\U0001F600 x")}) {
            for (const bool utf16 : {false, true}) {
                const qsizetype before = utf16 ? 512 * 1024 - 1 : 1024 * 1024 - 1; // characters before the cut
                const QString text = QString(before, QLatin1Char('a')) + tail;
                const QByteArray bytes = utf16
                    ? QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2)
                    : text.toUtf8();
                QTemporaryDir dir;
                const LoadedText loaded = loadTextFile(writeFileBytes(dir.filePath(QStringLiteral("big.txt")), bytes));
                QVERIFY(loaded.text == text);
                QCOMPARE(loaded.unreadableBytes, 0);
            }
        }
    }

    void saysHowManyBytesWereLost()
    {
        QCOMPARE(unreadableBytesNote(LoadedText{}), QString());
        QCOMPARE(unreadableBytesNote(LoadedText{{}, {}, 3}),
            QStringLiteral("3 bytes of this file are not UTF-8 and could not be read.\nEach shows as \uFFFD in the "
                           "text; the rest of the file is read as it is."));
        QCOMPARE(unreadableBytesNote(LoadedText{{}, {}, 1}).section(QLatin1Char('\n'), 0, 0),
            QStringLiteral("1 byte of this file is not UTF-8 and could not be read."));
    }

    void refusesWhatIsNoText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("message");
        const QString binary = QStringLiteral("This file can't be opened.\nIt holds binary data, not text.");
        row("picture", QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), qint64(0), binary);
        row("control characters", QByteArray(200, '\x02') + "text", qint64(0), binary);
        row("UTF-16 holding NUL", QByteArray("\xFF\xFEh\0\0\0", 6), qint64(0), binary);
        row("NUL in every other byte, but an odd size", QByteArray("\xC2\x89PNG\0\0", 7), qint64(0), binary);
        row("over 200 MB", QByteArray(), MaxTextFileBytes + 1,
            QStringLiteral("This file can't be opened.\nIt is larger than 200 MB."));
    }
    void refusesWhatIsNoText()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, size);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("export.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        if (size > 0)
            QVERIFY(file.resize(size)); // sparse: nothing is read before the size check
        file.close();
        QCOMPARE(fileOpenFailure(thrownText<TextFileError>([&] { loadTextFile(file.fileName()); })), message);
    }

    void findFollowsTheViewsRules()
    {
        TextModel text(QStringLiteral("TI: a\r\nTI: b\r\n"));
        QVERIFY(text.find(u"TI: ", 1));
        QCOMPARE(text.selStart(), 7); // CR LF counts two
        QCOMPARE(text.selLength(), 4);
        // Not found: the selection stays exactly as it was.
        QVERIFY(!text.find(u"AU: ", 0));
        QCOMPARE(text.selStart(), 7);
        QCOMPARE(text.selLength(), 4);
        // The match must lie entirely before the bound.
        QVERIFY(!text.find(u"TI: b", 0, 11));
        QVERIFY(text.find(u"TI: b", 0, 12));
        QVERIFY(!text.find(u"ti: ", 0)); // letter case counts
        text.setSelStart(3);
        QCOMPARE(text.selLength(), 0);
        text.setSelLength(100);
        QCOMPARE(text.selectedText(), QStringLiteral(" a\r\nTI: b\r\n"));
    }

    // The index mended after an edit equals the index made afresh, whatever the edit
    // does to line breaks, CR LF pairs and lines long enough to be cut in pieces.
    void lineIndexFollowsRandomEdits()
    {
        QRandomGenerator random(20261207);
        const QString pieces[] = {"\r", "\n", "\r\n", "ab", QString(LongestLine / 3, QLatin1Char('y'))};
        QString text;
        std::vector<qsizetype> starts = indexLineStarts(text);
        for (int edit = 0; edit < 400; ++edit) {
            const qsizetype start = random.bounded(int(text.size()) + 1);
            const qsizetype removed = random.bounded(int(std::min<qsizetype>(text.size() - start, 6000)) + 1);
            QString inserted;
            for (int k = random.bounded(4); k > 0; --k)
                inserted += pieces[random.bounded(5)];
            text.replace(start, removed, inserted);
            reindexLineStarts(starts, text, start, removed, inserted.size());
            QCOMPARE(starts, indexLineStarts(text));
        }
    }
};

QTEST_GUILESS_MAIN(EntryTextTest)
#include "tst_EntryText.moc"

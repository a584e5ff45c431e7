// The text of the entry screens: files decoded as users have them, the find and selection
// rules over the file's exact characters, and the view positions where CR LF is one break.

#include "entry/TextFileLoader.h"
#include "entry/TextModel.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace papyrant;

class EntryTextTest : public QObject {
    Q_OBJECT
private slots:
    void decodesFilesAsUsersHaveThem_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("encoding");
        const QString sample = QStringLiteral("Café “Ölfeld” €\r\nZeile 2\n");
        QTest::newRow("UTF-8") << sample.toUtf8() << sample << "UTF-8";
        QTest::newRow("UTF-8 with BOM") << "\xEF\xBB\xBF" + sample.toUtf8() << sample << "UTF-8 with BOM";
        QByteArray le("\xFF\xFE", 2), be("\xFE\xFF", 2);
        for (const QChar c : sample) {
            le += char(c.unicode() & 0xFF) + QByteArray(1, char(c.unicode() >> 8));
            be += QByteArray(1, char(c.unicode() >> 8)) + char(c.unicode() & 0xFF);
        }
        QTest::newRow("UTF-16LE") << le << sample << "UTF-16LE";
        QTest::newRow("UTF-16BE") << be << sample << "UTF-16BE";
        QTest::newRow("Windows-1252") << QByteArray("Caf\xE9 \x93\xD6lfeld\x94 \x80\r\nZeile 2\n") << sample
                                      << "Windows-1252";
    }
    void decodesFilesAsUsersHaveThem()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(QString, encoding);
        const LoadedText loaded = decodeText(bytes);
        QCOMPARE(loaded.text, text); // line breaks exactly as in the file
        QCOMPARE(loaded.encoding, encoding);
    }

    void refusesWhatIsNoText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("message");
        const QString binary = QStringLiteral("This file can't be opened.\nIt holds binary data, not text.");
        QTest::newRow("picture") << QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) << qint64(0) << binary;
        QTest::newRow("control characters") << QByteArray(200, '\x02') + "text" << qint64(0) << binary;
        QTest::newRow("UTF-16 holding NUL") << QByteArray("\xFF\xFEh\0\0\0", 6) << qint64(0) << binary;
        QTest::newRow("over 200 MB") << QByteArray() << MaxTextFileBytes + 1
                                     << QStringLiteral("This file can't be opened.\nIt is larger than 200 MB.");
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
        try {
            loadTextFile(file.fileName());
            QFAIL("the file was taken as text");
        } catch (const TextFileError& e) {
            QCOMPARE(fileOpenFailure(QString::fromStdString(e.what())), message);
        }
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

    void viewPositionsLeaveOutTheCrOfAPair()
    {
        const TextModel text(QStringLiteral("ab\r\ncd\ref\r\n"));
        QCOMPARE(text.viewLength(), 9); // two pairs shown as one break each; the lone CR stays
        const QList<int> model{0, 1, 2, 4, 5, 6, 7, 8, 9, 11};
        for (int view = 0; view <= 9; ++view)
            QCOMPARE(text.toModel(view), model[view]);
        QCOMPARE(text.toView(3), 2); // the CR of a pair sits where its LF shows
        QCOMPARE(text.toView(4), 3);
        QCOMPARE(text.viewRangeText(1, 4), QStringLiteral("b\r\nc"));
    }

    void editsInTheViewKeepTheFilesLineBreaks_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("removed");
        QTest::addColumn<QString>("inserted");
        QTest::addColumn<QString>("text");
        QTest::newRow("typing") << 1 << 0 << "X"
                                << "aXb\r\nc\r\nd";
        QTest::newRow("deleting a break takes the pair") << 2 << 1 << ""
                                                         << "abc\r\nd";
        QTest::newRow("a new break is a line feed") << 4 << 0 << "\n"
                                                    << "ab\r\nc\n\r\nd";
        QTest::newRow("colouring changes nothing") << 0 << 6 << "ab\nc\nd"
                                                   << "ab\r\nc\r\nd";
        QTest::newRow("replacing across a break") << 1 << 3 << "Z"
                                                  << "aZ\r\nd";
        QTest::newRow("counts past the end") << 5 << 9 << "d"
                                             << "ab\r\nc\r\nd";
    }
    void editsInTheViewKeepTheFilesLineBreaks()
    {
        QFETCH(int, position);
        QFETCH(int, removed);
        QFETCH(QString, inserted);
        QFETCH(QString, text);
        TextModel model(QStringLiteral("ab\r\nc\r\nd"));
        model.applyViewEdit(position, removed, inserted);
        QCOMPARE(model.text(), text);
    }
};

QTEST_GUILESS_MAIN(EntryTextTest)
#include "tst_EntryText.moc"

// The text of the entry screens (files decoded as users have them, the find and selection
// rules over the file's exact characters, the view's index of lines) and the extraction run
// over a real bibliography: the cutting rules and their quirks, the holders, the end of a
// run, store errors, a run killed half way, and the ready-made label sets on export files in the formats' public
// layouts.

// And label sets in the labels file: the dialogues of save, delete and rename with their
// exact words, names holding a quote, and a file that is missing, damaged, locked or no
// longer holds the set: the user is told and the file stays as it was.
#include "core/Database.h"
#include "core/RecordModel.h"
#include "core/RecordSet.h"
#include "entry/ExtractionRun.h"
#include "entry/LabelSets.h"
#include "entry/LineIndex.h"
#include "entry/ManualEntry.h"
#include "entry/TagMapSource.h"
#include "entry/TextFileLoader.h"
#include "entry/TextModel.h"
#include "formats/FormatDetection.h"
#include "formats/ReadyTagMaps.h"
#include "support/FixedClock.h"
#include "support/ScriptedPrompts.h"
#include "support/TableRows.h"
#include "support/TestFolders.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QProcess>
#include <QTest>
#include <QThread>

#include <cstdio>
#include <optional>

using namespace papyrant;
using namespace papyrant::test;
using namespace Qt::StringLiterals;

namespace {
// The layout of the cutting cases: <T>title</T> <A>authors</A> <Y>year</Y>.
ExtractionSetup tagSetup(const QString& authorsStart = QStringLiteral("<A>"))
{
    ExtractionSetup setup;
    setup.startLabels = {QStringLiteral("<T>"), authorsStart, {}, {}, QStringLiteral("<Y>")};
    setup.endLabels = {QStringLiteral("</T>"), QStringLiteral("</A>"), {}, {}, QStringLiteral("</Y>")};
    return setup;
}

QString record(const QString& title, const QString& authors = QStringLiteral("Ann"))
{
    return QStringLiteral("<T>%1</T>\n<A>%2</A>\n<Y>2001</Y>\n").arg(title, authors);
}

struct Outcome {
    std::vector<QStringList> rows; // Title, Authors, Publishing_year, TitelS
    ExtractionState state;
    QString endMessage;
};

const QString Columns = QStringLiteral("SELECT Title, Authors, Publishing_year, TitelS FROM Abstracts ORDER BY rowid");

// Runs one record per tick, as slow ticks would: cut by the setup's labels, or read by a
// tag map when one is given.
Outcome extract(const TestProgramFolder& folder, const QString& text, const ExtractionSetup& setup, qsizetype from = 0,
    const QString& columns = Columns, const TagMap* map = nullptr)
{
    const QString bibliography = folder.makeBibliography(QStringLiteral("run.pyr"));
    Outcome outcome;
    {
        Database db(bibliography);
        RecordSet table(db, QStringLiteral("Abstracts"));
        TextModel model(text);
        model.setSelStart(from);
        ExtractionRun run(model, db, table);
        if (map)
            run.start(std::make_unique<TagMapSource>(text, detectTaggedFormat(text).format, *map), setup.category);
        else if (run.start(setup))
            return outcome;
        runToEnd(run, std::chrono::milliseconds(0));
        run.finish();
        outcome.state = run.state();
        outcome.endMessage = run.anyFailed() ? run.failedRecordsQuestion() : run.successMessage();
    }
    outcome.rows = readRows(bibliography, columns);
    return outcome;
}

Labels labels(const QString& stem)
{
    Labels texts;
    for (int i = 0; i < LabelFieldCount; ++i)
        texts[i] = i % 3 == 2 ? QString() : u"%1%2 "_s.arg(stem).arg(i);
    texts[0] = u'\n' + stem + u"  - "_s;
    return texts;
}

// The child of killedRunKeepsFinishedTicks: extracts slowly, reporting each committed tick.
int extractSlowly(const QString& bibliography, int records)
{
    QString text;
    for (int i = 1; i <= records; ++i)
        text += record(QStringLiteral("T%1").arg(i));
    Database db(bibliography);
    RecordSet table(db, QStringLiteral("Abstracts"));
    TextModel model(text);
    ExtractionRun run(model, db, table, std::chrono::milliseconds(0)); // every tick commits
    run.start(tagSetup());
    while (run.step(TickBudget(std::chrono::milliseconds(0))).ongoing()) {
        std::printf("tick %d\n", run.state().RecordCounter);
        std::fflush(stdout);
        QThread::msleep(40);
    }
    return 0;
}

} // namespace

class ExtractionRunTest : public QObject {
    Q_OBJECT
private:
    FixedClock m_day{QDate(2026, 5, 4)};

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    QString m_path;

    LabelSetStore store() { return LabelSetStore(*m_prompts, m_path); }
    QStringList names() { return *store().names(); }
    void saveAs(const QString& name, const QString& stem)
    {
        m_prompts->answerInput(name);
        QCOMPARE(store().save(labels(stem), labels(stem + u'e')).result, LabelChange::Done);
    }
    void expectNotice(const QString& text)
    {
        QCOMPARE(describe(m_prompts->asked().back()), "Papyrant|" + text + "|Ok/None/Ok");
    }

private slots:
    void cutsRecordsByTheirLabels_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("authorsStart");
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("stored"); // title/authors/year of each row
        QTest::addColumn<QString>("failed");
        const QString three = record("Alpha") + record("Beta") + record("Gamma");
        const QString storedThree = QStringLiteral("Alpha/Ann/2001|Beta/Ann/2001|Gamma/Ann/2001");
        row("three records", three, "<A>", 0, storedThree, "");
        row("one record to the end", record("Alpha") + "trailer </A>", "<A>", 0, u"Alpha/Ann/2001"_s, "");
        row("header ignored", u"Export of 3 records <A>x</A>\n"_s + three, "<A>", 0, storedThree, "");
        row("record 2 lacks an end label", record("Alpha") + "<T>Beta</T>\n<A>Ann\n<Y>2001</Y>\n" + record("Gamma"),
            "<A>", 0, u"Alpha/Ann/2001|Gamma/Ann/2001"_s, "  2");
        row("end label before start label", record("Alpha") + "<T>Beta</T></A>\n<A>Ann\n<Y>2001</Y>\n", "<A>", 0,
            u"Alpha/Ann/2001"_s, "  2");
        // A label in other letters is missing: the value runs from the previous field's end.
        row("letter case counts", record("Alpha"), "<a>", 0, u"Alpha/</T>\n<A>Ann/2001"_s, "");
        row("missing start label", u"<T>Alpha</T>\nAnn</A>\n<Y>2001</Y>\n"_s, "<A>", 0, u"Alpha/</T>\nAnn/2001"_s, "");
        row("missing start label after the end label", u"<T>Alpha</A>x</T>\n<Y>2001</Y>\n"_s, "<A>", 0, u""_s, "  1");
        row("no first label: one record from the start", u"Alpha</T>\n<A>Ann</A>\n<Y>2001</Y>\n"_s, "<A>", 0,
            u"Alpha/Ann/2001"_s, "");
        row("no first label: from the selection", u"Alpha</T>\n<A>Ann</A>\n<Y>2001</Y>\n"_s, "<A>", 2,
            u"pha/Ann/2001"_s, "");
        // An empty value between its labels is no record; a blank one is the empty-field mark.
        row("record 2 has an empty field", record("Alpha") + "<T>Beta</T>\n<A></A>\n<Y>2001</Y>\n" + record("Gamma"),
            "<A>", 0, u"Alpha/Ann/2001|Gamma/Ann/2001"_s, "  2");
        // The next record begins at least one character after this one's first label.
        row("first label doubled", u"<T><T>Alpha</T>\n<A>Ann</A>\n<Y>2001</Y>\n"_s, "<A>", 0, u"<T>Alpha/Ann/2001"_s,
            "");
        row("values cleaned", u"<T>  Alpha\r\n</T><A>\r\n\n</A><Y>\t2001 </Y>"_s, "<A>", 0,
            u"Alpha/XX_EmptyField_XX/\t2001"_s, "");
    }
    void cutsRecordsByTheirLabels()
    {
        QFETCH(QString, text);
        QFETCH(QString, authorsStart);
        QFETCH(int, from);
        QFETCH(QString, stored);
        QFETCH(QString, failed);
        const Outcome outcome = extract(*m_folder, text, tagSetup(authorsStart), from);
        QStringList rows;
        for (const QStringList& row : outcome.rows) {
            QCOMPARE(row[3], row[0]); // the sort key follows the title
            rows << row.mid(0, 3).join(QLatin1Char('/'));
        }
        QCOMPARE(rows.join(QLatin1Char('|')), stored);
        QCOMPARE(outcome.state.FailedNumbers, failed);
    }

    // Manual adding takes a record when a field up to the abstract holds more than blanks;
    // a comment or an entry date alone is no record.
    void manualRecordNeedsAFieldUpToTheAbstract_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("taken");
        row("nothing", int(Title), u""_s, false);
        row("blanks and line breaks", int(Title), u" \r\n \n"_s, false);
        row("a title", int(Title), u"T"_s, true);
        row("an abstract only", int(Abstract), u"Text"_s, true);
        row("a comment only", int(Personal), u"Mine"_s, false);
        row("an entry date only", int(Entry_Date), u"3/9/2026"_s, false);
    }
    void manualRecordNeedsAFieldUpToTheAbstract()
    {
        QFETCH(int, box);
        QFETCH(QString, text);
        EntryBoxes boxes;
        boxes[box] = text;
        QTEST(hasRecordData(boxes), "taken");
    }

    void endsWithTheCountOrTheFailedRecords()
    {
        const QString second = QStringLiteral("<T>Beta</T>\n<A>Ann\n<Y>2001</Y>\n");
        const Outcome failed = extract(*m_folder, record("Alpha") + second + record("Gamma"), tagSetup());
        QCOMPARE(failed.state.FailedTexts, second); // from its first label up to the next record's
        QCOMPARE(failed.endMessage,
            QStringLiteral("The following record/s couldn't be extracted\nRecords:   2\nThey may contain miss text\n"
                           "Do you want to use manual adding to add these records?"));
        const Outcome clean = extract(*m_folder, record("Alpha") + record("Beta") + record("Gamma"), tagSetup());
        QCOMPARE(clean.state.RecordCounter, 4); // the last tick finds no record
        QCOMPARE(clean.endMessage, QStringLiteral("3 records were added successfully"));
    }

    void tagMapStoresWhatEachRecordHolds()
    {
        // A record without title, small tags, a record without its end line, a 10 MB value,
        // and a file that ends in the middle of a value.
        const QString untitled = u"TY  - JOUR\nAU  - Untitled\nER  -\n"_s;
        const QString text = u"TY  - JOUR\nTI  - First\nAU  - Ann\nER  - \n\n"_s + untitled
            + u"ty  - JOUR\nti  - Small tags\nau  - Cy\n"_s + u"TY  - JOUR\nTI  - Long\nAB  - "_s
            + QString(10'000'000, u'x') + u"\nER  - \n"_s
            + u"TY  - JOUR\nTI  - Cut short\nAU  - Dee\nAB  - The file ends in the mid"_s;
        const Outcome outcome = extract(*m_folder, text, {{}, {}, 0, u"Soil"_s}, 0,
            u"SELECT Title, Authors, length(Abstract), substr(Abstract, 1, 12), Category FROM Abstracts ORDER BY rowid"_s,
            readyTagMap(TaggedFormat::Ris));
        QStringList rows;
        for (const QStringList& row : outcome.rows)
            rows << row.join(u'|');
        QCOMPARE(rows,
            (QStringList{u"First|Ann|16|XX_EmptyFiel|Soil"_s, u"Small tags|Cy|16|XX_EmptyFiel|Soil"_s,
                u"Long|XX_EmptyField_XX|10000000|xxxxxxxxxxxx|Soil"_s, u"Cut short|Dee|24|The file end|Soil"_s}));
        QCOMPARE(outcome.state.FailedTexts, untitled); // its own lines, none of the next record's
        QCOMPARE(outcome.endMessage,
            u"The following record/s couldn't be extracted\nRecords:   2\nThey may contain miss text\n"
            "Do you want to use manual adding to add these records?"_s);
    }

    void holdersCutAndFillTheRest()
    {
        ExtractionSetup setup = tagSetup();
        setup.category = QString(60, u'c');
        const QString title = QString(299, u't') + u'!';
        const Outcome outcome = extract(*m_folder, u"<T>%1</T><A>Ann</A><Y> %2</Y>"_s.arg(title, QString(149, u'9')),
            setup, 0,
            u"SELECT Title, TitelS, Publishing_year, Category, Personal, Entry_Date, Author_address FROM Abstracts"_s);
        // The year is cut to 100, then cleaned; there are no labels for the address.
        QCOMPARE(outcome.rows,
            (std::vector<QStringList>{{title, title.left(250), QString(99, u'9'), QString(50, u'c'), EmptyFieldMarker,
                shortDateText(QDate(2026, 5, 4)), EmptyFieldMarker}}));
    }

    void refusesAFirstFieldWithoutLabels()
    {
        TextModel model(record("Alpha"));
        const QString bibliography = m_folder->makeBibliography(QStringLiteral("refused.pyr"));
        Database db(bibliography);
        RecordSet table(db, QStringLiteral("Abstracts"));
        ExtractionRun run(model, db, table);
        ExtractionSetup setup = tagSetup();
        setup.firstField = 4;
        setup.startLabels[4].clear();
        auto refusal = run.start(setup);
        QVERIFY(refusal);
        QCOMPARE(refusal->message, QStringLiteral("Please set the word which exist before first record"));
        QCOMPARE(refusal->field, 4);
        QVERIFY(!refusal->endLabel);
        setup.firstField = 1;
        setup.endLabels[1].clear();
        refusal = run.start(setup);
        QCOMPARE(refusal->message, QStringLiteral("Please set the word which exist after first record"));
        QVERIFY(refusal->endLabel);
    }

    void storeErrorKeepsFinishedRecords()
    {
        const QString bibliography = m_folder->makeBibliography(QStringLiteral("locked.pyr"));
        Database db(bibliography);
        db.setBusyTimeout(0);
        RecordSet table(db, QStringLiteral("Abstracts"));
        TextModel model(record("Alpha") + record("Beta") + record("Gamma"));
        ExtractionRun run(model, db, table, std::chrono::milliseconds(0)); // every tick commits
        run.start(tagSetup());
        QCOMPARE(run.step(TickBudget(std::chrono::milliseconds(0))), StepOutcome::more());
        OtherConnection other(bibliography, "BEGIN EXCLUSIVE");
        QCOMPARE(run.step(TickBudget(std::chrono::milliseconds(0))), StepOutcome::failed("database is locked"));
        other.close();
        QCOMPARE(readLines(bibliography, "SELECT Title FROM Abstracts"), QStringList{"Alpha"});
    }

    // A crash in the middle of a batch: what the finished ticks committed stays, whole,
    // and the file is sound.
    void killedRunKeepsFinishedTicks()
    {
        const QString bibliography = m_folder->makeBibliography(QStringLiteral("killed.pyr"));
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--extract-slowly"), bibliography});
        QVERIFY(child.waitForStarted());
        int committed = 0;
        while (committed < 5 && child.waitForReadyRead(5000)) {
            while (child.canReadLine())
                committed = QString::fromUtf8(child.readLine()).section(QLatin1Char(' '), 1).toInt();
        }
        child.kill();
        child.waitForFinished();
        QVERIFY(committed >= 5);
        const auto rows = readRows(bibliography, Columns);
        QVERIFY(rows.size() >= std::size_t(committed) && rows.size() < 200);
        for (std::size_t i = 0; i < rows.size(); ++i)
            QCOMPARE(rows[i],
                QStringList({QStringLiteral("T%1").arg(i + 1), "Ann", "2001", QStringLiteral("T%1").arg(i + 1)}));
        QCOMPARE(
            readRows(bibliography, QStringLiteral("PRAGMA integrity_check")).front().front(), QStringLiteral("ok"));
    }

    void readyMadeLabelSetsCutTheirFormats_data()
    {
        QTest::addColumn<QString>("set");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("firstField");
        QTest::addColumn<QString>("failed");
        QTest::addColumn<QStringList>("first"); // the nine fields of the first record
        row("MEDLINE", u"MEDLINE (PubMed)"_s, "medline.txt", int(Publishing_year), "  5  6  7  8",
            QStringList{"Soil organic carbon under long-term grassland and arable use in\n"
                        "      southern Sweden.",
                "Berg A\nAD  - Department of Soil and Environment, Agricultural University, "
                "Uppsala,\n      Sweden.\nFAU - Lund, Karl\nAU  - Lund K",
                EmptyFieldMarker, "Journal of soil ecology", "2019 Feb",
                "9100101\nSB  - IM\nMH  - Agriculture\nMH  - Carbon/*analysis\nMH  - "
                "*Grassland\nMH  - Soil/*chemistry",
                "Journal Article", EmptyFieldMarker,
                "Soil organic carbon was measured on forty paired plots under grassland and\n"
                "      arable use. Grassland plots held on average 18% more carbon in the "
                "upper\n      30 cm."});
        row("ISI tagged", u"ISI tagged (Web of Science)"_s, "isi.txt", int(Publication_type), "  4  5  6",
            QStringList{"Soil organic carbon under long-term grassland and arable use in "
                        "southern\n   Sweden",
                "Berg, Anna\n   Lund, Karl",
                "[Berg, Anna; Lund, Karl] Agr Univ, Dept Soil & Environm, Uppsala, Sweden.", "JOURNAL OF SOIL ECOLOGY",
                "2019", "soil organic carbon; grassland; land use\nID MATTER; NITROGEN; STOCKS", "J", "English",
                "Soil organic carbon was measured on forty paired plots under grassland "
                "and arable use. Grassland plots held on average 18% more carbon in the "
                "upper 30 cm."});
        row("RIS", u"RIS"_s, "ris.txt", int(Publication_type), "  4  5",
            QStringList{"Soil organic carbon under long-term grassland and arable use in southern "
                        "Sweden",
                "Berg, Anna\nAU  - Lund, Karl", EmptyFieldMarker, "Journal of Soil Ecology", "2019", EmptyFieldMarker,
                "JOUR", EmptyFieldMarker, EmptyFieldMarker});
    }
    void readyMadeLabelSetsCutTheirFormats()
    {
        QFETCH(QString, set);
        QFETCH(QString, file);
        QFETCH(int, firstField);
        QFETCH(QString, failed);
        QFETCH(QStringList, first);
        ScriptedPrompts prompts;
        const auto labels = LabelSetStore(prompts, builtProgramFolder() + u"/VarEdoAbb"_s).load(set);
        QVERIFY(labels);
        ExtractionSetup setup{labels->startLabels, labels->endLabels, firstField, QStringLiteral("Soil")};
        const QString text = loadTextFile(QStringLiteral(PAPYRANT_SOURCE_DIR "/tests/entry/data/") + file).text;
        // The same export with Windows line breaks cuts the same records.
        for (const QString& variant : {text, QString(text).replace(QLatin1Char('\n'), QStringLiteral("\r\n"))}) {
            const Outcome outcome = extract(*m_folder, variant, setup, 0,
                u"SELECT Title, Authors, Author_address, Source, Publishing_year, Keywords, Publication_type, "
                "Language, Abstract FROM Abstracts ORDER BY rowid"_s);
            QCOMPARE(outcome.state.FailedNumbers, failed);
            QCOMPARE(outcome.rows.front().join(u'|').replace(u"\r\n"_s, u"\n"_s), first.join(u'|'));
        }
    }

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
        const LoadedText loaded = loadTextFile(writeFileBytes(m_folder->filePath(QStringLiteral("export.txt")), bytes));
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
                const LoadedText loaded
                    = loadTextFile(writeFileBytes(m_folder->filePath(QStringLiteral("big.txt")), bytes));
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
        QFile file(m_folder->filePath(QStringLiteral("export.txt")));
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

    void init()
    {
        m_prompts.reset();
        m_folder.reset();
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_folder = std::make_unique<TestProgramFolder>();
        m_path = m_folder->filePath(u"VarEdoAbb"_s);
        OtherConnection(m_path, "DELETE FROM abbreviations"); // empty, as a labels file may ship
    }

    void savedSetLoadsBackExactly()
    {
        saveAs(u"Crohn's set"_s, u"K"_s);
        saveAs(u"Another"_s, u"A"_s);
        QCOMPARE(
            describe(m_prompts->asked().front()), "New abbreviations|Please type the new abbreviations name|input:");
        QCOMPARE(names(), QStringList({"Crohn's set", "Another"}));
        const auto set = store().load(u"crohn's SET"_s); // the store ignores letter case
        QVERIFY(set);
        QCOMPARE(set->startLabels, labels(u"K"_s)); // blanks, line feeds, empty boxes kept
        QCOMPARE(set->endLabels, labels(u"Ke"_s));
        QCOMPARE(readLines(m_path, u"SELECT Title1, keyW2, PT1 FROM abbreviations"_s).front(), "\nK  - ||K6 ");
    }

    void savingOverAnotherLetterCaseAsks()
    {
        saveAs(u"Medline"_s, u"old"_s);
        m_prompts->clear();
        m_prompts->answerInput(u"MEDLINE"_s);
        m_prompts->answerMessage(PromptButton::No);
        m_prompts->answerInput(u"MEDLINE"_s);
        m_prompts->answerMessage(PromptButton::Yes);
        QCOMPARE(store().save(labels(u"new"_s), labels(u"new"_s)).name, "MEDLINE");
        const QString overwrite = u"Papyrant|You already have abbreviations called MEDLINE\n do you want to overwrite "
                                  "it?|YesNo/Exclamation/Yes"_s;
        // No shows the typed name again.
        QCOMPARE(m_prompts->described(),
            (QStringList{"New abbreviations|Please type the new abbreviations name|input:", overwrite,
                "New abbreviations|Please type the new abbreviations name|input:MEDLINE", overwrite}));
        QCOMPARE(names(), QStringList{"MEDLINE"});
        QCOMPARE(store().load(u"medline"_s)->startLabels, labels(u"new"_s));
        // No, then an empty answer: nothing is written.
        m_prompts->answerInput(u"medline"_s);
        m_prompts->answerMessage(PromptButton::No);
        m_prompts->answerInput(QString());
        QCOMPARE(store().save(labels(u"x"_s), labels(u"x"_s)).result, LabelChange::Declined);
        QCOMPARE(store().load(u"MEDLINE"_s)->startLabels, labels(u"new"_s));
    }

    void deleteAsksFirst()
    {
        saveAs(u"Crohn's set"_s, u"K"_s);
        m_prompts->answerMessage(PromptButton::No);
        QCOMPARE(store().remove(u"Crohn's set"_s).result, LabelChange::Declined);
        QCOMPARE(describe(m_prompts->asked().back()),
            "Delete Labels|You are going to delete Crohn's set Labels.\nAre you sure you want to delete "
            "it?|YesNo/None/Yes");
        m_prompts->answerMessage(PromptButton::Yes);
        QCOMPARE(store().remove(u"Crohn's set"_s).result, LabelChange::Done);
        QVERIFY(names().isEmpty());
    }

    void renameRefusesTakenNames()
    {
        saveAs(u"RIS"_s, u"r"_s);
        saveAs(u"Crohn's set"_s, u"K"_s);
        m_prompts->clear();
        m_prompts->answerInput(u"Crohn's set"_s); // its own name
        m_prompts->answerInput(u"ris"_s);
        m_prompts->answerInput(u"Crohn's disease"_s);
        QCOMPARE(store().rename(u"Crohn's set"_s).name, "Crohn's disease");
        // The old name is proposed each time.
        QCOMPARE(m_prompts->described(),
            (QStringList{"Rename Labels|Please type the new Labels name|input:Crohn's set",
                "Rename Labels|You already have abbreviations called Crohn's set\nPlease type the new Labels "
                "name|input:Crohn's set",
                "Rename Labels|You already have abbreviations called ris\nPlease type the new Labels "
                "name|input:Crohn's "
                "set"}));
        QCOMPARE(names(), QStringList({"RIS", "Crohn's disease"}));
        QCOMPARE(store().load(u"Crohn's disease"_s)->startLabels, labels(u"K"_s));
    }

    void firstFieldIsTheEarliestStartLabel()
    {
        // The ready-made sets as shipped (init emptied this test's copy).
        const auto shipped = [&](const QString& name) {
            return LabelSetStore(*m_prompts, builtProgramFolder() + u"/VarEdoAbb"_s).load(name)->startLabels;
        };
        const QString medline
            = u"\nPMID- 1\nOWN - NLM\nDP  - 2019 Feb\nTI  - Soil\nAB  - x\nFAU - Berg, A\nAU  - Berg A\n"_s;
        QCOMPARE(earliestStartLabelField(shipped(u"MEDLINE (PubMed)"_s), medline), int(Publishing_year));
        QCOMPARE(earliestStartLabelField(shipped(u"RIS"_s), u"TY  - JOUR\nAU  - Berg, A\nTI  - Soil\n"_s),
            int(Publication_type));
        QCOMPARE(earliestStartLabelField(shipped(u"ISI tagged (Web of Science)"_s), u"FN x\nVR 1.0\nPT J\nAU Berg\n"_s),
            int(Publication_type));
        QCOMPARE(earliestStartLabelField(shipped(u"RIS"_s), u"no tags here"_s), -1);
    }

    void vanishedSetIsReportedNotActedOn()
    {
        saveAs(u"Kept"_s, u"k"_s);
        const QByteArray before = readFileBytes(m_path);
        const QString gone = u"The Labels called Gone are no longer in the labels file.\nNothing was changed."_s;
        bool vanished = false;
        QVERIFY(!store().load(u"Gone"_s, &vanished) && vanished);
        expectNotice(gone);
        m_prompts->answerMessage(PromptButton::Yes);
        QCOMPARE(store().remove(u"Gone"_s).result, LabelChange::Vanished);
        expectNotice(gone);
        m_prompts->answerInput(u"New name"_s);
        QCOMPARE(store().rename(u"Gone"_s).result, LabelChange::Vanished);
        expectNotice(gone);
        QCOMPARE(readFileBytes(m_path), before);
    }

    void unusableFileChangesNothing_data()
    {
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QString>("reason");
        row("damaged", u"damaged"_s, "The labels file is damaged.");
        row("wrong table", u"DROP TABLE abbreviations; CREATE TABLE abbreviations (Name TEXT)"_s,
            "The labels file is damaged.");
        row("locked", u"BEGIN EXCLUSIVE"_s, "The labels file is in use by another program.");
        row("missing", u"missing"_s, "The labels file %1 is missing.");
    }
    void unusableFileChangesNothing()
    {
        QFETCH(QString, problem);
        QFETCH(QString, reason);
        saveAs(u"Kept"_s, u"k"_s);
        std::optional<OtherConnection> other;
        if (problem == "damaged") {
            writeFileBytes(m_path, QByteArray(4096, 'x'));
        } else if (problem == "missing") {
            QFile::remove(m_path);
            reason = reason.arg(m_path);
        } else {
            other.emplace(m_path, problem.toUtf8().constData()); // a change of another tool, or its lock
        }
        const QByteArray before = readFileBytes(m_path);
        QVERIFY(!store().load(u"Kept"_s));
        expectNotice("The labels couldn't be read.\n" + reason);
        m_prompts->answerInput(u"Other"_s);
        QCOMPARE(store().save(labels(u"o"_s), labels(u"o"_s)).result, LabelChange::Failed);
        expectNotice("The labels couldn't be saved; the labels file is unchanged.\n" + reason);
        m_prompts->answerMessage(PromptButton::Yes);
        QCOMPARE(store().remove(u"Kept"_s).result, LabelChange::Failed);
        expectNotice("The labels couldn't be deleted; the labels file is unchanged.\n" + reason);
        QCOMPARE(readFileBytes(m_path), before);
    }
};

int main(int argc, char** argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--extract-slowly") == 0)
        return extractSlowly(QString::fromLocal8Bit(argv[2]), 200);
    QCoreApplication app(argc, argv);
    ExtractionRunTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_ExtractionRun.moc"

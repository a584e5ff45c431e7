// The citation writers: field splitting (names, author lists, sources, years, lists,
// publication kinds and citation keys, each from a table of stored values), and the
// writers judged by independent readers: a fixed set of awkward records is
// exported in each format and read back by pandoc (BibTeX, CSL-JSON) and bibutils'
// ris2xml (RIS), which must read every file without a warning and give back the titles,
// authors, years and journals of the records. And the export file: complete files only,
// under the chosen name; a failure at the start or half way leaves no file (and an
// existing file as it was) and says why.

#include "formats/CitationExport.h"
#include "formats/CitationKeys.h"
#include "formats/CitationRecord.h"
#include "formats/FieldSplitting.h"
#include "support/FileSizeLimit.h"
#include "support/IndependentReaders.h"
#include "support/TableRows.h"
#include "support/TestFolders.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace papyrant;

Q_DECLARE_METATYPE(papyrant::PublicationKind)
using papyrant::test::row;

namespace {

// What a reader should give back of a record. Authors are family names, a group's whole name.
struct Awkward {
    RecordValues values;
    QString id;
    test::Citation expected;
};

RecordValues stored(
    const QString& title, const QString& authors, const QString& source, const QString& year, const QString& type)
{
    RecordValues values;
    values.fill(EmptyFieldMarker);
    values[Title] = title;
    values[Authors] = authors;
    values[Source] = source;
    values[Publishing_year] = year;
    values[Publication_type] = type;
    values[Category] = NoCategory;
    return values;
}

QString thirtyAuthors(QStringList& families)
{
    QStringList names;
    for (int i = 0; i < 30; ++i) {
        families << QStringLiteral("Smith") + QChar(u'a' + i / 26) + QChar(u'a' + i % 26);
        names << families.back() + QStringLiteral(" JA");
    }
    return names.join(QStringLiteral("; "));
}

std::vector<Awkward> awkwardRecords()
{
    const QString hostile = QStringLiteral(R"(Gene therapy: 50% of #1 $5 & a_b {x} ~ ^ \ "quoted" it's -- in Germany)");
    std::vector<Awkward> records;
    records.push_back({stored(hostile, QStringLiteral("Müller, Karl; Łukasiewicz J\r\n张伟; World Health Organization"),
                           QStringLiteral("Bioinformatics. 2006 Mar 1;22(5):606-7"), QStringLiteral("2006 Mar"),
                           QStringLiteral("Journal Article")),
        "muller2006gene",
        {hostile, {"Müller", "Łukasiewicz", "张伟", "World Health Organization"}, "2006", "Bioinformatics"}});
    RecordValues& first = records.back().values;
    first[Keywords] = QStringLiteral("gene therapy; Neoplasms, Experimental");
    first[Abstract] = QStringLiteral("Line one\r\nline two: 100% & ~ {unbalanced");
    first[Personal] = QStringLiteral("read \\again\\ {soon}");
    first[Author_address] = QStringLiteral("Dept. of Genes, Univ. of Y");
    first[Language] = QStringLiteral("English");
    QStringList families;
    const QString many = thirtyAuthors(families);
    records.push_back(
        {stored(QStringLiteral("The gene map of mice"), many, QStringLiteral("Journal of Genes 22(5): 606-607"),
             QStringLiteral("2001"), QStringLiteral("JOUR")),
            "smithaa2001gene", {"The gene map of mice", families, "2001", "Journal of Genes"}});
    records.push_back(
        {stored(QStringLiteral("The gene map of rats"), QStringLiteral("Smithaa, John"),
             QStringLiteral("Journal of Genes 23: 1-9"), QStringLiteral("2001"), QStringLiteral("Journal Article")),
            "smithaa2001genea", {"The gene map of rats", {"Smithaa"}, "2001", "Journal of Genes"}});
    records.push_back({stored(QStringLiteral("mRNA levels in p53 cells of the Ærø population"),
                           QStringLiteral("Cancer Genome Atlas Research Network"),
                           QStringLiteral("Oxford University Press, Oxford"), EmptyFieldMarker, QStringLiteral("Book")),
        "cancermrna",
        {"mRNA levels in p53 cells of the Ærø population", {"Cancer Genome Atlas Research Network"}, "",
            "Oxford University Press, Oxford"}});
    records.push_back({stored(QStringLiteral("Chapter: on {braces} and \\commands like \\emph{x}"),
                           QStringLiteral("O'Brien S; van Gogh V"),
                           QStringLiteral("Handbook of Genes, vol 3, pp 10-20"), QStringLiteral("1999"),
                           QStringLiteral("Book Section")),
        "obrien1999chapter",
        {"Chapter: on {braces} and \\commands like \\emph{x}", {"O'Brien", "van Gogh"}, "1999", "Handbook of Genes"}});
    records.push_back({stored(QStringLiteral("基因治疗 and Ürün_2"), EmptyFieldMarker, EmptyFieldMarker,
                           QStringLiteral("1987"), QStringLiteral("Letter")),
        "anon1987urun", {"基因治疗 and Ürün_2", {}, "1987", ""}});
    return records;
}

struct Run {
    QByteArray out;
    QByteArray err;
    int exitCode = -1;
};

Run runReader(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return {process.readAllStandardOutput(), process.readAllStandardError(), process.exitCode()};
}

// TeX and CSL read straight quotes as quotation marks and give them back typeset.
QString straightQuotes(QString text)
{
    return text.replace(QChar(0x2018), u'\'')
        .replace(QChar(0x2019), u'\'')
        .replace(QChar(0x201C), u'"')
        .replace(QChar(0x201D), u'"');
}

// pandoc keeps "van" of "van Gogh" as a particle; the family name is both together.
QString cslFamily(const QJsonObject& name)
{
    if (name.contains(QStringLiteral("literal")))
        return name.value(QStringLiteral("literal")).toString();
    QStringList parts;
    for (const char* part : {"dropping-particle", "non-dropping-particle", "family"}) {
        if (name.contains(QLatin1StringView(part)))
            parts << name.value(QLatin1StringView(part)).toString();
    }
    return straightQuotes(parts.join(u' '));
}

// pandoc's CSL JSON: the records, and their keys in `ids`.
std::vector<test::Citation> readCslJson(const QByteArray& json, QStringList& ids)
{
    std::vector<test::Citation> records;
    for (const QJsonValue& value : QJsonDocument::fromJson(json).array()) {
        const QJsonObject item = value.toObject();
        ids << item.value(QStringLiteral("id")).toString();
        test::Citation record;
        record.title = straightQuotes(item.value(QStringLiteral("title")).toString());
        for (const QJsonValue& name : item.value(QStringLiteral("author")).toArray())
            record.authors << cslFamily(name.toObject());
        const QJsonValue year = item.value(QStringLiteral("issued"))[QStringLiteral("date-parts")][0][0];
        record.year = year.isUndefined() ? QString() : year.toVariant().toString();
        record.journal = item.value(QStringLiteral("container-title")).toString();
        records.push_back(record);
    }
    return records;
}

RecordValues longRecord(int number)
{
    RecordValues values;
    values.fill(EmptyFieldMarker);
    values[Title] = QStringLiteral("Record %1").arg(number);
    values[Abstract] = QString(2000, u'x');
    return values;
}


// A name as "family|given" or "=literal", so a table row reads at a glance.
QString shown(const PersonName& name)
{
    return name.isLiteral() ? u'=' + name.literal : name.family + u'|' + name.given;
}

} // namespace

class CitationWritersTest : public QObject {
    Q_OBJECT
private slots:
    void authors_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("names");
        row("family, given", "Müller, Karl", QStringList{"Müller|Karl"});
        row("family initials", "Łukasiewicz J", QStringList{"Łukasiewicz|J."});
        row("initials get dots", "Smith JA; Smith, JA", QStringList{"Smith|J. A.", "Smith|J. A."});
        row("chinese name whole", "张伟", QStringList{"=张伟"});
        row("group", "World Health Organization", QStringList{"=World Health Organization"});
        row("suffix keeps it whole", "Smith JA III", QStringList{"=Smith JA III"});
        row("semicolons and line breaks", "Müller, Karl; Smith JA\r\nWHO Study Group;\n\n张伟",
            QStringList{"Müller|Karl", "Smith|J. A.", "=WHO Study Group", "=张伟"});
        row("comma list of MEDLINE names", "Smith JA, Müller K, van der Berg J",
            QStringList{"Smith|J. A.", "Müller|K.", "van der Berg|J."});
        row("empty marker", "XX_EmptyField_XX", QStringList{});
    }
    void authors()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, names);
        QStringList split;
        for (const PersonName& name : splitAuthors(stored))
            split << shown(name);
        QCOMPARE(split, names);
    }

    void sources_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("parts"); // journal, volume, issue, first page, last page
        row("medline", "Bioinformatics. 2006 Mar 1;22(5):606-7",
            QStringList{"Bioinformatics", "22", "5", "606", "607"});
        row("medline with doi", "J Biol Chem. 2006;281(3):1200-12. doi: 10.1074/jbc.x. Epub 2005",
            QStringList{"J Biol Chem", "281", "3", "1200", "1212"});
        row("colon", "Journal of Genes 22(5): 606-607", QStringList{"Journal of Genes", "22", "5", "606", "607"});
        row("vol, no and pp.", "IEEE Trans. Med. Imaging, Vol. 22, No. 5, pp. 606-7.",
            QStringList{"IEEE Trans. Med. Imaging", "22", "5", "606", "607"});
        row("unshaped", "Nature 12", QStringList{"Nature 12", "", "", "", ""});
        row("publisher", "Oxford University Press, Oxford",
            QStringList{"Oxford University Press, Oxford", "", "", "", ""});
        row("empty marker", "XX_EmptyField_XX", QStringList{"", "", "", "", ""});
    }
    void sources()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, parts);
        const SourceParts split = splitSource(stored);
        QCOMPARE((QStringList{split.journal, split.volume, split.issue, split.firstPage, split.lastPage}), parts);
    }

    void years_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("year");
        row("plain", "2006", "2006");
        row("with month", "2006 Mar 1", "2006");
        row("five digits are no year", "12345 or 2001", "2001");
        row("none", "n.d.", "");
        row("empty marker", "XX_EmptyField_XX", "");
    }
    void years()
    {
        QFETCH(QString, stored);
        QFETCH(QString, year);
        QCOMPARE(yearOf(stored), year);
    }

    void lists_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("items");
        row("semicolons", "gene therapy; Neoplasms, Experimental;mice",
            QStringList{"gene therapy", "Neoplasms, Experimental;mice"});
        row("line breaks", " a \r\nb\n\nc; ", QStringList{"a", "b", "c"});
        row("empty marker", "XX_EmptyField_XX", QStringList{});
    }
    void lists()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, items);
        QCOMPARE(splitList(stored), items);
    }

    void kinds_data()
    {
        QTest::addColumn<QString>("types");
        QTest::addColumn<PublicationKind>("kind");
        row("journal article", "Journal Article", PublicationKind::JournalArticle);
        row("first known type wins", "Review; BOOK SECTION; Book", PublicationKind::Chapter);
        row("proceedings", "Proceedings", PublicationKind::Conference);
        row("unknown", "Letter\nEditorial", PublicationKind::Other);
        row("empty marker", "XX_EmptyField_XX", PublicationKind::Other);
    }
    void kinds()
    {
        QFETCH(QString, types);
        QFETCH(PublicationKind, kind);
        QCOMPARE(publicationKind(splitList(types)), kind);
    }

    void keys_data()
    {
        QTest::addColumn<QString>("authors");
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("key");
        row("accents dropped", "Müller, Karl", "2006", "Gene therapy", "muller2006gene");
        row("letters spelled", "Łukasiewicz J; Groß A", "1920", "Ærø", "lukasiewicz1920aero");
        row("function words skipped", "Smith JA", "2001", "The «A» of the genome", "smith2001genome");
        row("group by first word", "World Health Organization", "", "Report", "worldreport");
        row("no ascii author", "张伟", "2010", "基因 therapy", "anon2010therapy");
        row("nothing", "XX_EmptyField_XX", "XX_EmptyField_XX", "XX_EmptyField_XX", "anon");
    }
    void keys()
    {
        QFETCH(QString, authors);
        QFETCH(QString, year);
        QFETCH(QString, title);
        QFETCH(QString, key);
        RecordValues values;
        values.fill(EmptyFieldMarker);
        values[Authors] = authors;
        values[Publishing_year] = year;
        values[Title] = title;
        QCOMPARE(baseCitationKey(citationRecord(values)), key);
    }

    void keysAreUniqueInAFile()
    {
        RecordValues values;
        values.fill(EmptyFieldMarker);
        values[Authors] = QStringLiteral("Smith JA");
        values[Publishing_year] = QStringLiteral("2001");
        values[Title] = QStringLiteral("Gene");
        CitationKeys keys;
        QStringList given;
        for (int i = 0; i < 28; ++i)
            given << keys.next(citationRecord(values));
        values[Title] = QStringLiteral("Genea"); // its own base is taken already
        given << keys.next(citationRecord(values));
        QCOMPARE(given.mid(0, 3), (QStringList{"smith2001gene", "smith2001genea", "smith2001geneb"}));
        // After z comes aa; the other base skips the key the first one took.
        QCOMPARE(given.mid(26, 3), (QStringList{"smith2001genez", "smith2001geneaa", "smith2001geneab"}));
    }

    void init() { m_folder.emplace(); }

    void risReadByBibutils()
    {
        const QString path = exported(CitationFormat::Ris, QStringLiteral("records.ris"));
        const QByteArray bytes = test::readFileBytes(path);
        QVERIFY(bytes.startsWith("TY  - JOUR\r\n"));
        QVERIFY(bytes.endsWith("ER  - \r\n"));
        QCOMPARE(bytes.count("\r\n\r\nTY  - "), qsizetype(awkwardRecords().size() - 1));
        QVERIFY(!bytes.contains("\n\n") && !bytes.contains("\r\r"));
        const Run run = runReader(QStringLiteral("ris2xml"), {path});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err.trimmed(), QByteArrayLiteral("ris2xml: Processed 6 references."));
        compare(test::readMods(run.out));
        // The first record's key words, volume, issue and pages came through as well.
        QVERIFY(run.out.contains("<topic>Neoplasms, Experimental</topic>"));
        QVERIFY(run.out.contains("<detail type=\"volume\"><number>22</number></detail>"));
        QVERIFY(run.out.contains("<start>606</start>\n            <end>607</end>"));
    }

    void bibTexReadByPandoc()
    {
        const QString path = exported(CitationFormat::BibTex, QStringLiteral("records.bib"));
        const Run run = runReader(QStringLiteral("pandoc"), {"-f", "bibtex", "-t", "csljson", path});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QByteArray());
        QStringList ids;
        compare(readCslJson(run.out, ids), ids);
        const QJsonObject first = QJsonDocument::fromJson(run.out).array().at(0).toObject();
        QCOMPARE(first.value(QStringLiteral("page")).toString(), QStringLiteral("606-607"));
        QCOMPARE(first.value(QStringLiteral("note")).toString(), QStringLiteral("read \\again\\ {soon}"));
        QCOMPARE(first.value(QStringLiteral("abstract")).toString(),
            QStringLiteral("Line one line two: 100% & ~ {unbalanced"));
        QVERIFY(!first.contains(QStringLiteral("publisher-place"))); // the address is no publisher's
    }

    void cslJsonReadByPandoc()
    {
        const QString path = exported(CitationFormat::CslJson, QStringLiteral("records.json"));
        QJsonParseError error;
        QCOMPARE(QJsonDocument::fromJson(test::readFileBytes(path), &error).array().size(),
            qsizetype(awkwardRecords().size()));
        QCOMPARE(error.error, QJsonParseError::NoError);
        const Run run = runReader(QStringLiteral("pandoc"), {"-f", "csljson", "-t", "csljson", path});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QByteArray());
        QStringList ids;
        compare(readCslJson(run.out, ids), ids);
        const QJsonObject first = QJsonDocument::fromJson(run.out).array().at(0).toObject();
        QCOMPARE(first.value(QStringLiteral("abstract")).toString(),
            QStringLiteral("Line one line two: 100% & ~ {unbalanced"));
        QCOMPARE(
            first.value(QStringLiteral("keyword")).toString(), QStringLiteral("gene therapy, Neoplasms, Experimental"));
    }

    void oneCitationIsOneEntry()
    {
        const QString text = citationText(CitationFormat::BibTex, awkwardRecords().front().values);
        QVERIFY(text.startsWith(QStringLiteral("@article{muller2006gene,\n  author = {Müller, Karl and")));
        QVERIFY(text.endsWith(QStringLiteral("\n}\n")));
    }

    void completeFileReplacesTheOldOne()
    {
        const QString path = m_folder->filePath(QStringLiteral("out.bib"));
        test::writeFileBytes(path, "old");
        CitationExport file(CitationFormat::BibTex, path);
        QCOMPARE(file.start(), std::nullopt);
        QVERIFY(file.write(longRecord(1)) && file.write(longRecord(2)));
        QCOMPARE(test::readFileBytes(path), QByteArray("old")); // nothing shows before the end
        QCOMPARE(file.finish(), std::nullopt);
        QCOMPARE(file.recordsWritten(), 2);
        QCOMPARE(test::readFileBytes(path).count("@misc{anon"), qsizetype(2));
        QCOMPARE(entries(), QStringList{"out.bib"});
    }

    void failureHalfWayLeavesNoFile_data()
    {
        QTest::addColumn<bool>("existing");
        row("new file", false);
        row("replacing a file", true);
    }
    void failureHalfWayLeavesNoFile()
    {
        QFETCH(bool, existing);
        const QString path = m_folder->filePath(QStringLiteral("out.ris"));
        if (existing)
            test::writeFileBytes(path, "old");
        CitationExport file(CitationFormat::Ris, path);
        std::optional<QString> failure;
        {
            const test::FileSizeLimit limit(64 * 1024);
            QCOMPARE(file.start(), std::nullopt);
            int written = 0;
            while (written < 1000 && file.write(longRecord(written)))
                ++written;
            QVERIFY2(written < 1000, "the size limit stopped no write");
            failure = file.finish();
        }
        QCOMPARE(failure.value_or(QStringLiteral("(none)")), QStringLiteral("File too large"));
        QCOMPARE(file.failure(), QStringLiteral("File too large"));
        QCOMPARE(entries(), existing ? QStringList{"out.ris"} : QStringList{});
        if (existing)
            QCOMPARE(test::readFileBytes(path), QByteArray("old"));
    }

    void unwritablePlacesAreRefused_data()
    {
        QTest::addColumn<QString>("leaf");
        QTest::addColumn<QString>("reason");
        row("folder is a file", "plain/out.json", "Not a directory");
        row("read-only file", "plain", "Permission denied");
    }
    void unwritablePlacesAreRefused()
    {
        QFETCH(QString, leaf);
        QFETCH(QString, reason);
        const QString plain = m_folder->filePath(QStringLiteral("plain"));
        QVERIFY(QFile::setPermissions(test::writeFileBytes(plain, "kept"), QFile::ReadOwner | QFile::ReadGroup));
        CitationExport out(CitationFormat::CslJson, m_folder->filePath(leaf));
        QVERIFY(out.start().value_or(QString()).contains(reason));
        QVERIFY(!out.write(longRecord(1)));
        QVERIFY(out.finish().has_value());
        QCOMPARE(entries(), QStringList{"plain"});
        QCOMPARE(test::readFileBytes(plain), QByteArray("kept"));
    }

    void abandonedExportLeavesNothing()
    {
        {
            CitationExport file(CitationFormat::CslJson, m_folder->filePath(QStringLiteral("out.json")));
            QCOMPARE(file.start(), std::nullopt);
            QVERIFY(file.write(longRecord(1)));
        }
        QCOMPARE(entries(), QStringList{});
    }

private:
    QStringList entries() const { return QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden | QDir::System); }

    QString exported(CitationFormat format, const QString& name)
    {
        const QString path = m_folder->filePath(name);
        CitationExport file(format, path);
        if (const auto failure = file.start())
            qFatal("cannot start %s: %s", qPrintable(path), qPrintable(*failure));
        for (const Awkward& record : awkwardRecords())
            file.write(record.values);
        if (const auto failure = file.finish())
            qFatal("cannot finish %s: %s", qPrintable(path), qPrintable(*failure));
        return path;
    }

    // The records as a reader gave them back, with their keys where the format has them.
    static void compare(const std::vector<test::Citation>& read, const QStringList& ids = {})
    {
        const std::vector<Awkward> records = awkwardRecords();
        QCOMPARE(read.size(), records.size());
        for (std::size_t i = 0; i < records.size(); ++i) {
            const test::Citation& expected = records[i].expected;
            if (!ids.isEmpty())
                QCOMPARE(ids[i], records[i].id);
            QCOMPARE(read[i].title, expected.title);
            QCOMPARE(read[i].authors.size(), expected.authors.size());
            for (qsizetype a = 0; a < expected.authors.size(); ++a) {
                if (read[i].wholeNames.value(a) != expected.authors[a])
                    QCOMPARE(read[i].authors[a], expected.authors[a]);
            }
            QCOMPARE(read[i].year, expected.year);
            QCOMPARE(read[i].journal, expected.journal);
        }
    }

    std::optional<QTemporaryDir> m_folder;
};

QTEST_GUILESS_MAIN(CitationWritersTest)
#include "tst_CitationWriters.moc"

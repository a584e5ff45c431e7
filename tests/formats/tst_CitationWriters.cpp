// The citation writers judged by independent readers: a fixed set of awkward records is
// exported in each format and read back by pandoc (BibTeX, CSL-JSON) and bibutils'
// ris2xml (RIS), which must read every file without a warning and give back the titles,
// authors, years and journals of the records.

#include "formats/CitationExport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace papyrant;

namespace {

// What a reader gives back of a record. Authors are family names, a group's whole name.
struct ReadBack {
    QString id;
    QString title;
    QStringList authors;
    QString year;
    QString journal;
    QStringList wholeNames = {}; // MODS: every part of each name, for groups it cut up as persons
};

struct Awkward {
    RecordValues values;
    ReadBack expected;
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
        {"muller2006gene", hostile, {"Müller", "Łukasiewicz", "张伟", "World Health Organization"}, "2006",
            "Bioinformatics"}});
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
            {"smithaa2001gene", "The gene map of mice", families, "2001", "Journal of Genes"}});
    records.push_back(
        {stored(QStringLiteral("The gene map of rats"), QStringLiteral("Smithaa, John"),
             QStringLiteral("Journal of Genes 23: 1-9"), QStringLiteral("2001"), QStringLiteral("Journal Article")),
            {"smithaa2001genea", "The gene map of rats", {"Smithaa"}, "2001", "Journal of Genes"}});
    records.push_back({stored(QStringLiteral("mRNA levels in p53 cells of the Ærø population"),
                           QStringLiteral("Cancer Genome Atlas Research Network"),
                           QStringLiteral("Oxford University Press, Oxford"), EmptyFieldMarker, QStringLiteral("Book")),
        {"cancermrna", "mRNA levels in p53 cells of the Ærø population", {"Cancer Genome Atlas Research Network"}, "",
            "Oxford University Press, Oxford"}});
    records.push_back(
        {stored(QStringLiteral("Chapter: on {braces} and \\commands like \\emph{x}"),
             QStringLiteral("O'Brien S; van Gogh V"), QStringLiteral("Handbook of Genes, vol 3, pp 10-20"),
             QStringLiteral("1999"), QStringLiteral("Book Section")),
            {"obrien1999chapter", "Chapter: on {braces} and \\commands like \\emph{x}", {"O'Brien", "van Gogh"}, "1999",
                "Handbook of Genes"}});
    records.push_back({stored(QStringLiteral("基因治疗 and Ürün_2"), EmptyFieldMarker, EmptyFieldMarker,
                           QStringLiteral("1987"), QStringLiteral("Letter")),
        {"anon1987urun", "基因治疗 and Ürün_2", {}, "1987", ""}});
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

std::vector<ReadBack> readCslJson(const QByteArray& json)
{
    std::vector<ReadBack> records;
    for (const QJsonValue& value : QJsonDocument::fromJson(json).array()) {
        const QJsonObject item = value.toObject();
        ReadBack record;
        record.id = item.value(QStringLiteral("id")).toString();
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

// MODS as ris2xml writes it: the record's own title and subtitle (bibutils cuts titles
// at their colon), names of name parts, the year issued, and the host's title.
std::vector<ReadBack> readMods(const QByteArray& xml)
{
    std::vector<ReadBack> records;
    QXmlStreamReader reader(xml);
    QStringList path; // below modsCollection
    QString subTitle;
    QStringList nameParts;
    QString family;
    // The text of the element just started; its end is then read as well.
    auto text = [&] {
        path.removeLast();
        return reader.readElementText();
    };
    while (reader.readNextStartElement() || !reader.atEnd()) {
        if (reader.isEndElement()) {
            const QString where = path.join(u'/');
            if (where == QLatin1StringView("mods/name")) {
                records.back().authors << (family.isEmpty() ? nameParts.join(u' ') : family);
                records.back().wholeNames << nameParts.join(u' ');
            } else if (where == QLatin1StringView("mods/titleInfo") && !subTitle.isEmpty()) {
                records.back().title += QStringLiteral(": ") + subTitle;
            }
            if (!path.isEmpty())
                path.removeLast();
            continue;
        }
        if (!reader.isStartElement())
            continue;
        const QString name = reader.name().toString();
        if (name == QLatin1StringView("modsCollection"))
            continue;
        path << name;
        const QString where = path.join(u'/');
        if (where == QLatin1StringView("mods")) {
            records.push_back({});
            subTitle.clear();
        } else if (where == QLatin1StringView("mods/name")) {
            nameParts.clear();
            family.clear();
        } else if (where == QLatin1StringView("mods/name/namePart")) {
            const bool isFamily = reader.attributes().value(QStringLiteral("type")) == QLatin1StringView("family");
            nameParts << text();
            if (isFamily)
                family = nameParts.back();
        } else if (where == QLatin1StringView("mods/titleInfo/title")) {
            records.back().title = text();
        } else if (where == QLatin1StringView("mods/titleInfo/subTitle")) {
            subTitle = text();
        } else if (where == QLatin1StringView("mods/originInfo/dateIssued")) {
            records.back().year = text();
        } else if (where.startsWith(QLatin1StringView("mods/relatedItem")) && name == QLatin1StringView("title")) {
            const QString title = text();
            if (records.back().journal.isEmpty())
                records.back().journal = title;
        }
    }
    return records;
}

} // namespace

class CitationWritersTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(m_folder.isValid()); }

    void risReadByBibutils()
    {
        const QString path = exported(CitationFormat::Ris, QStringLiteral("records.ris"));
        const QByteArray bytes = readAll(path);
        QVERIFY(bytes.startsWith("TY  - JOUR\r\n"));
        QVERIFY(bytes.endsWith("ER  - \r\n"));
        QCOMPARE(bytes.count("\r\n\r\nTY  - "), qsizetype(awkwardRecords().size() - 1));
        QVERIFY(!bytes.contains("\n\n") && !bytes.contains("\r\r"));
        const Run run = runReader(QStringLiteral("ris2xml"), {path});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err.trimmed(), QByteArrayLiteral("ris2xml: Processed 6 references."));
        compare(readMods(run.out), false);
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
        compare(readCslJson(run.out), true);
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
        QCOMPARE(QJsonDocument::fromJson(readAll(path), &error).array().size(), qsizetype(awkwardRecords().size()));
        QCOMPARE(error.error, QJsonParseError::NoError);
        const Run run = runReader(QStringLiteral("pandoc"), {"-f", "csljson", "-t", "csljson", path});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QByteArray());
        compare(readCslJson(run.out), true);
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

private:
    QString exported(CitationFormat format, const QString& name)
    {
        const QString path = m_folder.filePath(name);
        CitationExport file(format, path);
        if (const auto failure = file.start())
            qFatal("cannot start %s: %s", qPrintable(path), qPrintable(*failure));
        for (const Awkward& record : awkwardRecords())
            file.write(record.values);
        if (const auto failure = file.finish())
            qFatal("cannot finish %s: %s", qPrintable(path), qPrintable(*failure));
        return path;
    }

    static QByteArray readAll(const QString& path)
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    static void compare(const std::vector<ReadBack>& read, bool withKeys)
    {
        const std::vector<Awkward> records = awkwardRecords();
        QCOMPARE(read.size(), records.size());
        for (std::size_t i = 0; i < records.size(); ++i) {
            const ReadBack& expected = records[i].expected;
            if (withKeys)
                QCOMPARE(read[i].id, expected.id);
            QCOMPARE(read[i].title, expected.title);
            QCOMPARE(read[i].authors.size(), expected.authors.size());
            for (qsizetype a = 0; a < expected.authors.size(); ++a) {
                const bool whole = !read[i].wholeNames.isEmpty() && read[i].wholeNames[a] == expected.authors[a];
                if (!whole)
                    QCOMPARE(read[i].authors[a], expected.authors[a]);
            }
            QCOMPARE(read[i].year, expected.year);
            QCOMPARE(read[i].journal, expected.journal);
        }
    }

    QTemporaryDir m_folder;
};

QTEST_GUILESS_MAIN(CitationWritersTest)
#include "tst_CitationWriters.moc"

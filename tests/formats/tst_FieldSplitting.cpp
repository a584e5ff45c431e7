// Field splitting of the citation writers: names, author lists, sources, years, lists,
// publication kinds and citation keys, each from a table of stored values.

#include "formats/CitationKeys.h"
#include "formats/CitationRecord.h"
#include "formats/FieldSplitting.h"
#include "support/TableRows.h"

#include <QTest>

using namespace papyrant;
using papyrant::test::row;

Q_DECLARE_METATYPE(papyrant::PublicationKind)

namespace {

// A name as "family|given" or "=literal", so a table row reads at a glance.
QString shown(const PersonName& name)
{
    return name.isLiteral() ? u'=' + name.literal : name.family + u'|' + name.given;
}

} // namespace

class FieldSplittingTest : public QObject {
    Q_OBJECT
private slots:
    void authors_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("names");
        row("family, given", "Müller, Karl", QStringList{"Müller|Karl"});
        row("family initials", "Łukasiewicz J", QStringList{"Łukasiewicz|J."});
        row("initials get dots", "Smith JA; Smith, JA", QStringList{"Smith|J. A.", "Smith|J. A."});
        row("particles", "van der Berg J", QStringList{"van der Berg|J."});
        row("chinese name whole", "张伟", QStringList{"=张伟"});
        row("group", "World Health Organization", QStringList{"=World Health Organization"});
        row("given family order is no shape", "Karl Müller", QStringList{"=Karl Müller"});
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
        row("medline supplement", "Gut. 2001 Jun;48 Suppl 1(2):S12-5",
            QStringList{"Gut", "48 Suppl 1", "2", "S12", "S15"});
        row("colon", "Journal of Genes 22(5): 606-607", QStringList{"Journal of Genes", "22", "5", "606", "607"});
        row("vol and pp", "Journal of Genes, vol 22, pp 606-607",
            QStringList{"Journal of Genes", "22", "", "606", "607"});
        row("vol, no and pp.", "IEEE Trans. Med. Imaging, Vol. 22, No. 5, pp. 606-7.",
            QStringList{"IEEE Trans. Med. Imaging", "22", "5", "606", "607"});
        row("unshaped", "Nature 12", QStringList{"Nature 12", "", "", "", ""});
        row("publisher", "Oxford University Press, Oxford",
            QStringList{"Oxford University Press, Oxford", "", "", "", ""});
        row("line breaks", "Gut.\r\n2001;48:1-2", QStringList{"Gut", "48", "", "1", "2"});
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
        row("range", "1999-2000", "1999");
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
};

QTEST_GUILESS_MAIN(FieldSplittingTest)
#include "tst_FieldSplitting.moc"
